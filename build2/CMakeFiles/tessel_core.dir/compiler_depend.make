# Empty compiler generated dependencies file for tessel_core.
# This may be replaced when dependencies are built.
