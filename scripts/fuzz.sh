#!/usr/bin/env bash
# Builds the fuzz targets with clang, libFuzzer, AddressSanitizer and
# UndefinedBehaviorSanitizer in build-fuzz/ and runs each of them for a
# bounded time on a copy of its seed corpus (fuzz/corpus/<target>/).
# Usage: scripts/fuzz.sh [seconds per target, default 60]
#
# The repository is not written to: the fuzzers grow a scratch copy of the
# corpus in a temporary folder, which is removed at the end. An input that
# crashes, leaks, hangs or breaks a target's property is saved under
# build-fuzz/crashes/<target>/ and the script fails. To keep a finding as a
# regression case, fix the fault and copy the input into fuzz/corpus/<target>/.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${TESSEL_FUZZ_BUILD:-$root/build-fuzz}
seconds=${1:-60}
targets=(fuzz_command_line fuzz_unescape fuzz_png_reader)

# 0 would mean "no limit" to libFuzzer.
if ! [[ $seconds =~ ^[0-9]+$ ]] || ((10#$seconds == 0)); then
  echo "fuzz: seconds must be a whole number above 0, not '$seconds'" >&2
  exit 2
fi
seconds=$((10#$seconds))

# clang with its libFuzzer and sanitizer runtimes, besides the usual set.
"$root/scripts/deps.sh" clang-14 libclang-rt-14-dev
cc=clang-14
cxx=clang++-14

generator=()
if [ ! -f "$build/CMakeCache.txt" ] && command -v ninja >/dev/null 2>&1; then
  generator=(-G Ninja)
fi
cmake -S "$root" -B "$build" "${generator[@]}" \
  -DCMAKE_C_COMPILER="$cc" -DCMAKE_CXX_COMPILER="$cxx" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DTESSEL_FUZZ=ON -DTESSEL_SANITIZE=ON -DTESSEL_TESTS=OFF >/dev/null
cmake --build "$build" -j "$(nproc 2>/dev/null || echo 2)" --target "${targets[@]}"

work=$(mktemp -d "${TMPDIR:-/tmp}/tessel-fuzz.XXXXXX")
trap 'rm -rf "$work"' EXIT

failed=()
for target in "${targets[@]}"; do
  crashes=$build/crashes/$target
  mkdir -p "$crashes" "$work/$target/corpus" "$work/$target/tmp"
  cp -R "$root/fuzz/corpus/$target/." "$work/$target/corpus/"
  extra=()
  [ "$target" = fuzz_png_reader ] && extra+=(-dict="$root/fuzz/png.dict")
  # Room for a token just past the longest one kept (32,767 characters).
  [ "$target" = fuzz_command_line ] && extra+=(-max_len=33000)
  before=$(find "$crashes" -type f | wc -l)

  echo "fuzz: $target for ${seconds}s"
  status=0
  # cwd and TMPDIR in the scratch folder: whatever a target or libFuzzer
  # writes lands there, crash artefacts excepted.
  (cd "$work/$target" &&
    TMPDIR="$work/$target/tmp" \
    ASAN_OPTIONS=detect_leaks=1:abort_on_error=1:symbolize=1 \
    UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1:abort_on_error=1 \
    "$build/$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
      -print_final_stats=1 -artifact_prefix="$crashes/" "${extra[@]}" corpus \
      >"$work/$target.log" 2>&1) || status=$?

  after=$(find "$crashes" -type f | wc -l)
  grep -E '^(stat::number_of_executed_units|stat::peak_rss_mb|Done [0-9]+ runs)' \
    "$work/$target.log" | sed "s/^/fuzz: $target: /" || true
  if [ "$status" -ne 0 ] || [ "$after" -gt "$before" ]; then
    echo "fuzz: $target FAILED (exit $status); its last lines:" >&2
    tail -n 60 "$work/$target.log" >&2
    cp "$work/$target.log" "$build/$target.log"
    failed+=("$target")
  fi
done

if [ ${#failed[@]} -gt 0 ]; then
  echo "fuzz: findings in ${failed[*]}; inputs in $build/crashes/, logs in $build/*.log" >&2
  exit 1
fi
echo "fuzz: no findings in ${targets[*]} (${seconds}s each)"
