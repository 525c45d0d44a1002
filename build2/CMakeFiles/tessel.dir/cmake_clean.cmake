file(REMOVE_RECURSE
  "CMakeFiles/tessel.dir/platform/posix/main.cpp.o"
  "CMakeFiles/tessel.dir/platform/posix/main.cpp.o.d"
  "tessel"
  "tessel.pdb"
)

# Per-language clean rules from dependency scanning.
foreach(lang CXX)
  include(CMakeFiles/tessel.dir/cmake_clean_${lang}.cmake OPTIONAL)
endforeach()
