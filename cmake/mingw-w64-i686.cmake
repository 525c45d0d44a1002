# Cross build for 32-bit Windows with Debian's mingw-w64 (i686-w64-mingw32):
#   scripts/win-deps.sh win32
#   cmake -B build-win32 -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-i686.cmake
# (scripts/build-win.sh win32 does both.)
set(CMAKE_SYSTEM_PROCESSOR x86)
set(TESSEL_WIN_TRIPLET i686-w64-mingw32)
set(TESSEL_WIN_DEPS_FOLDER win32-deps)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64.cmake)
