#!/usr/bin/env bash
# The upstream tarballs of libqrencode and libpng, taken from Debian's source
# packages and checked against pinned sums. One place for the pins and the
# fetching, shared by the Windows cross build (scripts/win-deps.sh) and the
# static POSIX build (scripts/posix-deps.sh).
#
# Sourced, it defines the pins and the functions below (set log_tag first to
# prefix its messages). Run, it fetches into a folder:
#   scripts/fetch-sources.sh DIR [qrencode] [libpng1.6]
# A tarball already in DIR with the pinned sum is not fetched again.

# The pins: a changed archive must not slip a different library into a
# program that links it statically. The folders are what the tarballs unpack
# to, for the scripts that source this one.
# shellcheck disable=SC2034
qrencode_tar=qrencode_4.1.1.orig.tar.bz2
qrencode_sum=e455d9732f8041cf5b9c388e345a641fd15707860f928e94507b1961256a6923
qrencode_dir=qrencode-4.1.1
png_tar=libpng1.6_1.6.39.orig.tar.gz
png_sum=a00e9d2f2f664186e4202db9299397f851aea71b36a35e74910b8820e380d441
png_dir=libpng-1.6.39

# shellcheck source=scripts/apt.sh
source "$(dirname "${BASH_SOURCE[0]}")/apt.sh"

say() { printf '%s: %s\n' "${log_tag:-fetch-sources}" "$*"; }
die() { printf '%s: ERROR: %s\n' "${log_tag:-fetch-sources}" "$*" >&2; exit 1; }

as_root() {
  if [ "$(id -u)" -eq 0 ]; then
    "$@"
  elif command -v sudo >/dev/null 2>&1; then
    sudo "$@"
  else
    die "needs root for: $*"
  fi
}

# ------------------------------------------------------------ source index

# The names stay as the first user of these entries made them, so a machine
# that has them already is not given a second copy.
deb_src_list=/etc/apt/sources.list.d/tessel-deb-src.list
deb_src_sources=/etc/apt/sources.list.d/tessel-deb-src.sources

have_source_index() {
  local found
  # Captured first: grep -q leaving early would fail the pipe under pipefail.
  found=$(apt-cache showsrc --only-source qrencode libpng1.6 2>/dev/null || true)
  grep -qx 'Package: qrencode' <<<"$found" && grep -qx 'Package: libpng1.6' <<<"$found"
}

