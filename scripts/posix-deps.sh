#!/usr/bin/env bash
# Builds the static libqrencode that the statically linked POSIX build
# (cmake -DTESSEL_STATIC_DEPS=ON) needs: Debian ships libpng16.a and libz.a
# but no libqrencode.a. The library is made from the pinned upstream tarball
# of Debian's source package, the library alone.
#
# Everything lands in a cache folder, .cache/posix-deps by default or
# $TESSEL_POSIX_DEPS_CACHE; the library is installed into its prefix/, which
# cmake/dependencies.cmake looks at. Once that prefix is complete, a run
# fetches and builds nothing.
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cache=${TESSEL_POSIX_DEPS_CACHE:-$root/.cache/posix-deps}
mkdir -p "$cache"
cache=$(cd "$cache" && pwd)
prefix=$cache/prefix

log_tag=posix-deps
# shellcheck source=scripts/fetch-sources.sh
source "$root/scripts/fetch-sources.sh"

# The stamp names exactly what the prefix was built from, so a change of
# pinned sources or of the recipe makes the prefix incomplete and it is rebuilt.
stamp_text="qrencode $qrencode_sum
recipe 2"

prefix_complete() {
  [ -f "$prefix/.complete" ] && [ "$(cat "$prefix/.complete")" = "$stamp_text" ] &&
    [ -f "$prefix/include/qrencode.h" ] && [ -f "$prefix/lib/libqrencode.a" ]
}

build_qrencode() {
  local work=$cache/build stage=$cache/prefix.new jobs
  jobs=$(nproc 2>/dev/null || echo 2)
  rm -rf "$work" "$stage"
  mkdir -p "$work"
  tar -xf "$cache/src/$qrencode_tar" -C "$work"

  local generator=()
  command -v ninja >/dev/null 2>&1 && generator=(-G Ninja)
  # Position-independent, since the program is linked as a PIE.
  say "building libqrencode (static library only)"
  build_qrencode_library "$work" "$stage" "$jobs" "${generator[@]}" \
    -DCMAKE_BUILD_TYPE=Release -DCMAKE_POSITION_INDEPENDENT_CODE=ON >/dev/null
  publish_prefix "$stage" "$prefix" "$work" "$stamp_text"
}

if prefix_complete; then
  say "$prefix is complete"
  exit 0
fi
fetch_pinned "$cache/src" qrencode
build_qrencode
prefix_complete || die "$prefix is incomplete after the build"
say "installed static libqrencode into $prefix"
