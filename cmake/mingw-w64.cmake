# What the Windows cross builds share, included by the toolchain file of each
# target (mingw-w64-x86_64.cmake, mingw-w64-i686.cmake), which sets first
# CMAKE_SYSTEM_PROCESSOR, TESSEL_WIN_TRIPLET and TESSEL_WIN_DEPS_FOLDER (its
# cache folder under .cache/).
#
# The program has to start on a bare Windows, so everything that is not part
# of Windows itself (libgcc, libstdc++, winpthread, zlib, libpng,
# libqrencode) is linked in statically.
set(CMAKE_SYSTEM_NAME Windows)

set(CMAKE_C_COMPILER ${TESSEL_WIN_TRIPLET}-gcc)
set(CMAKE_CXX_COMPILER ${TESSEL_WIN_TRIPLET}-g++)
set(CMAKE_RC_COMPILER ${TESSEL_WIN_TRIPLET}-windres)

# Where scripts/win-deps.sh installed the static libpng and libqrencode: the
# prefix/ folder of its cache, which TESSEL_WIN_DEPS_CACHE moves for both.
if(NOT DEFINED TESSEL_WIN_DEPS)
  if(DEFINED ENV{TESSEL_WIN_DEPS_CACHE})
    set(_tessel_win_deps "$ENV{TESSEL_WIN_DEPS_CACHE}/prefix")
  else()
    set(_tessel_win_deps "${CMAKE_CURRENT_LIST_DIR}/../.cache/${TESSEL_WIN_DEPS_FOLDER}/prefix")
  endif()
  get_filename_component(_tessel_win_deps "${_tessel_win_deps}" ABSOLUTE)
  set(TESSEL_WIN_DEPS "${_tessel_win_deps}" CACHE PATH
    "Prefix holding the static Windows builds of libpng and libqrencode")
  unset(_tessel_win_deps)
endif()
# try_compile projects read this file again without the parent's cache.
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES TESSEL_WIN_DEPS)

# Headers and libraries come only from the deps prefix and the mingw-w64
# sysroot (zlib from libz-mingw-w64-dev lives there), never from the build
# machine's own /usr; programs (compilers, wine) do come from the build machine.
set(CMAKE_FIND_ROOT_PATH "${TESSEL_WIN_DEPS}" /usr/${TESSEL_WIN_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# The sysroot holds both libz.a and the import library libz.dll.a, and the
# import library would be preferred; it would make the program need zlib1.dll.
set(ZLIB_USE_STATIC_LIBS ON)

# The same sources give the same bytes: no link time in the PE header, and
# no folder of this machine in the code (__FILE__) or the debug information.
# The build folder's map comes last, so that it wins over the source folder's
# for the build folder inside the source tree.
get_filename_component(_tessel_source_root "${CMAKE_CURRENT_LIST_DIR}/.." ABSOLUTE)
set(_tessel_prefix_maps "-ffile-prefix-map=${_tessel_source_root}/=")
if(CMAKE_BINARY_DIR)
  string(APPEND _tessel_prefix_maps " -ffile-prefix-map=${CMAKE_BINARY_DIR}/=")
endif()
set(CMAKE_C_FLAGS_INIT "${_tessel_prefix_maps}")
set(CMAKE_CXX_FLAGS_INIT "${_tessel_prefix_maps}")
unset(_tessel_prefix_maps)
unset(_tessel_source_root)
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++ -Wl,--no-insert-timestamp")
# tessel.dll alike: -static with -shared links the libraries in, not the DLL
# itself statically.
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++ -Wl,--no-insert-timestamp")

# Lets CTest and gtest_discover_tests run the Windows test programs.
find_program(TESSEL_WINE NAMES wine wine64)
if(TESSEL_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR "${TESSEL_WINE}")
endif()
