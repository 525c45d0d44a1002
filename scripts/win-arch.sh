#!/usr/bin/env bash
# The two Windows targets, win64 (x86_64) and win32 (i686), and what each one
# uses: sourced by the Windows scripts, which take the target as their first
# argument (win64 when it is left out).
#
# win_programs: the programs every Windows build makes and every release
# ships, each PROGRAM built as PROGRAM.exe.
# shellcheck disable=SC2034
win_programs=(tessel png2bmp tessel-batch)

# win_arch_setup ROOT [ARCH]: sets win_arch, win_host (the mingw-w64
# triplet), win_toolchain, win_build (the build folder, or $TESSEL_WIN_BUILD),
# win_deps_cache (the static libraries' cache, or $TESSEL_WIN_DEPS_CACHE),
# win_packages (the Debian packages it needs) and win_wine_arch (the
# WINEARCH of its test prefix). Unknown targets end the script.

win_arch_setup() {
  local root=$1
  win_arch=${2:-win64}
  case $win_arch in
    win64)
      win_host=x86_64-w64-mingw32
      win_toolchain=$root/cmake/mingw-w64-x86_64.cmake
      win_build=${TESSEL_WIN_BUILD:-$root/build-win}
      win_deps_cache=${TESSEL_WIN_DEPS_CACHE:-$root/.cache/win-deps}
      win_packages=(g++-mingw-w64-x86-64 wine64)
      win_wine_arch=win64
      ;;
    win32)
      win_host=i686-w64-mingw32
      win_toolchain=$root/cmake/mingw-w64-i686.cmake
      win_build=${TESSEL_WIN_BUILD:-$root/build-win32}
      win_deps_cache=${TESSEL_WIN_DEPS_CACHE:-$root/.cache/win32-deps}
      # The 32-bit wine comes from the i386 architecture, which
      # scripts/win-deps.sh adds to dpkg first.
      win_packages=(g++-mingw-w64-i686 wine32:i386)
      win_wine_arch=win32
      ;;
    *)
      printf 'unknown Windows target "%s" (win64 or win32)\n' "$win_arch" >&2
      exit 2
      ;;
  esac
  win_packages+=(libz-mingw-w64-dev mingw-w64-tools wine)
}
