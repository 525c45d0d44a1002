file(REMOVE_RECURSE
  "../tessel_memory_calls"
  "../tessel_memory_calls.pdb"
  "CMakeFiles/tessel_memory_calls.dir/library/memory_calls.c.o"
  "CMakeFiles/tessel_memory_calls.dir/library/memory_calls.c.o.d"
)

# Per-language clean rules from dependency scanning.
foreach(lang C)
  include(CMakeFiles/tessel_memory_calls.dir/cmake_clean_${lang}.cmake OPTIONAL)
endforeach()
