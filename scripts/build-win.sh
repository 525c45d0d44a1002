#!/usr/bin/env bash
# Builds the native Windows programs with mingw-w64: build-win/tessel.exe
# (GUI subsystem), build-win/png2bmp.exe and build-win/tessel-batch.exe
# (console), all linked statically so that they need nothing but Windows' own
# DLLs.
# Usage: scripts/build-win.sh [extra cmake configure arguments...]
# The build folder is build-win, or $TESSEL_WIN_BUILD.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${TESSEL_WIN_BUILD:-$root/build-win}

"$root/scripts/win-deps.sh"

generator=()
# An existing build folder keeps the generator it was made with.
if [ ! -f "$build/CMakeCache.txt" ] && command -v ninja >/dev/null 2>&1; then
  generator=(-G Ninja)
fi
# The unit tests need GoogleTest built for Windows, which the cross build
# does not have; the Windows programs are tested under wine instead.
cmake -S "$root" -B "$build" "${generator[@]}" \
  -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" \
  -DCMAKE_BUILD_TYPE=Release -DTESSEL_TESTS=OFF "$@" >/dev/null
cmake --build "$build" -j "$(nproc 2>/dev/null || echo 2)"

for exe in tessel.exe png2bmp.exe tessel-batch.exe; do
  [ -f "$build/$exe" ] || { echo "build-win: $build/$exe was not made" >&2; exit 1; }
done
echo "build-win: $build/tessel.exe $build/png2bmp.exe $build/tessel-batch.exe"
