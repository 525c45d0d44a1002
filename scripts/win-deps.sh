#!/usr/bin/env bash
# Prepares the Windows cross build for one target: Debian's mingw-w64
# toolchain, wine for running the Windows test programs, and static builds of
# libpng and libqrencode made from Debian's source packages.
# Usage: scripts/win-deps.sh [win64|win32] [--packages]   (win64 when left out;
# --packages: the Debian packages only)
#
# Everything lands in a cache folder, .cache/win-deps (win64) or
# .cache/win32-deps (win32) by default, or $TESSEL_WIN_DEPS_CACHE; the
# libraries are installed into its prefix/, which the target's toolchain file
# (cmake/mingw-w64-*.cmake) looks at. Once that prefix is complete, a run
# fetches and builds nothing.
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
# shellcheck source=scripts/win-arch.sh
source "$root/scripts/win-arch.sh"
win_arch_setup "$root" "${1:-}"
cache=$win_deps_cache
mkdir -p "$cache"
cache=$(cd "$cache" && pwd)
prefix=$cache/prefix
toolchain=$win_toolchain
host=$win_host

log_tag="win-deps $win_arch"
# The pinned tarballs and their folders ($qrencode_tar, $qrencode_dir,
# $png_tar, $png_dir), fetch_pinned, say, die and as_root.
# shellcheck source=scripts/fetch-sources.sh
source "$root/scripts/fetch-sources.sh"

# The stamp names exactly what the prefix was built from, so a change of
# pinned sources makes the prefix incomplete and it is rebuilt.
stamp_text="qrencode $qrencode_sum
libpng $png_sum
recipe 3"

deb_packages=("${win_packages[@]}")

# ---------------------------------------------------------------- packages

install_packages() {
  local missing=() p
  for p in "${deb_packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q '^install ok installed$'; then
      missing+=("$p")
    fi
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  say "installing ${missing[*]}"
  # Packages of another architecture (wine32:i386) need it added to dpkg
  # before apt-get update fetches its package lists.
  for p in "${missing[@]}"; do
    case $p in
      *:*)
        if ! grep -qx "${p##*:}" <<<"$(dpkg --print-foreign-architectures)"; then
          as_root dpkg --add-architecture "${p##*:}"
        fi
        ;;
    esac
  done
  apt_update
  # Recommends would add fonts, Gecko and Mono for wine, which console
  # programs never use.
  apt_install "${missing[@]}"
}

# ------------------------------------------------------------------ builds

prefix_complete() {
  [ -f "$prefix/.complete" ] && [ "$(cat "$prefix/.complete")" = "$stamp_text" ] &&
    [ -f "$prefix/include/qrencode.h" ] && [ -f "$prefix/lib/libqrencode.a" ] &&
    [ -f "$prefix/include/png.h" ] && [ -f "$prefix/lib/libpng16.a" ]
}

build_all() {
  local work=$cache/build stage=$cache/prefix.new jobs
  jobs=$(nproc 2>/dev/null || echo 2)
  rm -rf "$work" "$stage"
  mkdir -p "$work"
  tar -xf "$cache/src/$png_tar" -C "$work"
  tar -xf "$cache/src/$qrencode_tar" -C "$work"

  local common=(
    -G Ninja
    -DCMAKE_TOOLCHAIN_FILE="$toolchain"
    -DCMAKE_BUILD_TYPE=Release
    -DCMAKE_INSTALL_PREFIX="$stage"
    -DTESSEL_WIN_DEPS="$stage"
  )
  command -v ninja >/dev/null 2>&1 || common=("${common[@]:2}")

  say "building libpng (static, $host)"
  cmake -S "$work/$png_dir" -B "$work/png-build" "${common[@]}" \
    -DPNG_SHARED=OFF -DPNG_STATIC=ON -DPNG_TESTS=OFF -DPNG_EXECUTABLES=OFF
  cmake --build "$work/png-build" -j "$jobs"
  cmake --install "$work/png-build"

  say "building libqrencode (static library only, $host)"
  build_qrencode_library "$work" "$stage" "$jobs" "${common[@]}"
  publish_prefix "$stage" "$prefix" "$work" "$stamp_text"
}

# -------------------------------------------------------------------- main

install_packages
# A kernel without 32-bit support cannot start wine32's loader, and the wine
# command then takes that loader for 64-bit programs too: wine32 is removed
# again, so that the 64-bit wine keeps working, and the run ends here.
if [ "$win_arch" = win32 ] && [ -x /usr/lib/wine/wine ] &&
  ! /usr/lib/wine/wine --version >/dev/null 2>&1; then
  as_root env DEBIAN_FRONTEND=noninteractive apt-get remove -y -qq wine32:i386 >/dev/null
  die "this machine cannot run 32-bit programs (wine32's loader does not start): wine32:i386 removed again so that the 64-bit wine works"
fi
[ "${2:-}" = --packages ] && exit 0
if prefix_complete; then
  say "$prefix is complete"
  exit 0
fi
fetch_pinned "$cache/src" qrencode
fetch_pinned "$cache/src" libpng1.6
build_all
prefix_complete || die "$prefix is incomplete after the build"
say "installed static libpng and libqrencode for $host into $prefix"
