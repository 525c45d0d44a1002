file(REMOVE_RECURSE
  "../../bmpconv_tests"
  "../../bmpconv_tests.pdb"
  "CMakeFiles/bmpconv_tests.dir/bmp_writer_test.cpp.o"
  "CMakeFiles/bmpconv_tests.dir/bmp_writer_test.cpp.o.d"
  "CMakeFiles/bmpconv_tests.dir/conv_image_test.cpp.o"
  "CMakeFiles/bmpconv_tests.dir/conv_image_test.cpp.o.d"
  "CMakeFiles/bmpconv_tests.dir/diagnostics_test.cpp.o"
  "CMakeFiles/bmpconv_tests.dir/diagnostics_test.cpp.o.d"
  "CMakeFiles/bmpconv_tests.dir/png_reader_test.cpp.o"
  "CMakeFiles/bmpconv_tests.dir/png_reader_test.cpp.o.d"
  "CMakeFiles/bmpconv_tests.dir/test_files.cpp.o"
  "CMakeFiles/bmpconv_tests.dir/test_files.cpp.o.d"
  "bmpconv_tests[1]_tests.cmake"
)

# Per-language clean rules from dependency scanning.
foreach(lang CXX)
  include(CMakeFiles/bmpconv_tests.dir/cmake_clean_${lang}.cmake OPTIONAL)
endforeach()
