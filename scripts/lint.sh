#!/usr/bin/env bash
# Static analysis of the system's own code (settings, payload, frontend, runlog, util, pngwriter,
# bmpconv, platform/posix, png2bmp, batch, library; not the tests): clang-tidy 14 with the
# checked-in .clang-tidy, and cppcheck. Both work from the compile commands of
# a clang configuration in build-lint/ (configured only, nothing is built).
# Fails on any finding of either.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${TESSEL_LINT_BUILD:-$root/build-lint}
jobs=$(nproc 2>/dev/null || echo 2)

"$root/scripts/deps.sh" clang-14 clang-tidy-14 cppcheck

generator=()
if [ ! -f "$build/CMakeCache.txt" ] && command -v ninja >/dev/null 2>&1; then
  generator=(-G Ninja)
fi
# The tests are left out of the compile commands, and so out of the lint.
cmake -S "$root" -B "$build" "${generator[@]}" \
  -DCMAKE_C_COMPILER=clang-14 -DCMAKE_CXX_COMPILER=clang++-14 \
  -DCMAKE_EXPORT_COMPILE_COMMANDS=ON -DTESSEL_TESTS=OFF >/dev/null

own_code="$root/(settings|payload|frontend|runlog|util|pngwriter|bmpconv|vectorwriter|platform/posix|png2bmp|batch|library)/"
failed=()

echo "lint: clang-tidy"
# One process per file: clang 14's analyzer carries va_list state from one
# file to the next within a process and then reports false findings.
if ! run-clang-tidy-14 -p "$build" -quiet -j "$jobs" "$own_code" >"$build/clang-tidy.txt" 2>&1; then
  failed+=(clang-tidy)
fi
# Only the findings: run-clang-tidy also echoes counts of suppressed warnings.
grep -E -A3 '(warning|error): ' "$build/clang-tidy.txt" | sed 's/\x1b\[[0-9;]*m//g' || true

echo "lint: cppcheck"
mkdir -p "$build/cppcheck"
if ! cppcheck --project="$build/compile_commands.json" --cppcheck-build-dir="$build/cppcheck" \
    --enable=warning,style,performance,portability --std=c++20 --library=posix \
    --inline-suppr --suppress=missingIncludeSystem --error-exitcode=1 --quiet \
    -j "$jobs" --template='{file}:{line}:{column}: {severity}: {message} [{id}]'; then
  failed+=(cppcheck)
fi

if [ ${#failed[@]} -gt 0 ]; then
  echo "lint: findings from ${failed[*]}" >&2
  exit 1
fi
echo "lint: clean"
