file(REMOVE_RECURSE
  "../fuzz_command_line_replay"
  "../fuzz_command_line_replay.pdb"
  "CMakeFiles/fuzz_command_line_replay.dir/fuzz_command_line.cpp.o"
  "CMakeFiles/fuzz_command_line_replay.dir/fuzz_command_line.cpp.o.d"
  "CMakeFiles/fuzz_command_line_replay.dir/replay_main.cpp.o"
  "CMakeFiles/fuzz_command_line_replay.dir/replay_main.cpp.o.d"
)

# Per-language clean rules from dependency scanning.
foreach(lang CXX)
  include(CMakeFiles/fuzz_command_line_replay.dir/cmake_clean_${lang}.cmake OPTIONAL)
endforeach()
