
# Consider dependencies only in project.
set(CMAKE_DEPENDS_IN_PROJECT_ONLY OFF)

# The set of languages for which implicit dependencies are needed:
set(CMAKE_DEPENDS_LANGUAGES
  )

# The set of dependency files which are needed:
set(CMAKE_DEPENDS_DEPENDENCY_FILES
  "/work/wt/integ/fuzz/fuzz_unescape.cpp" "fuzz/CMakeFiles/fuzz_unescape_replay.dir/fuzz_unescape.cpp.o" "gcc" "fuzz/CMakeFiles/fuzz_unescape_replay.dir/fuzz_unescape.cpp.o.d"
  "/work/wt/integ/fuzz/replay_main.cpp" "fuzz/CMakeFiles/fuzz_unescape_replay.dir/replay_main.cpp.o" "gcc" "fuzz/CMakeFiles/fuzz_unescape_replay.dir/replay_main.cpp.o.d"
  )

# Targets to which this target links.
set(CMAKE_TARGET_LINKED_INFO_FILES
  "/work/wt/integ/build2/CMakeFiles/tessel_core.dir/DependInfo.cmake"
  )

# Fortran module output directory.
set(CMAKE_Fortran_TARGET_MODULE_DIR "")
