file(REMOVE_RECURSE
  "../tessel-batch"
  "../tessel-batch.pdb"
  "CMakeFiles/tessel-batch.dir/line_reader.cpp.o"
  "CMakeFiles/tessel-batch.dir/line_reader.cpp.o.d"
  "CMakeFiles/tessel-batch.dir/main.cpp.o"
  "CMakeFiles/tessel-batch.dir/main.cpp.o.d"
  "CMakeFiles/tessel-batch.dir/progress.cpp.o"
  "CMakeFiles/tessel-batch.dir/progress.cpp.o.d"
)

# Per-language clean rules from dependency scanning.
foreach(lang CXX)
  include(CMakeFiles/tessel-batch.dir/cmake_clean_${lang}.cmake OPTIONAL)
endforeach()
