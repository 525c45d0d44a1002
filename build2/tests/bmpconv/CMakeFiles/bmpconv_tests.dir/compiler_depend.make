# Empty compiler generated dependencies file for bmpconv_tests.
# This may be replaced when dependencies are built.
