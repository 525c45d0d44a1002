#!/usr/bin/env bash
# Benchmarks whole runs of tessel and png2bmp and writes bench/results.md:
# start-up against an empty program, version 40 symbols as PNG and BMP, a
# large conversion, peak memory, and where the instructions go. Then 1,000
# symbols by tessel-batch, by 1,000 tessel processes and by zint's batch mode,
# written to bench/batch-results.md. Then libtessel in one process against
# tessel processes and tessel-batch, written to bench/library-results.md.
# Then the SVG and EMF writers beside the PNG writer, written to
# bench/vector-results.md. Then a small symbol in memory through libtessel
# against a file, against libqrencode and libpng alone, and from Python
# against segno and python-qrcode, written to bench/memory-results.md. Last,
# under wine, a small symbol made through tessel.dll against one tessel.exe
# process, written to bench/wine-results.md.
# Usage: scripts/bench.sh [--batch | --library | --vector | --memory | --wine] [--quick]
#   --batch, --library, --vector, --memory, --wine: that comparison only;
#   --quick: fewer rounds, to try it out
# Builds into build-bench/ (static and shared variants); takes a few minutes.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"
out=$root/build-bench

# hyperfine times the runs, time (/usr/bin/time) reads peak memory, valgrind
# counts instructions.
# zint is the yardstick of the batch comparison, strace shows its system calls;
# segno and python-qrcode are those of the memory comparison.
scripts/deps.sh hyperfine time valgrind zint strace python3-segno python3-qrcode
scripts/posix-deps.sh

batch_only=false
wine_only=false
library_only=false
vector_only=false
memory_only=false
quick=false
pass=()
for arg in "$@"; do
  case $arg in
    --batch) batch_only=true ;;
    --wine) wine_only=true ;;
    --library) library_only=true ;;
    --vector) vector_only=true ;;
    --memory) memory_only=true ;;
    *) [ "$arg" != --quick ] || quick=true; pass+=("$arg") ;;
  esac
done

