# CMake generated Testfile for 
# Source directory: /work/wt/integ/tests/bmpconv
# Build directory: /work/wt/integ/build2/tests/bmpconv
# 
# This file includes the relevant testing commands required for 
# testing this directory and lists subdirectories to be tested as well.
include("/work/wt/integ/build2/tests/bmpconv/bmpconv_tests[1]_include.cmake")
add_test([=[bmpconv_pngsuite]=] "/usr/bin/python3" "/work/wt/integ/tests/bmpconv/check_pngsuite.py" "/work/wt/integ/build2/png2bmp" "/work/wt/integ/tests/bmpconv/../data/pngsuite")
set_tests_properties([=[bmpconv_pngsuite]=] PROPERTIES  _BACKTRACE_TRIPLES "/work/wt/integ/tests/bmpconv/CMakeLists.txt;24;add_test;/work/wt/integ/tests/bmpconv/CMakeLists.txt;0;")
add_test([=[bmpconv_damaged]=] "/usr/bin/python3" "/work/wt/integ/tests/bmpconv/check_damaged.py" "/work/wt/integ/build2/png2bmp" "/work/wt/integ/tests/bmpconv/damaged")
set_tests_properties([=[bmpconv_damaged]=] PROPERTIES  _BACKTRACE_TRIPLES "/work/wt/integ/tests/bmpconv/CMakeLists.txt;27;add_test;/work/wt/integ/tests/bmpconv/CMakeLists.txt;0;")
