# Cross build for 64-bit Windows with Debian's mingw-w64 (x86_64-w64-mingw32):
#   scripts/win-deps.sh win64
#   cmake -B build-win -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake
# (scripts/build-win.sh does both.)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(TESSEL_WIN_TRIPLET x86_64-w64-mingw32)
set(TESSEL_WIN_DEPS_FOLDER win-deps)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64.cmake)
