# Empty compiler generated dependencies file for tessel-batch.
# This may be replaced when dependencies are built.
