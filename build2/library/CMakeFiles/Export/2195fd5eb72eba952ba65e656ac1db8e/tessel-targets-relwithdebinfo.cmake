#----------------------------------------------------------------
# Generated CMake target import file for configuration "RelWithDebInfo".
#----------------------------------------------------------------

# Commands may need to know the format version.
set(CMAKE_IMPORT_FILE_VERSION 1)

# Import target "tessel::tessel" for configuration "RelWithDebInfo"
set_property(TARGET tessel::tessel APPEND PROPERTY IMPORTED_CONFIGURATIONS RELWITHDEBINFO)
set_target_properties(tessel::tessel PROPERTIES
  IMPORTED_LOCATION_RELWITHDEBINFO "${_IMPORT_PREFIX}/lib/libtessel.so.1.0.0"
  IMPORTED_SONAME_RELWITHDEBINFO "libtessel.so.1"
  )

list(APPEND _cmake_import_check_targets tessel::tessel )
list(APPEND _cmake_import_check_files_for_tessel::tessel "${_IMPORT_PREFIX}/lib/libtessel.so.1.0.0" )

# Commands beyond this point should not need to know the version.
set(CMAKE_IMPORT_FILE_VERSION)
