# Empty compiler generated dependencies file for tessel_call_loop.
# This may be replaced when dependencies are built.
