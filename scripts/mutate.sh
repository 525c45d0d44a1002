#!/usr/bin/env bash
# Mutation run over the product code: each mutant of scripts/mutants.txt is
# applied alone to a private copy of the tree (the working tree is never
# touched), rebuilt incrementally and run against the tests of its folder.
# Prints killed, survived and failed-to-build per folder, the score and each
# survivor; fails when a row of the list no longer matches the sources, or
# when the score is below --min-score.
# Usage: scripts/mutate.sh [--min-score PERCENT] [--only TEXT] [--keep] [--check]
set -euo pipefail
cd "$(dirname "$0")/.."
exec python3 scripts/mutate.py "$@"