# One-line entries: each "deb" line again as "deb-src".
deb_src_from_lists() {
  local f
  for f in /etc/apt/sources.list /etc/apt/sources.list.d/*.list; do
    if [ ! -f "$f" ] || [ "$f" = "$deb_src_list" ]; then continue; fi
    sed -n -E 's/^[[:space:]]*deb([[:space:]])/deb-src\1/p' "$f"
  done
}

# deb822 entries: each enabled stanza whose Types has "deb" but not
# "deb-src" again with "Types: deb-src", other fields (Signed-By included,
# with its continuation lines) kept as they are.
deb_src_from_sources() {
  local f
  for f in /etc/apt/sources.list.d/*.sources; do
    if [ ! -f "$f" ] || [ "$f" = "$deb_src_sources" ]; then continue; fi
    awk '
      function flush() {
        if (n > 0 && has_deb && !has_src && !disabled) {
          for (i = 1; i <= n; i++) print lines[i]
          print ""
        }
        n = 0; has_deb = 0; has_src = 0; disabled = 0
      }
      /^[[:space:]]*#/ { next }
      /^[[:space:]]*$/ { flush(); next }
      tolower($1) == "types:" {
        for (i = 2; i <= NF; i++) {
          if ($i == "deb") has_deb = 1
          if ($i == "deb-src") has_src = 1
        }
        lines[++n] = "Types: deb-src"
        next
      }
      tolower($1) == "enabled:" && tolower($2) == "no" { disabled = 1 }
      { lines[++n] = $0 }
      END { flush() }
    ' "$f"
  done
}

ensure_source_index() {
  have_source_index && return 0
  if [ ! -e "$deb_src_list" ] && [ ! -e "$deb_src_sources" ]; then
    local list sources
    list=$(deb_src_from_lists)
    sources=$(deb_src_from_sources)
    [ -n "$list$sources" ] || die "no 'deb' entries in /etc/apt to derive 'deb-src' entries from"
    if [ -n "$list" ]; then
      say "adding $deb_src_list"
      printf '# Source entries for scripts/fetch-sources.sh, made from the deb entries.\n%s\n' \
        "$list" | as_root tee "$deb_src_list" >/dev/null
    fi
    if [ -n "$sources" ]; then
      say "adding $deb_src_sources"
      printf '# Source entries for scripts/fetch-sources.sh, made from the deb entries.\n%s\n' \
        "$sources" | as_root tee "$deb_src_sources" >/dev/null
    fi
  fi
  apt_update
  have_source_index || die "apt-get knows no source package qrencode and libpng1.6 even with deb-src entries"
}

# ---------------------------------------------------------------- tarballs

sha256_of() { sha256sum "$1" | cut -d' ' -f1; }

# fetch_source DIR PACKAGE TARBALL SHA256: the upstream tarball of Debian's
# source package PACKAGE, into DIR, checked against its pinned sum.
fetch_source() {
  local dir=$1 package=$2 tarball=$3 want=$4 got
  mkdir -p "$dir"
  if [ ! -f "$dir/$tarball" ]; then
    ensure_source_index
    say "fetching source of $package"
    local sandbox=()
    # As root, apt downloads as the user _apt, who may not write here.
    [ "$(id -u)" -eq 0 ] && sandbox=(-o APT::Sandbox::User=root)
    (cd "$dir" && apt-get "${sandbox[@]}" source --tar-only "$package")
    [ -f "$dir/$tarball" ] ||
      die "apt-get source $package did not bring $tarball (the archive has moved on; update the pinned tarball and sum in scripts/fetch-sources.sh)"
  fi
  got=$(sha256_of "$dir/$tarball")
  if [ "$got" != "$want" ]; then
    die "sha256 mismatch for $dir/$tarball
  expected $want
  got      $got
Remove the file to fetch it again, or check where it came from."
  fi
}

# fetch_pinned DIR NAME: NAME is qrencode or libpng1.6.
fetch_pinned() {
  case $2 in
    qrencode) fetch_source "$1" qrencode "$qrencode_tar" "$qrencode_sum" ;;
    libpng1.6) fetch_source "$1" libpng1.6 "$png_tar" "$png_sum" ;;
    *) die "no pinned source for '$2' (qrencode, libpng1.6)" ;;
  esac
}

# ------------------------------------------------------------------ builds

# build_qrencode_library WORK STAGE JOBS [cmake arguments...]: builds the
# static libqrencode from the tarball unpacked in WORK and puts its header and
# archive into STAGE. The library alone: no command-line tool, so no libpng or
# iconv either. Without pthreads its Reed-Solomon tables lose their mutex,
# which a single-threaded program never needs, and nothing needs a pthread
# library beside it. The header and the archive are copied by hand: the
# project's install step would also put the command-line tool's manual page
# into the prefix.
build_qrencode_library() {
  local work=$1 stage=$2 jobs=$3
  shift 3
  cmake -S "$work/$qrencode_dir" -B "$work/qrencode-build" "$@" \
    -DBUILD_SHARED_LIBS=OFF -DWITH_TOOLS=NO -DWITH_TESTS=NO -DWITHOUT_PNG=YES \
    -DCMAKE_DISABLE_FIND_PACKAGE_Threads=ON -DCMAKE_DISABLE_FIND_PACKAGE_PNG=ON \
    -DCMAKE_DISABLE_FIND_PACKAGE_Iconv=ON
  cmake --build "$work/qrencode-build" -j "$jobs"
  mkdir -p "$stage/include" "$stage/lib"
  cp "$work/$qrencode_dir/qrencode.h" "$stage/include/"
  cp "$work/qrencode-build/libqrencode.a" "$stage/lib/"
}

# publish_prefix STAGE PREFIX WORK STAMP: marks STAGE complete with STAMP and
# puts it in PREFIX's place in one rename, so a broken build never leaves a
# prefix that looks complete.
publish_prefix() {
  printf '%s\n' "$4" >"$1/.complete"
  rm -rf "$2"
  mv "$1" "$2"
  rm -rf "$3"
}

if [ "${BASH_SOURCE[0]}" = "$0" ]; then
  set -euo pipefail
  [ $# -ge 2 ] || { echo "usage: $0 DIR qrencode|libpng1.6..." >&2; exit 2; }
  dest=$1
  shift
  for name in "$@"; do
    fetch_pinned "$dest" "$name"
  done
fi
