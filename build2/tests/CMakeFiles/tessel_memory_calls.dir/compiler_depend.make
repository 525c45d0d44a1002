# Empty compiler generated dependencies file for tessel_memory_calls.
# This may be replaced when dependencies are built.
