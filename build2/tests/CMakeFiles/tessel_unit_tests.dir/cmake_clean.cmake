file(REMOVE_RECURSE
  "../tessel_unit_tests"
  "../tessel_unit_tests.pdb"
  "CMakeFiles/tessel_unit_tests.dir/__/batch/line_reader.cpp.o"
  "CMakeFiles/tessel_unit_tests.dir/__/batch/line_reader.cpp.o.d"
  "CMakeFiles/tessel_unit_tests.dir/batch/line_reader_test.cpp.o"
  "CMakeFiles/tessel_unit_tests.dir/batch/line_reader_test.cpp.o.d"
  "CMakeFiles/tessel_unit_tests.dir/frontend/input_data_test.cpp.o"
  "CMakeFiles/tessel_unit_tests.dir/frontend/input_data_test.cpp.o.d"
  "CMakeFiles/tessel_unit_tests.dir/frontend/payload_input_test.cpp.o"
  "CMakeFiles/tessel_unit_tests.dir/frontend/payload_input_test.cpp.o.d"
  "CMakeFiles/tessel_unit_tests.dir/frontend/switch_pass_test.cpp.o"
  "CMakeFiles/tessel_unit_tests.dir/frontend/switch_pass_test.cpp.o.d"
  "CMakeFiles/tessel_unit_tests.dir/frontend/tokenizer_test.cpp.o"
  "CMakeFiles/tessel_unit_tests.dir/frontend/tokenizer_test.cpp.o.d"
  "CMakeFiles/tessel_unit_tests.dir/payload/payload_fields_test.cpp.o"
  "CMakeFiles/tessel_unit_tests.dir/payload/payload_fields_test.cpp.o.d"
  "CMakeFiles/tessel_unit_tests.dir/platform/posix_platform_test.cpp.o"
  "CMakeFiles/tessel_unit_tests.dir/platform/posix_platform_test.cpp.o.d"
  "CMakeFiles/tessel_unit_tests.dir/pngwriter/png_symbol_writer_test.cpp.o"
  "CMakeFiles/tessel_unit_tests.dir/pngwriter/png_symbol_writer_test.cpp.o.d"
  "CMakeFiles/tessel_unit_tests.dir/runlog/run_log_test.cpp.o"
  "CMakeFiles/tessel_unit_tests.dir/runlog/run_log_test.cpp.o.d"
  "CMakeFiles/tessel_unit_tests.dir/util/string_buffer_test.cpp.o"
  "CMakeFiles/tessel_unit_tests.dir/util/string_buffer_test.cpp.o.d"
  "CMakeFiles/tessel_unit_tests.dir/util/utf8_text_test.cpp.o"
  "CMakeFiles/tessel_unit_tests.dir/util/utf8_text_test.cpp.o.d"
  "CMakeFiles/tessel_unit_tests.dir/vectorwriter/emf_writer_test.cpp.o"
  "CMakeFiles/tessel_unit_tests.dir/vectorwriter/emf_writer_test.cpp.o.d"
  "CMakeFiles/tessel_unit_tests.dir/vectorwriter/svg_writer_test.cpp.o"
  "CMakeFiles/tessel_unit_tests.dir/vectorwriter/svg_writer_test.cpp.o.d"
  "tessel_unit_tests[1]_tests.cmake"
)

# Per-language clean rules from dependency scanning.
foreach(lang CXX)
  include(CMakeFiles/tessel_unit_tests.dir/cmake_clean_${lang}.cmake OPTIONAL)
endforeach()
