#!/usr/bin/env bash
# Builds everything with AddressSanitizer (leaks included) and
# UndefinedBehaviorSanitizer in build-asan/ and runs the whole test suite
# there: the unit tests, the fuzz corpus replays, and the end-to-end and
# stress tests, which run the sanitized tessel and png2bmp as child processes.
# Usage: scripts/test-sanitize.sh [extra ctest arguments...]
#
# Any sanitizer report aborts the process that made it (SIGABRT), in the test
# programs and in every child they start, so it fails the test whatever exit
# code the test expected: png2bmp's own failure code is 1, which a report
# that merely exited would look like.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${TESSEL_ASAN_BUILD:-$root/build-asan}
jobs=$(nproc 2>/dev/null || echo 2)

generator=()
if [ ! -f "$build/CMakeCache.txt" ] && command -v ninja >/dev/null 2>&1; then
  generator=(-G Ninja)
fi
# Debug (-O0): exact stack traces, and no optimiser warnings that the
# sanitizers' instrumentation makes up (GCC 12 in <regex> at -O2).
cmake -S "$root" -B "$build" "${generator[@]}" -DCMAKE_BUILD_TYPE=Debug \
  -DTESSEL_SANITIZE=ON -DTESSEL_TESTS=ON >/dev/null
cmake --build "$build" -j "$jobs"

export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1:strict_string_checks=1:detect_stack_use_after_return=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1:abort_on_error=1
(cd "$build" && ctest --output-on-failure -j "$jobs" "$@")
