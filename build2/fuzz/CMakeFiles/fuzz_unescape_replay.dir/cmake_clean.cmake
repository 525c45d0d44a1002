file(REMOVE_RECURSE
  "../fuzz_unescape_replay"
  "../fuzz_unescape_replay.pdb"
  "CMakeFiles/fuzz_unescape_replay.dir/fuzz_unescape.cpp.o"
  "CMakeFiles/fuzz_unescape_replay.dir/fuzz_unescape.cpp.o.d"
  "CMakeFiles/fuzz_unescape_replay.dir/replay_main.cpp.o"
  "CMakeFiles/fuzz_unescape_replay.dir/replay_main.cpp.o.d"
)

# Per-language clean rules from dependency scanning.
foreach(lang CXX)
  include(CMakeFiles/fuzz_unescape_replay.dir/cmake_clean_${lang}.cmake OPTIONAL)
endforeach()
