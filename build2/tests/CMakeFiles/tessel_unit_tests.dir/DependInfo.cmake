
# Consider dependencies only in project.
set(CMAKE_DEPENDS_IN_PROJECT_ONLY OFF)

# The set of languages for which implicit dependencies are needed:
set(CMAKE_DEPENDS_LANGUAGES
  )

# The set of dependency files which are needed:
set(CMAKE_DEPENDS_DEPENDENCY_FILES
  "/work/wt/integ/batch/line_reader.cpp" "tests/CMakeFiles/tessel_unit_tests.dir/__/batch/line_reader.cpp.o" "gcc" "tests/CMakeFiles/tessel_unit_tests.dir/__/batch/line_reader.cpp.o.d"
  "/work/wt/integ/tests/batch/line_reader_test.cpp" "tests/CMakeFiles/tessel_unit_tests.dir/batch/line_reader_test.cpp.o" "gcc" "tests/CMakeFiles/tessel_unit_tests.dir/batch/line_reader_test.cpp.o.d"
  "/work/wt/integ/tests/frontend/input_data_test.cpp" "tests/CMakeFiles/tessel_unit_tests.dir/frontend/input_data_test.cpp.o" "gcc" "tests/CMakeFiles/tessel_unit_tests.dir/frontend/input_data_test.cpp.o.d"
  "/work/wt/integ/tests/frontend/payload_input_test.cpp" "tests/CMakeFiles/tessel_unit_tests.dir/frontend/payload_input_test.cpp.o" "gcc" "tests/CMakeFiles/tessel_unit_tests.dir/frontend/payload_input_test.cpp.o.d"
  "/work/wt/integ/tests/frontend/switch_pass_test.cpp" "tests/CMakeFiles/tessel_unit_tests.dir/frontend/switch_pass_test.cpp.o" "gcc" "tests/CMakeFiles/tessel_unit_tests.dir/frontend/switch_pass_test.cpp.o.d"
  "/work/wt/integ/tests/frontend/tokenizer_test.cpp" "tests/CMakeFiles/tessel_unit_tests.dir/frontend/tokenizer_test.cpp.o" "gcc" "tests/CMakeFiles/tessel_unit_tests.dir/frontend/tokenizer_test.cpp.o.d"
  "/work/wt/integ/tests/payload/payload_fields_test.cpp" "tests/CMakeFiles/tessel_unit_tests.dir/payload/payload_fields_test.cpp.o" "gcc" "tests/CMakeFiles/tessel_unit_tests.dir/payload/payload_fields_test.cpp.o.d"
  "/work/wt/integ/tests/platform/posix_platform_test.cpp" "tests/CMakeFiles/tessel_unit_tests.dir/platform/posix_platform_test.cpp.o" "gcc" "tests/CMakeFiles/tessel_unit_tests.dir/platform/posix_platform_test.cpp.o.d"
  "/work/wt/integ/tests/pngwriter/png_symbol_writer_test.cpp" "tests/CMakeFiles/tessel_unit_tests.dir/pngwriter/png_symbol_writer_test.cpp.o" "gcc" "tests/CMakeFiles/tessel_unit_tests.dir/pngwriter/png_symbol_writer_test.cpp.o.d"
  "/work/wt/integ/tests/runlog/run_log_test.cpp" "tests/CMakeFiles/tessel_unit_tests.dir/runlog/run_log_test.cpp.o" "gcc" "tests/CMakeFiles/tessel_unit_tests.dir/runlog/run_log_test.cpp.o.d"
  "/work/wt/integ/tests/util/string_buffer_test.cpp" "tests/CMakeFiles/tessel_unit_tests.dir/util/string_buffer_test.cpp.o" "gcc" "tests/CMakeFiles/tessel_unit_tests.dir/util/string_buffer_test.cpp.o.d"
  "/work/wt/integ/tests/util/utf8_text_test.cpp" "tests/CMakeFiles/tessel_unit_tests.dir/util/utf8_text_test.cpp.o" "gcc" "tests/CMakeFiles/tessel_unit_tests.dir/util/utf8_text_test.cpp.o.d"
  "/work/wt/integ/tests/vectorwriter/emf_writer_test.cpp" "tests/CMakeFiles/tessel_unit_tests.dir/vectorwriter/emf_writer_test.cpp.o" "gcc" "tests/CMakeFiles/tessel_unit_tests.dir/vectorwriter/emf_writer_test.cpp.o.d"
  "/work/wt/integ/tests/vectorwriter/svg_writer_test.cpp" "tests/CMakeFiles/tessel_unit_tests.dir/vectorwriter/svg_writer_test.cpp.o" "gcc" "tests/CMakeFiles/tessel_unit_tests.dir/vectorwriter/svg_writer_test.cpp.o.d"
  )

# Targets to which this target links.
set(CMAKE_TARGET_LINKED_INFO_FILES
  "/work/wt/integ/build2/CMakeFiles/tessel_core.dir/DependInfo.cmake"
  )

# Fortran module output directory.
set(CMAKE_Fortran_TARGET_MODULE_DIR "")
