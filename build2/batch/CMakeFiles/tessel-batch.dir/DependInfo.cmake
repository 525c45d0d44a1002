
# Consider dependencies only in project.
set(CMAKE_DEPENDS_IN_PROJECT_ONLY OFF)

# The set of languages for which implicit dependencies are needed:
set(CMAKE_DEPENDS_LANGUAGES
  )

# The set of dependency files which are needed:
set(CMAKE_DEPENDS_DEPENDENCY_FILES
  "/work/wt/integ/batch/line_reader.cpp" "batch/CMakeFiles/tessel-batch.dir/line_reader.cpp.o" "gcc" "batch/CMakeFiles/tessel-batch.dir/line_reader.cpp.o.d"
  "/work/wt/integ/batch/main.cpp" "batch/CMakeFiles/tessel-batch.dir/main.cpp.o" "gcc" "batch/CMakeFiles/tessel-batch.dir/main.cpp.o.d"
  "/work/wt/integ/batch/progress.cpp" "batch/CMakeFiles/tessel-batch.dir/progress.cpp.o" "gcc" "batch/CMakeFiles/tessel-batch.dir/progress.cpp.o.d"
  )

# Targets to which this target links.
set(CMAKE_TARGET_LINKED_INFO_FILES
  "/work/wt/integ/build2/CMakeFiles/tessel_core.dir/DependInfo.cmake"
  )

# Fortran module output directory.
set(CMAKE_Fortran_TARGET_MODULE_DIR "")
