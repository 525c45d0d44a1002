# Empty compiler generated dependencies file for png2bmp.
# This may be replaced when dependencies are built.
