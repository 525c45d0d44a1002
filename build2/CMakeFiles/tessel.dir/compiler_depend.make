# Empty compiler generated dependencies file for tessel.
# This may be replaced when dependencies are built.
