#!/usr/bin/env bash
# Mutation run over the product code: each mutant of scripts/mutants.txt is
# applied alone to a private copy of the tree (the working tree is never
# touched), rebuilt incrementally and run against the tests of its folder.
# Prints killed, survived and failed-to-build per folder, the score and each
# survivor; fails when a row of the list no longer matches the sources, or
# when the score is below --min-score.
# Mutants of the files only Windows compiles (platform/win32/) are built by
# each copy's 64-bit Windows build and judged by the Wine suite.
# Usage: scripts/mutate.sh [--min-score PERCENT] [--only TEXT] [--keep] [--check] [--jobs N]
#                          [--results FILE]   (a stopped run goes on where it stopped)
#        scripts/mutate.sh --generate [N] [--seed S] [...]   (mutants nobody picked)
#        scripts/mutate.sh --generate --changed BASE [...]  (all of the lines changed since BASE)
#        scripts/mutate.sh --generate --changed BASE --changed-draw N --changed-seed S [...]
set -euo pipefail
cd "$(dirname "$0")/.."
if [[ " $* " != *" --check "* ]]; then
  # The copy uses the dependencies' prefix that build/ found, so build/ is
  # configured first when it is not yet.
  if [ ! -f build/CMakeCache.txt ]; then
    scripts/posix-deps.sh
    cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTESSEL_STATIC_DEPS=ON >/dev/null
  fi
  # The Windows build's toolchain, wine and static libraries (once made, a
  # run checks them and builds nothing). The 32-bit build judges only the
  # mutants that the 64-bit tests leave alive in code only it compiles; a
  # machine without it runs the rest, and such a mutant fails the run.
  scripts/win-deps.sh win64
  scripts/win-deps.sh win32 ||
    echo "mutate: no 32-bit Windows build here; the mutants only it can judge fail the run" >&2
fi
exec python3 scripts/mutate.py "$@"
