#!/usr/bin/env bash
# The two Windows targets, win64 (x86_64) and win32 (i686), and what each one
# uses: sourced by the Windows scripts, which take the target as their first
# argument (win64 when it is left out).
#
# win_programs: the programs every Windows build makes and every release
# ships, each PROGRAM built as PROGRAM.exe.
# shellcheck disable=SC2034
win_programs=(tessel png2bmp tessel-batch)
# win_library: what a build makes for programs that call Tessel in their own
# process, and a release ships: the DLL, its import libraries for mingw-w64
# (libtessel.dll.a) and for Microsoft's linker (tessel.lib), and the .def
# file; tessel.h comes from include/.
win_library=(tessel.dll libtessel.dll.a tessel.lib tessel.def)

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
      win_runs_here=1
      win_wine_arch=win64
      ;;
    win32)
      win_host=i686-w64-mingw32
      win_toolchain=$root/cmake/mingw-w64-i686.cmake
      win_build=${TESSEL_WIN_BUILD:-$root/build-win32}
      win_deps_cache=${TESSEL_WIN_DEPS_CACHE:-$root/.cache/win32-deps}
      # The 32-bit wine comes from the i386 architecture, which
      # scripts/win-deps.sh adds to dpkg first. A kernel that runs no 32-bit
      # program could not start it, and wine would then take its loader for
      # 64-bit programs too: there the 32-bit build is made but not run.
      win_packages=(g++-mingw-w64-i686)
      win_runs_here=0
      if "$root/scripts/runs-32bit.sh"; then
        win_packages+=(wine32:i386)
        win_runs_here=1
      fi
      win_wine_arch=win32
      ;;
    *)
      printf 'unknown Windows target "%s" (win64 or win32)\n' "$win_arch" >&2
      exit 2
      ;;
  esac
  # llvm: llvm-dlltool makes tessel.lib; clang and lld build the test
  # program that is linked against it as Microsoft's tools would.
  win_packages+=(libz-mingw-w64-dev mingw-w64-tools wine llvm clang lld)
}

# win_test_helpers ROOT: builds into $win_build (after win_arch_setup) the
# test programs of tests/wine/: run_child.exe, which starts a Windows program
# with an exact command line, dll_host.exe, which loads tessel.dll and calls
# it as an embedding program does, linked_host.exe, linked with its mingw-w64
# import library, memory_example.exe, docs/library.md's memory.c, msvc_host.exe, linked with tessel.lib, and emf_player.exe,
# which plays metafiles with GDI; and bench/dll_bench.c's dll_bench.exe.
# dll_host.exe keeps the frame pointer and pops each call's arguments at once,
# so that its stack check sees exactly what the called function left. The
# linked hosts are made anew each time: the import libraries may have changed.
win_test_helpers() {
  local root=$1
  if [ ! "$win_build/run_child.exe" -nt "$root/tests/wine/run_child.cpp" ]; then
    "$win_host-g++" -std=c++20 -O2 -Wall -Wextra -Werror -static \
      "$root/tests/wine/run_child.cpp" -o "$win_build/run_child.exe"
  fi
  if [ ! "$win_build/dll_host.exe" -nt "$root/tests/wine/dll_host.c" ] ||
    [ ! "$win_build/dll_host.exe" -nt "$root/include/tessel.h" ]; then
    "$win_host-gcc" -std=c11 -O2 -Wall -Wextra -Werror -fno-defer-pop -fno-omit-frame-pointer \
      -I "$root/include" "$root/tests/wine/dll_host.c" -lntdll -o "$win_build/dll_host.exe"
  fi
  if [ ! "$win_build/emf_player.exe" -nt "$root/tests/wine/emf_player.c" ]; then
    "$win_host-gcc" -std=c11 -O2 -Wall -Wextra -Werror \
      "$root/tests/wine/emf_player.c" -lgdi32 -o "$win_build/emf_player.exe"
  fi
  "$win_host-gcc" -std=c11 -O2 -Wall -Wextra -Werror -I "$root/include" \
    "$root/bench/dll_bench.c" -o "$win_build/dll_bench.exe"
  # No stdcall fixup: the linker would otherwise bind a decorated name to a
  # plain one by itself, and an import library without the decorated names
  # would pass.
  "$win_host-gcc" -std=c11 -O2 -Wall -Wextra -Werror -I "$root/include" \
    "$root/tests/wine/linked_host.c" -L "$win_build" -ltessel -Wl,--disable-stdcall-fixup \
    -o "$win_build/linked_host.exe"
  sed -n '/^<!-- tested: memory.c -->$/,/^```$/{/^```\|^<!--/!p}' "$root/docs/library.md" >"$win_build/memory_example.c"
  "$win_host-gcc" -std=c11 -O2 -Wall -Wextra -Werror -I "$root/include" "$win_build/memory_example.c" \
    -L "$win_build" -ltessel -o "$win_build/memory_example.exe"
  # msvc_host.exe, built as Microsoft's tools build a program and linked with
  # tessel.lib; the one Windows function it calls comes from an import
  # library made here, since the Windows SDK's is not at hand.
  local machine=i386:x86-64 target=x86_64 stdcall=
  if [ "$win_arch" = win32 ]; then
    machine=i386 target=i686 stdcall=@4
  fi
  printf 'LIBRARY kernel32.dll\nEXPORTS\n  ExitProcess%s\n' "$stdcall" >"$win_build/msvc-kernel32.def"
  llvm-dlltool -m "$machine" -k -d "$win_build/msvc-kernel32.def" -l "$win_build/msvc-kernel32.lib"
  clang --target="$target-pc-windows-msvc" -O2 -Wall -Wextra -Werror -I "$root/include" \
    -I "$win_build/generated" -c "$root/tests/wine/msvc_host.c" -o "$win_build/msvc_host.obj"
  lld-link /nologo /entry:start /subsystem:console /nodefaultlib /out:"$win_build/msvc_host.exe" \
    "$win_build/msvc_host.obj" "$win_build/tessel.lib" "$win_build/msvc-kernel32.lib"
}

# win_wine_start: exports the environment of a wine prefix of this build's
# own ($win_build/wine-prefix, of $win_wine_arch), starts its server and
# stops it when the script exits.
win_wine_start() {
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
  trap win_wine_stop EXIT
  # One server for all runs, instead of one started and stopped per program;
  # it may still be running from an interrupted run.
  wineserver -p 2>/dev/null || true
  # A new prefix is made on the first start (several seconds); done here so
  # that its messages stay out of the output.
  wineboot --init >/dev/null 2>&1
}

win_wine_stop() {
  wineserver -k 2>/dev/null || true
  wineserver -w 2>/dev/null || true
}
