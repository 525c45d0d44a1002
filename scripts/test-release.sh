#!/usr/bin/env bash
# Tests the Windows releases: for each target, the zip made in its build
# folder must be byte for byte the zip of two builds from clean folders of
# other names, and must hold stripped programs and tessel.dll that kept their
# resources (and the DLL its exports) and name no build folder, the DLL's
# header, import library and .def file, a README.txt with CRLF line ends, and
# SHA256SUMS that match.
# Usage: scripts/test-release.sh [win64|win32...]   (both when left out)
# The dependency caches are reused, so a clean build costs only the
# project's own compilation.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
# shellcheck source=scripts/win-arch.sh
source "$root/scripts/win-arch.sh"
[ $# -gt 0 ] || set -- win64 win32

clean_folders=("$root/build-release-check-1" "$root/build-release-check-2")
trap 'rm -rf "${clean_folders[@]}"' EXIT
fail() { printf 'test-release %s: FAILED: %s\n' "$arch" "$*" >&2; exit 1; }

for arch in "$@"; do
  win_arch_setup "$root" "$arch"
  (unset TESSEL_WIN_BUILD; "$root/scripts/release-win.sh" "$arch" >/dev/null)
  zip_name=tessel-$arch.zip
  sums=("$(sha256sum <"$win_build/$zip_name")")
  for folder in "${clean_folders[@]}"; do
    rm -rf "$folder"
    TESSEL_WIN_BUILD=$folder "$root/scripts/release-win.sh" "$arch" >/dev/null
    sums+=("$(sha256sum <"$folder/$zip_name")")
  done
  for sum in "${sums[@]:1}"; do
    [ "$sum" = "${sums[0]}" ] ||
      fail "zips differ: $win_build/$zip_name ${clean_folders[*]/%//$zip_name}: ${sums[*]}"
  done

  unpacked=$root/build-release-check-1/unpacked
  rm -rf "$unpacked"
  mkdir -p "$unpacked"
  /usr/bin/python3 -m zipfile -e "$win_build/$zip_name" "$unpacked"
  dist=$unpacked/tessel-$arch
  (cd "$dist" && sha256sum --quiet -c SHA256SUMS) || fail "SHA256SUMS do not match"
  ! grep -q $'[^\r]$' "$dist/README.txt" || fail "README.txt has a line without CRLF"
  for file in "${win_programs[@]/%/.exe}" tessel.dll; do
    [ -f "$dist/$file" ] || fail "no $file"
    sections=$("$win_host-objdump" -h "$dist/$file")
    ! grep -q ' \.debug' <<<"$sections" || fail "$file has debug information"
    grep -q ' \.rsrc ' <<<"$sections" || fail "$file lost its resources"
  done
  for file in include/tessel.h lib/libtessel.dll.a lib/tessel.lib lib/tessel.def; do
    [ -f "$dist/$file" ] || fail "no $file"
  done
  # The DLL exports the functions of tessel.h by their plain names (stripping keeps
  # the export table) and needs only Windows' own DLLs.
  headers=$("$win_host-objdump" -p "$dist/tessel.dll")
  exports=$(sed -n '/\[Ordinal\/Name Pointer\] Table/,/^$/p' <<<"$headers")
  [ "$(grep -o 'tessel_[a-z]*$' <<<"$exports" | tr '\n' ' ')" = "tessel_encode tessel_image tessel_modules tessel_run tessel_version " ] ||
    fail "tessel.dll does not export exactly the functions of tessel.h: $exports"
  [ "$(grep 'DLL Name:' <<<"$headers" | awk '{ print $3 }' | tr '\n' ' ')" = "KERNEL32.dll msvcrt.dll " ] ||
    fail "tessel.dll imports more than KERNEL32.dll and msvcrt.dll: $(grep 'DLL Name:' <<<"$headers")"
  for folder in "$root" "${clean_folders[@]}"; do
    ! grep -r -q -a -F "$folder" "$dist" || fail "a file names the folder $folder"
  done
  echo "test-release $arch: three builds give $zip_name with sha256 ${sums[0]%% *}"
done