# tessel.dll against tessel.exe under wine (the 64-bit build): one small
# symbol through the DLL, in a host that loaded it once, against one
# tessel.exe process a symbol, started by the same host with CreateProcess
# and waited for, as a Windows program that uses tessel.exe does. Each round
# times CALLS calls, then CALLS processes; written to bench/wine-results.md.
run_wine_bench() (
  # shellcheck source=scripts/win-arch.sh
  source "$root/scripts/win-arch.sh"
  win_arch_setup "$root" win64
  echo "bench: building tessel.dll and tessel.exe (win64)"
  "$root/scripts/build-win.sh" win64 >/dev/null
  win_test_helpers "$root"
  win_wine_start
  local work=$out/wine-work calls=200 rounds=5 round result dll exe ratio rows="" ratios=""
  local line="-o w.png https://example.com/item/1"
  if $quick; then rounds=2; fi
  windows_path() { local path=${1//\//\\}; printf 'Z:%s' "$path"; }
  rm -rf "$work"
  mkdir -p "$work"
  for round in $(seq "$rounds"); do
    result=$(cd "$work" && wine "$win_build/dll_bench.exe" "$(windows_path "$win_build/tessel.dll")" \
      "$calls" "$(windows_path "$win_build/tessel.exe")" "$line")
    dll=$(awk '$1 == "dll" { print $2 }' <<<"$result")
    exe=$(awk '$1 == "exe" { print $2 }' <<<"$result")
    if [ -z "$dll" ] || [ -z "$exe" ]; then
      echo "bench: dll_bench.exe gave: $result" >&2
      exit 1
    fi
    ratio=$(awk -v d="$dll" -v e="$exe" 'BEGIN { printf "%.1f", e / d }')
    ratios+="$ratio "
    rows+="| $round | $dll ms | $exe ms | ${ratio}x |"$'\n'
  done
  rm -rf "$work"
  local median
  median=$(tr ' ' '\n' <<<"${ratios% }" | sort -g | awk '{ r[NR] = $1 } END { print r[int((NR + 1) / 2)] }')
  {
    echo "# tessel.dll against tessel.exe under wine"
    echo
    echo "Made by \`scripts/bench.sh --wine\`: the 64-bit build under $(wine --version), on"
    echo "$(nproc) cores, $(date -u '+%Y-%m-%d %H:%M') UTC. \`bench/dll_bench.c\` loads tessel.dll once and"
    echo "makes $calls symbols through \`tessel_run\`, then starts $calls \`tessel.exe\` processes with"
    echo "the same command line (\`$line\`), each waited for; time per symbol."
    echo
    echo "| round | tessel.dll | tessel.exe | faster |"
    echo "|---|---|---|---|"
    printf '%s' "$rows"
    echo
    echo "Median of the rounds: tessel.dll is ${median}x faster than a tessel.exe process (target: 10x)."
  } >"$root/bench/wine-results.md"
  echo "bench: wrote bench/wine-results.md"
)
if $wine_only; then
  run_wine_bench
  exit 0
fi

generator=()
command -v ninja >/dev/null 2>&1 && generator=(-G Ninja)
build() {  # build FOLDER STATIC
  local folder=$1 static=$2 gen=()
  # An existing build folder keeps the generator it was made with.
  [ -f "$folder/CMakeCache.txt" ] || gen=("${generator[@]}")
  # RelWithDebInfo: the release optimisation, and the debug information that
  # lets callgrind tell the project's source files from the libraries.
  cmake -S "$root" -B "$folder" "${gen[@]}" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DTESSEL_TESTS=OFF -DTESSEL_STATIC_DEPS="$static" >/dev/null
  cmake --build "$folder" -j "$(nproc 2>/dev/null || echo 2)" --target tessel png2bmp tessel-batch tessel_library >/dev/null
}
echo "bench: building"
build "$out/static" ON

run_batch_bench() {
  rm -rf "$out/batch-work"
  /usr/bin/python3 -B bench/batch_bench.py --tessel "$out/static/tessel" \
    --batch "$out/static/tessel-batch" --work "$out/batch-work" \
    --out "$root/bench/batch-results.md" "${pass[@]}"
  rm -rf "$out/batch-work"
  echo "bench: wrote bench/batch-results.md"
}
run_library_bench() {
  cc -O2 -I "$root/include" -o "$out/library_calls" bench/library_calls.c \
    -L "$out/static" -ltessel -Wl,-rpath,"$out/static"
  rm -rf "$out/library-work"
  /usr/bin/python3 -B bench/library_bench.py --tessel "$out/static/tessel" \
    --batch "$out/static/tessel-batch" --driver "$out/library_calls" --work "$out/library-work" \
    --out "$root/bench/library-results.md" "${pass[@]}"
  rm -rf "$out/library-work"
  echo "bench: wrote bench/library-results.md"
}
run_vector_bench() {
  rm -rf "$out/vector-work"
  /usr/bin/python3 -B bench/vector_bench.py --tessel "$out/static/tessel" --work "$out/vector-work" \
    --out "$root/bench/vector-results.md" "${pass[@]}"
  rm -rf "$out/vector-work"
  echo "bench: wrote bench/vector-results.md"
}
if $vector_only; then
  run_vector_bench
  exit 0
fi
run_memory_bench() {
  cc -O2 -I "$root/include" -o "$out/memory_calls" bench/memory_calls.c \
    -L "$out/static" -ltessel -lqrencode -lpng16 -Wl,-rpath,"$out/static"
  rm -rf "$out/memory-work"
  /usr/bin/python3 -B bench/memory_bench.py --driver "$out/memory_calls" --library "$out/static/libtessel.so" \
    --work "$out/memory-work" --out "$root/bench/memory-results.md"
  rm -rf "$out/memory-work"
  echo "bench: wrote bench/memory-results.md"
}
if $memory_only; then
  run_memory_bench
  exit 0
fi
if $batch_only; then
  run_batch_bench
  exit 0
fi
if $library_only; then
  run_library_bench
  exit 0
fi

build "$out/shared" OFF
cc -O2 -o "$out/empty" bench/empty.c
cc -O2 -o "$out/file_floor" bench/file_floor.c

# The converter's input, made once; the generator writes the same bytes
# every time.
rgb=$out/rgb-4000x3000.png
if [ ! -f "$rgb" ] || [ bench/make_rgb_png.py -nt "$rgb" ]; then
  echo "bench: writing $rgb"
  /usr/bin/python3 -B bench/make_rgb_png.py "$rgb.new" 4000 3000
  mv "$rgb.new" "$rgb"
fi

rm -rf "$out/work"
/usr/bin/python3 -B bench/run_bench.py --root "$root" \
  --static "$out/static" --shared "$out/shared" --empty "$out/empty" --file-floor "$out/file_floor" \
  --rgb-png "$rgb" --work "$out/work" --out "$root/bench/results.md" "${pass[@]}"
rm -rf "$out/work"
echo "bench: wrote bench/results.md"
run_batch_bench
run_library_bench
run_vector_bench
run_memory_bench
run_wine_bench
