file(REMOVE_RECURSE
  "../png2bmp"
  "../png2bmp.pdb"
  "CMakeFiles/png2bmp.dir/main.cpp.o"
  "CMakeFiles/png2bmp.dir/main.cpp.o.d"
)

# Per-language clean rules from dependency scanning.
foreach(lang CXX)
  include(CMakeFiles/png2bmp.dir/cmake_clean_${lang}.cmake OPTIONAL)
endforeach()
