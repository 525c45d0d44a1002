file(REMOVE_RECURSE
  "../tessel_call_loop"
  "../tessel_call_loop.pdb"
  "CMakeFiles/tessel_call_loop.dir/library/call_loop.c.o"
  "CMakeFiles/tessel_call_loop.dir/library/call_loop.c.o.d"
)

# Per-language clean rules from dependency scanning.
foreach(lang C)
  include(CMakeFiles/tessel_call_loop.dir/cmake_clean_${lang}.cmake OPTIONAL)
endforeach()
