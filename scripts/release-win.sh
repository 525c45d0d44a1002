#!/usr/bin/env bash
# Makes the Windows release: build-win/tessel-win64.zip, holding a folder
# tessel-win64 with tessel.exe, png2bmp.exe, README.md and, under licenses/,
# the licences of the libraries linked into the programs, taken from the
# very sources they were built from.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${TESSEL_WIN_BUILD:-$root/build-win}
zip_file=$build/tessel-win64.zip

"$root/scripts/build-win.sh"

if ! command -v zip >/dev/null 2>&1; then
  sudo=()
  [ "$(id -u)" -eq 0 ] || sudo=(sudo)
  "${sudo[@]}" apt-get update -qq
  "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends zip
fi

# The tarballs the libraries were built from, checked against their pins
# (and fetched again if the cache lost them).
log_tag=release-win
# shellcheck source=scripts/fetch-sources.sh
source "$root/scripts/fetch-sources.sh"
sources=${TESSEL_WIN_DEPS_CACHE:-$root/.cache/win-deps}/src
fetch_pinned "$sources" libpng1.6
fetch_pinned "$sources" qrencode
png_tar=$sources/$png_tar
qrencode_tar=$sources/$qrencode_tar
zlib_h=/usr/x86_64-w64-mingw32/include/zlib.h
[ -f "$zlib_h" ] || die "$zlib_h is missing (package libz-mingw-w64-dev)"

stage=$build/release
dist=$stage/tessel-win64
rm -rf "$stage" "$zip_file"
mkdir -p "$dist/licenses"
cp "$build/tessel.exe" "$build/png2bmp.exe" "$root/README.md" "$dist/"

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
tar_member "$png_tar" LICENSE >"$dist/licenses/libpng-LICENSE.txt"
tar_member "$qrencode_tar" COPYING >"$dist/licenses/libqrencode-COPYING.txt"
# zlib's licence is the opening comment of its header.
sed -n '1,/\*\//p' "$zlib_h" >"$dist/licenses/zlib-LICENSE.txt"
grep -q 'Permission is granted to anyone' "$dist/licenses/zlib-LICENSE.txt" ||
  die "the opening comment of $zlib_h is not zlib's licence"

# -X: no Unix owners or permissions, which mean nothing on Windows.
(cd "$stage" && zip -q -r -X "$zip_file" tessel-win64)
rm -rf "$stage"
echo "release-win: $zip_file"
unzip -l "$zip_file" 2>/dev/null || true
