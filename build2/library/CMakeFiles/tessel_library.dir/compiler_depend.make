# Empty compiler generated dependencies file for tessel_library.
# This may be replaced when dependencies are built.
