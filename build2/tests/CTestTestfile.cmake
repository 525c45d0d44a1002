# CMake generated Testfile for 
# Source directory: /work/wt/integ/tests
# Build directory: /work/wt/integ/build2/tests
# 
# This file includes the relevant testing commands required for 
# testing this directory and lists subdirectories to be tested as well.
include("/work/wt/integ/build2/tests/tessel_unit_tests[1]_include.cmake")
add_test([=[e2e_tessel]=] "/usr/bin/python3" "/work/wt/integ/tests/e2e/test_tessel.py" "/work/wt/integ/build2/tessel")
set_tests_properties([=[e2e_tessel]=] PROPERTIES  _BACKTRACE_TRIPLES "/work/wt/integ/tests/CMakeLists.txt;28;add_test;/work/wt/integ/tests/CMakeLists.txt;0;")
add_test([=[e2e_decode]=] "/usr/bin/python3" "/work/wt/integ/tests/e2e/test_decode.py" "/work/wt/integ/build2/tessel")
set_tests_properties([=[e2e_decode]=] PROPERTIES  _BACKTRACE_TRIPLES "/work/wt/integ/tests/CMakeLists.txt;28;add_test;/work/wt/integ/tests/CMakeLists.txt;0;")
add_test([=[e2e_bmp]=] "/usr/bin/python3" "/work/wt/integ/tests/e2e/test_bmp.py" "/work/wt/integ/build2/tessel")
set_tests_properties([=[e2e_bmp]=] PROPERTIES  _BACKTRACE_TRIPLES "/work/wt/integ/tests/CMakeLists.txt;28;add_test;/work/wt/integ/tests/CMakeLists.txt;0;")
add_test([=[e2e_text]=] "/usr/bin/python3" "/work/wt/integ/tests/e2e/test_text.py" "/work/wt/integ/build2/tessel")
set_tests_properties([=[e2e_text]=] PROPERTIES  _BACKTRACE_TRIPLES "/work/wt/integ/tests/CMakeLists.txt;28;add_test;/work/wt/integ/tests/CMakeLists.txt;0;")
add_test([=[e2e_payloads]=] "/usr/bin/python3" "/work/wt/integ/tests/e2e/test_payloads.py" "/work/wt/integ/build2/tessel")
set_tests_properties([=[e2e_payloads]=] PROPERTIES  _BACKTRACE_TRIPLES "/work/wt/integ/tests/CMakeLists.txt;28;add_test;/work/wt/integ/tests/CMakeLists.txt;0;")
add_test([=[e2e_batch]=] "/usr/bin/python3" "/work/wt/integ/tests/e2e/test_batch.py" "/work/wt/integ/build2/tessel" "/work/wt/integ/build2/tessel-batch" "/work/wt/integ/build2/png2bmp")
set_tests_properties([=[e2e_batch]=] PROPERTIES  _BACKTRACE_TRIPLES "/work/wt/integ/tests/CMakeLists.txt;32;add_test;/work/wt/integ/tests/CMakeLists.txt;0;")
add_test([=[library_call_loop]=] "/work/wt/integ/build2/tessel_call_loop" "10000")
set_tests_properties([=[library_call_loop]=] PROPERTIES  WORKING_DIRECTORY "/work/wt/integ/build2/tests" _BACKTRACE_TRIPLES "/work/wt/integ/tests/CMakeLists.txt;41;add_test;/work/wt/integ/tests/CMakeLists.txt;0;")
add_test([=[library_memory_calls]=] "/work/wt/integ/build2/tessel_memory_calls")
set_tests_properties([=[library_memory_calls]=] PROPERTIES  WORKING_DIRECTORY "/work/wt/integ/build2/tests" _BACKTRACE_TRIPLES "/work/wt/integ/tests/CMakeLists.txt;46;add_test;/work/wt/integ/tests/CMakeLists.txt;0;")
add_test([=[library_ctypes]=] "/usr/bin/python3" "/work/wt/integ/tests/library/test_library.py" "/work/wt/integ/build2/tessel" "/work/wt/integ/build2/libtessel.so.1.0.0")
set_tests_properties([=[library_ctypes]=] PROPERTIES  _BACKTRACE_TRIPLES "/work/wt/integ/tests/CMakeLists.txt;48;add_test;/work/wt/integ/tests/CMakeLists.txt;0;")
add_test([=[library_examples]=] "/work/wt/integ/tests/library/check_examples.sh" "/work/wt/integ/docs/library.md" "/work/wt/integ/build2")
set_tests_properties([=[library_examples]=] PROPERTIES  _BACKTRACE_TRIPLES "/work/wt/integ/tests/CMakeLists.txt;50;add_test;/work/wt/integ/tests/CMakeLists.txt;0;")
add_test([=[self_contained]=] "/usr/bin/python3" "/work/wt/integ/tests/check_self_contained.py" "/work/wt/integ")
set_tests_properties([=[self_contained]=] PROPERTIES  _BACKTRACE_TRIPLES "/work/wt/integ/tests/CMakeLists.txt;56;add_test;/work/wt/integ/tests/CMakeLists.txt;0;")
subdirs("bmpconv")
subdirs("stress")
