#!/usr/bin/env bash
# Tests the native Windows programs and tessel.dll of one target under wine
# against the POSIX build: builds them (scripts/build-win.sh) and the POSIX
# tessel, then runs tests/wine/test_wine.py in a wine prefix of its own (a
# 32-bit prefix for win32, as on 32-bit Windows), and stops that prefix's
# wineserver at the end.
# Usage: scripts/test-wine.sh [win64|win32] [unittest arguments, e.g. -v]
# The POSIX build folder is build, or $TESSEL_POSIX_BUILD.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
# shellcheck source=scripts/win-arch.sh
source "$root/scripts/win-arch.sh"
arch=win64
case ${1:-} in win64 | win32) arch=$1; shift ;; esac
win_arch_setup "$root" "$arch"
posix_build=${TESSEL_POSIX_BUILD:-$root/build}
export TESSEL_WIN_BUILD=$win_build

"$root/scripts/deps.sh"
"$root/scripts/build-win.sh" "$arch"
if [ "$win_runs_here" = 0 ]; then
  printf 'test-wine %s: SKIPPED: this kernel runs no 32-bit program (scripts/runs-32bit.sh), so the 32-bit build was made but its tests cannot run here\n' "$arch" >&2
  exit 0
fi

# The reference images come from the POSIX build; an existing build folder
# keeps its own configuration.
if [ ! -f "$posix_build/CMakeCache.txt" ]; then
  cmake -S "$root" -B "$posix_build" >/dev/null
fi
cmake --build "$posix_build" --target tessel -j "$(nproc 2>/dev/null || echo 2)"

win_test_helpers "$root"
win_wine_start

/usr/bin/python3 "$root/tests/wine/test_wine.py" "$win_build" "$posix_build/tessel" "$@"
