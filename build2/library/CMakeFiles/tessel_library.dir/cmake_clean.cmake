file(REMOVE_RECURSE
  "../libtessel.pdb"
  "../libtessel.so"
  "../libtessel.so.1"
  "../libtessel.so.1.0.0"
  "CMakeFiles/tessel_library.dir/tessel_api.cpp.o"
  "CMakeFiles/tessel_library.dir/tessel_api.cpp.o.d"
)

# Per-language clean rules from dependency scanning.
foreach(lang CXX)
  include(CMakeFiles/tessel_library.dir/cmake_clean_${lang}.cmake OPTIONAL)
endforeach()
