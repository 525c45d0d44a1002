#!/usr/bin/env bash
# Builds and runs every test: the unit, end-to-end and stress suites of the
# POSIX build, the mutation runs over them (the hand-written list, a
# generated set and every mutant of the last change), the same suite under
# AddressSanitizer and UndefinedBehaviorSanitizer, the fuzz targets for a
# bounded time, the static analysis, the 64- and 32-bit Windows builds under
# Wine, and the Windows release zips.
# Usage: scripts/test.sh [--quick]   (--quick: the POSIX suite only)
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/deps.sh valgrind
scripts/posix-deps.sh
jobs=$(nproc)

step() { printf '\n=== %s\n' "$*"; }

step "POSIX build and test suite"
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTESSEL_STATIC_DEPS=ON >/dev/null
cmake --build build -j"$jobs"
(cd build && ctest --output-on-failure -j"$jobs")
[ "${1:-}" = "--quick" ] && exit 0

step "Mutation runs over the POSIX and Wine suites, 90 % killed or more"
# One run, so that the copies and their Windows builds are made once: the
# hand-written list, mutants nobody picked (a fixed draw, so that a run is
# repeatable) and every mutant of the product lines changed since the commit
# in scripts/mutation-base (the last issue's change). The draw is 40, down
# from 80, to leave the changed lines the time that keeps this script under
# 18 minutes.
scripts/mutate.sh --list --generate 40 --seed 20261208 --changed "$(cat scripts/mutation-base)" \
  --min-score 90

step "Sanitizer build and test suite"
scripts/test-sanitize.sh

step "Fuzzing, 10 s a target"
scripts/fuzz.sh 10

step "Static analysis"
scripts/lint.sh

step "Windows builds under Wine, 64-bit and 32-bit"
scripts/test-wine.sh win64
scripts/test-wine.sh win32

step "Windows release zips, the same from clean builds"
scripts/test-release.sh

step "All tests passed"
