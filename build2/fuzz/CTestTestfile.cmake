# CMake generated Testfile for 
# Source directory: /work/wt/integ/fuzz
# Build directory: /work/wt/integ/build2/fuzz
# 
# This file includes the relevant testing commands required for 
# testing this directory and lists subdirectories to be tested as well.
add_test([=[fuzz_replay_fuzz_command_line]=] "/work/wt/integ/build2/fuzz_command_line_replay" "/work/wt/integ/fuzz/corpus/fuzz_command_line")
set_tests_properties([=[fuzz_replay_fuzz_command_line]=] PROPERTIES  _BACKTRACE_TRIPLES "/work/wt/integ/fuzz/CMakeLists.txt;16;add_test;/work/wt/integ/fuzz/CMakeLists.txt;0;")
add_test([=[fuzz_replay_fuzz_unescape]=] "/work/wt/integ/build2/fuzz_unescape_replay" "/work/wt/integ/fuzz/corpus/fuzz_unescape")
set_tests_properties([=[fuzz_replay_fuzz_unescape]=] PROPERTIES  _BACKTRACE_TRIPLES "/work/wt/integ/fuzz/CMakeLists.txt;16;add_test;/work/wt/integ/fuzz/CMakeLists.txt;0;")
add_test([=[fuzz_replay_fuzz_png_reader]=] "/work/wt/integ/build2/fuzz_png_reader_replay" "/work/wt/integ/fuzz/corpus/fuzz_png_reader")
set_tests_properties([=[fuzz_replay_fuzz_png_reader]=] PROPERTIES  _BACKTRACE_TRIPLES "/work/wt/integ/fuzz/CMakeLists.txt;16;add_test;/work/wt/integ/fuzz/CMakeLists.txt;0;")
