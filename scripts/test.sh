#!/usr/bin/env bash
# Builds and runs every test: the unit, end-to-end and stress suites of the
# POSIX build, the mutation runs over them (the hand-written list and a
# draw of the mutants of the round's changed lines), the same suite under
# AddressSanitizer and UndefinedBehaviorSanitizer, the fuzz targets for a
# bounded time, the static analysis, the 64- and 32-bit Windows builds under
# Wine, and the Windows release zips.
# Usage: scripts/test.sh [--quick]   (--quick: the POSIX suite only)
set -euo pipefail
cd "$(dirname "$0")/.."

if [ "${1:-}" = "--quick" ]; then
  scripts/deps.sh valgrind
else
  # Every package of the later steps (fuzzing, static analysis, both Windows
  # builds) before minutes of other work: one that cannot be installed ends
  # the run here, with a line that names it. The 32-bit wine is among them:
  # its suite runs below.
  scripts/deps.sh valgrind clang-14 libclang-rt-14-dev clang-tidy-14 cppcheck
  scripts/win-deps.sh win64 --packages
  scripts/win-deps.sh win32 --packages
fi
scripts/posix-deps.sh
jobs=$(nproc)

# Each step's time goes to the log when the next one starts: what the steps
# cost is measured on every run.
step_name=""
step_start=$SECONDS
step() {
  [ -n "$step_name" ] && printf '=== %s: %d s\n' "$step_name" $((SECONDS - step_start))
  step_name=$*
  step_start=$SECONDS
  printf '\n=== %s\n' "$*"
}

step "POSIX build and test suite"
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTESSEL_STATIC_DEPS=ON >/dev/null
cmake --build build -j"$jobs"
(cd build && ctest --output-on-failure -j"$jobs")
[ "${1:-}" = "--quick" ] && exit 0

step "Mutation runs over the POSIX and Wine suites, 90 % killed or more"
# One run, so that the copies and their Windows builds are made once: the
# hand-written list, and a draw of 150 of the mutants of the product lines
# changed since the commit in scripts/mutation-base (the landed main the
# round started from; all of them when there are fewer). The commit under
# test seeds the draw, so nobody chooses it and each commit meets other
# mutants. The draw over the whole code is left out: its time went to these.
scripts/mutate.sh --list --generate --changed "$(cat scripts/mutation-base)" \
  --changed-draw 150 --changed-seed "$(git rev-parse HEAD)" --min-score 90

step "Sanitizer build and test suite"
scripts/test-sanitize.sh

step "Fuzzing, 30 s a target"
scripts/fuzz.sh 30

step "Static analysis"
scripts/lint.sh

step "Windows builds under Wine, 64-bit and 32-bit"
scripts/test-wine.sh win64
scripts/test-wine.sh win32

step "Windows release zips, the same from clean builds"
scripts/test-release.sh

step "All tests passed in $SECONDS s"
