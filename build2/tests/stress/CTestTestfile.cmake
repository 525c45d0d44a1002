# CMake generated Testfile for 
# Source directory: /work/wt/integ/tests/stress
# Build directory: /work/wt/integ/build2/tests/stress
# 
# This file includes the relevant testing commands required for 
# testing this directory and lists subdirectories to be tested as well.
add_test([=[stress_concurrency]=] "/usr/bin/python3" "/work/wt/integ/tests/stress/test_concurrency.py" "/work/wt/integ/build2/tessel" "/work/wt/integ/build2/png2bmp")
set_tests_properties([=[stress_concurrency]=] PROPERTIES  _BACKTRACE_TRIPLES "/work/wt/integ/tests/stress/CMakeLists.txt;4;add_test;/work/wt/integ/tests/stress/CMakeLists.txt;0;")
add_test([=[stress_faults]=] "/usr/bin/python3" "/work/wt/integ/tests/stress/test_faults.py" "/work/wt/integ/build2/tessel" "/work/wt/integ/build2/png2bmp")
set_tests_properties([=[stress_faults]=] PROPERTIES  _BACKTRACE_TRIPLES "/work/wt/integ/tests/stress/CMakeLists.txt;4;add_test;/work/wt/integ/tests/stress/CMakeLists.txt;0;")
add_test([=[valgrind_runs]=] "/work/wt/integ/scripts/valgrind.sh" "/work/wt/integ/build2")
set_tests_properties([=[valgrind_runs]=] PROPERTIES  TIMEOUT "600" _BACKTRACE_TRIPLES "/work/wt/integ/tests/stress/CMakeLists.txt;12;add_test;/work/wt/integ/tests/stress/CMakeLists.txt;0;")
