#!/usr/bin/env bash
# Makes the Windows release of one target: build-win/tessel-win64.zip or
# build-win32/tessel-win32.zip, holding a folder tessel-win64 (tessel-win32)
# with the programs and tessel.dll stripped of their debug information,
# include/tessel.h, lib/ with the DLL's import libraries and .def file,
# README.txt (the Windows user's guide, made from docs/windows.md and the
# sections of other documents it names), SHA256SUMS and, under licenses/,
# Tessel's own licence and the licences of the libraries linked into the
# programs, taken from the very sources they were built from.
# Usage: scripts/release-win.sh [win64|win32]   (win64 when left out)
#
# The same commit gives the same zip, byte for byte: the programs carry no
# time or build folder, and every zip entry is dated at the last commit's
# time, or at $SOURCE_DATE_EPOCH when that is set.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
# shellcheck source=scripts/win-arch.sh
source "$root/scripts/win-arch.sh"
arch=win64
case ${1:-} in win64 | win32) arch=$1; shift ;; esac
win_arch_setup "$root" "$arch"
build=$win_build
name=tessel-$arch
zip_file=$build/$name.zip

"$root/scripts/build-win.sh" "$arch"

log_tag="release-win $arch"
# shellcheck source=scripts/fetch-sources.sh
source "$root/scripts/fetch-sources.sh"

if [ -z "${SOURCE_DATE_EPOCH:-}" ]; then
  SOURCE_DATE_EPOCH=$(git -C "$root" log -1 --format=%ct 2>/dev/null) ||
    die "not a git checkout: set SOURCE_DATE_EPOCH to the release's time"
fi
version=$(sed -n 's/^#define TESSEL_VERSION_TEXT "\(.*\)"$/\1/p' "$build/generated/tessel_version.h")
[ -n "$version" ] || die "no version in $build/generated/tessel_version.h"

# The tarballs the libraries were built from, checked against their pins
# (and fetched again if the cache lost them).
sources=$win_deps_cache/src
fetch_pinned "$sources" libpng1.6
fetch_pinned "$sources" qrencode
png_tar=$sources/$png_tar
qrencode_tar=$sources/$qrencode_tar
zlib_h=/usr/$win_host/include/zlib.h
[ -f "$zlib_h" ] || die "$zlib_h is missing (package libz-mingw-w64-dev)"

stage=$build/release
dist=$stage/$name
rm -rf "$stage" "$zip_file"
mkdir -p "$dist/licenses"
for program in "${win_programs[@]}"; do
  # strip writes the PE header anew, dated now unless SOURCE_DATE_EPOCH says
  # otherwise: 0, no date, as the linker leaves it.
  SOURCE_DATE_EPOCH=0 "$win_host-strip" --strip-all -o "$dist/$program.exe" "$build/$program.exe"
done
# What a program that calls Tessel in its own process needs: the DLL beside
# the programs, the header, and what its linker takes.
SOURCE_DATE_EPOCH=0 "$win_host-strip" --strip-all -o "$dist/tessel.dll" "$build/tessel.dll"
mkdir -p "$dist/include" "$dist/lib"
cp "$root/include/tessel.h" "$dist/include/"
cp "$build/libtessel.dll.a" "$build/tessel.lib" "$build/tessel.def" "$dist/lib/"
/usr/bin/python3 "$root/scripts/windows-guide.py" "$root/docs/windows.md" "$version" "${arch#win}" \
  >"$dist/README.txt"

# tar_member TARBALL NAME: the member NAME of TARBALL's top folder, on
# standard output.
tar_member() {
  local list member
  list=$(tar -tf "$1")
  member=$(grep -E "^[^/]+/$2\$" <<<"$list" || true)
  member=${member%%$'\n'*}
  [ -n "$member" ] || die "$1 holds no $2"
  tar -xOf "$1" "$member"
}
cp "$root/LICENSE" "$dist/licenses/tessel-LICENSE.txt"
tar_member "$png_tar" LICENSE >"$dist/licenses/libpng-LICENSE.txt"
tar_member "$qrencode_tar" COPYING >"$dist/licenses/libqrencode-COPYING.txt"
# zlib's licence is the opening comment of its header.
sed -n '1,/\*\//p' "$zlib_h" >"$dist/licenses/zlib-LICENSE.txt"
grep -q 'Permission is granted to anyone' "$dist/licenses/zlib-LICENSE.txt" ||
  die "the opening comment of $zlib_h is not zlib's licence"
# CRLF line ends, which every Notepad shows as lines.
sed -i 's/\r*$/\r/' "$dist"/licenses/*.txt

# CRLF, for Notepad; sha256sum -c reads it as well.
sums=$(cd "$dist" && find . -type f | sed 's|^\./||' | LC_ALL=C sort | xargs sha256sum)
printf '%s\r\n' "${sums//$'\n'/$'\r\n'}" >"$dist/SHA256SUMS"

/usr/bin/python3 "$root/scripts/release-zip.py" "$dist" "$zip_file" "$SOURCE_DATE_EPOCH"
echo "release-win $arch: $zip_file"
/usr/bin/python3 -m zipfile -l "$zip_file"
