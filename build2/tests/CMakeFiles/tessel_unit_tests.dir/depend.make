# Empty dependencies file for tessel_unit_tests.
# This may be replaced when dependencies are built.
