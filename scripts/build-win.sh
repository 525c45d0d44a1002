#!/usr/bin/env bash
# Builds the native Windows programs with mingw-w64 for one target:
# tessel.exe (GUI subsystem), png2bmp.exe and tessel-batch.exe (console),
# and tessel.dll with its import library libtessel.dll.a and tessel.def, all
# of them linked statically so that they need nothing but Windows' own DLLs.
# The programs and the DLL keep their debug information here;
# scripts/release-win.sh ships them stripped.
# Usage: scripts/build-win.sh [win64|win32] [extra cmake configure arguments...]
# win64 (the default) builds in build-win, win32 in build-win32; $TESSEL_WIN_BUILD
# names another folder.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
# shellcheck source=scripts/win-arch.sh
source "$root/scripts/win-arch.sh"
arch=win64
case ${1:-} in win64 | win32) arch=$1; shift ;; esac
win_arch_setup "$root" "$arch"
build=$win_build

"$root/scripts/win-deps.sh" "$arch"

generator=()
# An existing build folder keeps the generator it was made with.
if [ ! -f "$build/CMakeCache.txt" ] && command -v ninja >/dev/null 2>&1; then
  generator=(-G Ninja)
fi
# The unit tests need GoogleTest built for Windows, which the cross build
# does not have; the Windows programs are tested under wine instead.
cmake -S "$root" -B "$build" "${generator[@]}" \
  -DCMAKE_TOOLCHAIN_FILE="$win_toolchain" \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTESSEL_TESTS=OFF "$@" >/dev/null
cmake --build "$build" -j "$(nproc 2>/dev/null || echo 2)"

made=()
for program in "${win_programs[@]}"; do
  [ -f "$build/$program.exe" ] || { echo "build-win: $build/$program.exe was not made" >&2; exit 1; }
  made+=("$build/$program.exe")
done
for file in "${win_library[@]}"; do
  [ -f "$build/$file" ] || { echo "build-win: $build/$file was not made" >&2; exit 1; }
  made+=("$build/$file")
done
echo "build-win $arch: ${made[*]}"
