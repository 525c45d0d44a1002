
# Consider dependencies only in project.
set(CMAKE_DEPENDS_IN_PROJECT_ONLY OFF)

# The set of languages for which implicit dependencies are needed:
set(CMAKE_DEPENDS_LANGUAGES
  )

# The set of dependency files which are needed:
set(CMAKE_DEPENDS_DEPENDENCY_FILES
  "/work/wt/integ/tests/bmpconv/bmp_writer_test.cpp" "tests/bmpconv/CMakeFiles/bmpconv_tests.dir/bmp_writer_test.cpp.o" "gcc" "tests/bmpconv/CMakeFiles/bmpconv_tests.dir/bmp_writer_test.cpp.o.d"
  "/work/wt/integ/tests/bmpconv/conv_image_test.cpp" "tests/bmpconv/CMakeFiles/bmpconv_tests.dir/conv_image_test.cpp.o" "gcc" "tests/bmpconv/CMakeFiles/bmpconv_tests.dir/conv_image_test.cpp.o.d"
  "/work/wt/integ/tests/bmpconv/diagnostics_test.cpp" "tests/bmpconv/CMakeFiles/bmpconv_tests.dir/diagnostics_test.cpp.o" "gcc" "tests/bmpconv/CMakeFiles/bmpconv_tests.dir/diagnostics_test.cpp.o.d"
  "/work/wt/integ/tests/bmpconv/png_reader_test.cpp" "tests/bmpconv/CMakeFiles/bmpconv_tests.dir/png_reader_test.cpp.o" "gcc" "tests/bmpconv/CMakeFiles/bmpconv_tests.dir/png_reader_test.cpp.o.d"
  "/work/wt/integ/tests/bmpconv/test_files.cpp" "tests/bmpconv/CMakeFiles/bmpconv_tests.dir/test_files.cpp.o" "gcc" "tests/bmpconv/CMakeFiles/bmpconv_tests.dir/test_files.cpp.o.d"
  )

# Targets to which this target links.
set(CMAKE_TARGET_LINKED_INFO_FILES
  "/work/wt/integ/build2/CMakeFiles/tessel_core.dir/DependInfo.cmake"
  )

# Fortran module output directory.
set(CMAKE_Fortran_TARGET_MODULE_DIR "")
