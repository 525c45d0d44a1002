#!/usr/bin/env bash
# Tests the native Windows programs of one target under wine against the
# POSIX build: builds them (scripts/build-win.sh) and the POSIX tessel, then
# runs tests/wine/test_wine.py in a wine prefix of its own (a 32-bit prefix
# for win32, as on 32-bit Windows), and stops that prefix's wineserver at the
# end.
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

# The reference images come from the POSIX build; an existing build folder
# keeps its own configuration.
if [ ! -f "$posix_build/CMakeCache.txt" ]; then
  cmake -S "$root" -B "$posix_build" >/dev/null
fi
cmake --build "$posix_build" --target tessel -j "$(nproc 2>/dev/null || echo 2)"

# The helper that starts a Windows program with an exact command line and
# reports its whole exit code.
if [ ! "$win_build/run_child.exe" -nt "$root/tests/wine/run_child.cpp" ]; then
  "$win_host-g++" -std=c++20 -O2 -Wall -Wextra -Werror -static \
    "$root/tests/wine/run_child.cpp" -o "$win_build/run_child.exe"
fi

export WINEPREFIX=$win_build/wine-prefix
# Only read when the prefix is made.
export WINEARCH=$win_wine_arch
export WINEDEBUG=-all
# Wine takes the ANSI code page from the locale: C.UTF-8, which glibc always
# has, gives 1252, the code page the tests are written for (test_wine.py sets
# the same for every program it starts; the prefix is made under it too).
export LC_ALL=C.UTF-8
# No Mono or Gecko: nothing here needs .NET or HTML, and asking for them
# would stall the first start of a new prefix.
export WINEDLLOVERRIDES="mscoree,mshtml="
unset DISPLAY WAYLAND_DISPLAY
mkdir -p "$WINEPREFIX"
stop_wine() {
  wineserver -k 2>/dev/null || true
  wineserver -w 2>/dev/null || true
}
trap stop_wine EXIT
# One server for all runs, instead of one started and stopped per program;
# it may still be running from an interrupted run.
wineserver -p 2>/dev/null || true
# A new prefix is made on the first start (several seconds); done here so
# that its messages stay out of the tests' output.
wineboot --init >/dev/null 2>&1

/usr/bin/python3 "$root/tests/wine/test_wine.py" "$win_build" "$posix_build/tessel" "$@"
