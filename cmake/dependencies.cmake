# libqrencode, libpng and zlib, found as installed libraries. A cross build
# points CMAKE_PREFIX_PATH (or CMAKE_FIND_ROOT_PATH) at its own static copies.
#
# TESSEL_STATIC_DEPS links the three, and the C++ runtime, into the programs
# instead, for a native build: the program is started once per symbol, and
# loading and resolving shared libraries is a large part of so short a run
# (libstdc++ alone more than the other three together). libpng16.a and
# libz.a come from Debian's -dev packages; libqrencode.a from
# scripts/posix-deps.sh, in the prefix TESSEL_POSIX_DEPS. libc and libm stay
# shared: glibc's static libm does not link into a dynamically linked program.
option(TESSEL_STATIC_DEPS
  "Link libqrencode, libpng, zlib and the C++ runtime statically (native build)" OFF)

add_library(tessel_deps INTERFACE)

if(TESSEL_STATIC_DEPS)
  if(CMAKE_CROSSCOMPILING)
    message(FATAL_ERROR "TESSEL_STATIC_DEPS is for native builds; a cross build brings its own static libraries")
  endif()
  if(NOT DEFINED TESSEL_POSIX_DEPS)
    if(DEFINED ENV{TESSEL_POSIX_DEPS_CACHE})
      set(_tessel_posix_deps "$ENV{TESSEL_POSIX_DEPS_CACHE}/prefix")
    else()
      set(_tessel_posix_deps "${CMAKE_CURRENT_LIST_DIR}/../.cache/posix-deps/prefix")
    endif()
    get_filename_component(_tessel_posix_deps "${_tessel_posix_deps}" ABSOLUTE)
    set(TESSEL_POSIX_DEPS "${_tessel_posix_deps}" CACHE PATH
      "Prefix holding the static libqrencode that scripts/posix-deps.sh builds")
    unset(_tessel_posix_deps)
  endif()

  # Names of their own, so that switching the option in a build folder does
  # not reuse the shared libraries found before.
  find_path(TESSEL_QRENCODE_STATIC_INCLUDE qrencode.h
    PATHS "${TESSEL_POSIX_DEPS}/include" NO_DEFAULT_PATH)
  find_library(TESSEL_QRENCODE_STATIC libqrencode.a
    PATHS "${TESSEL_POSIX_DEPS}/lib" NO_DEFAULT_PATH)
  if(NOT TESSEL_QRENCODE_STATIC_INCLUDE OR NOT TESSEL_QRENCODE_STATIC)
    message(FATAL_ERROR "No static libqrencode in ${TESSEL_POSIX_DEPS}: run scripts/posix-deps.sh")
  endif()
  find_path(TESSEL_PNG_STATIC_INCLUDE png.h REQUIRED)
  find_library(TESSEL_PNG_STATIC libpng16.a REQUIRED)
  set(ZLIB_USE_STATIC_LIBS ON)
  find_package(ZLIB REQUIRED)
  find_library(TESSEL_LIBM m REQUIRED)

  target_include_directories(tessel_deps INTERFACE
    ${TESSEL_QRENCODE_STATIC_INCLUDE} ${TESSEL_PNG_STATIC_INCLUDE})
  # libpng needs zlib and libm (its gamma tables) behind it.
  target_link_libraries(tessel_deps INTERFACE
    ${TESSEL_QRENCODE_STATIC} ${TESSEL_PNG_STATIC} ZLIB::ZLIB ${TESSEL_LIBM})
  target_link_options(tessel_deps INTERFACE -static-libstdc++ -static-libgcc)

  # The shared library cannot take libpng16.a, which is not position-
  # independent code; it links the shared libraries of the same Debian
  # packages (and the same libqrencode release) instead.
  add_library(tessel_shared_deps INTERFACE)
  find_library(TESSEL_QRENCODE_SHARED libqrencode.so REQUIRED)
  find_library(TESSEL_PNG_SHARED libpng16.so REQUIRED)
  find_library(TESSEL_ZLIB_SHARED libz.so REQUIRED)
  target_link_libraries(tessel_shared_deps INTERFACE
    ${TESSEL_QRENCODE_SHARED} ${TESSEL_PNG_SHARED} ${TESSEL_ZLIB_SHARED})
else()
  find_package(PNG 1.6 REQUIRED)
  find_path(QRENCODE_INCLUDE_DIR qrencode.h REQUIRED)
  find_library(QRENCODE_LIBRARY NAMES qrencode REQUIRED)
  target_include_directories(tessel_deps INTERFACE ${QRENCODE_INCLUDE_DIR})
  target_link_libraries(tessel_deps INTERFACE ${QRENCODE_LIBRARY} PNG::PNG)
endif()
