#!/usr/bin/env bash
# Benchmarks whole runs of tessel and png2bmp and writes bench/results.md:
# start-up against an empty program, version 40 symbols as PNG and BMP, a
# large conversion, peak memory, and where the instructions go. Then 1,000
# symbols by tessel-batch, by 1,000 tessel processes and by zint's batch mode,
# written to bench/batch-results.md. Then libtessel in one process against
# tessel processes and tessel-batch, written to bench/library-results.md.
# Usage: scripts/bench.sh [--batch] [--library] [--quick]
#   --batch, --library: that comparison only; --quick: fewer rounds, to try it out
# Builds into build-bench/ (static and shared variants); takes a few minutes.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"
out=$root/build-bench

# hyperfine times the runs, time (/usr/bin/time) reads peak memory, valgrind
# counts instructions.
# zint is the yardstick of the batch comparison, strace shows its system calls.
scripts/deps.sh hyperfine time valgrind zint strace
scripts/posix-deps.sh

batch_only=false
library_only=false
pass=()
for arg in "$@"; do
  case $arg in
    --batch) batch_only=true ;;
    --library) library_only=true ;;
    *) pass+=("$arg") ;;
  esac
done

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
