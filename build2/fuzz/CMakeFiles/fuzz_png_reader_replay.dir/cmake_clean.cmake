file(REMOVE_RECURSE
  "../fuzz_png_reader_replay"
  "../fuzz_png_reader_replay.pdb"
  "CMakeFiles/fuzz_png_reader_replay.dir/fuzz_png_reader.cpp.o"
  "CMakeFiles/fuzz_png_reader_replay.dir/fuzz_png_reader.cpp.o.d"
  "CMakeFiles/fuzz_png_reader_replay.dir/replay_main.cpp.o"
  "CMakeFiles/fuzz_png_reader_replay.dir/replay_main.cpp.o.d"
)

# Per-language clean rules from dependency scanning.
foreach(lang CXX)
  include(CMakeFiles/fuzz_png_reader_replay.dir/cmake_clean_${lang}.cmake OPTIONAL)
endforeach()
