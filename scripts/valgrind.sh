#!/usr/bin/env bash
# Runs tessel and png2bmp end to end under valgrind's memcheck: a PNG symbol,
# a BMP symbol, a structured series, a text output, failures of both programs
# (a payload past its standard's version among them), and -h; then
# tessel-batch on a batch of the same kinds of lines and an over-long line;
# then 700 calls of libtessel in one process (tessel_call_loop). Fails
# on any memory error, on any definite or indirect leak, on a descriptor left
# open at exit (the run log of the programs aside), and on any exit code
# other than the one the run should end with.
# Stops at the first run that fails.
# Usage: scripts/valgrind.sh [build folder holding the programs, default build/]
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=$(cd "${1:-$root/build}" && pwd)
tessel=$build/tessel
png2bmp=$build/png2bmp
batch=$build/tessel-batch
call_loop=$build/tessel_call_loop
for program in "$tessel" "$png2bmp" "$batch" "$call_loop"; do
  [ -x "$program" ] || { echo "valgrind: $program is missing; build it first" >&2; exit 1; }
done
command -v valgrind >/dev/null 2>&1 || { echo "valgrind: not installed (Debian: valgrind)" >&2; exit 1; }

work=$(mktemp -d "${TMPDIR:-/tmp}/tessel-valgrind.XXXXXX")
trap 'rm -rf "$work"' EXIT
mkdir "$work/run" "$work/tmp"
cd "$work/run"
export TMPDIR=$work/tmp

# check EXPECTED_STATUS NAME PROGRAM ARGS...: one run under memcheck.
check() {
  local expected=$1 name=$2 status=0
  shift 2
  valgrind --quiet --tool=memcheck --leak-check=full --show-leak-kinds=definite,indirect \
    --errors-for-leak-kinds=definite,indirect --error-exitcode=99 --track-fds=yes \
    --log-file="$work/$name.valgrind" "$@" >"$work/$name.out" 2>&1 || status=$?
  # A descriptor open at exit but the run log and those handed down fails.
  awk '/FILE DESCRIPTORS: [0-9]+ open/ { next }
       /^==[0-9]+== *$/ { in_fd = 0; next }
       /Open file descriptor [0-9]+:/ { in_fd = 1; fd = $0; next }
       in_fd && /<inherited from parent>/ { fd = ""; next }
       in_fd { if (fd != "" && fd !~ /Tessel\.log$/) print fd; fd = ""; next }
       { print }' \
    "$work/$name.valgrind" >"$work/$name.errors"
  if [ "$status" -ne "$expected" ] || [ -s "$work/$name.errors" ]; then
    echo "valgrind: $name FAILED: exit $status, expected $expected" >&2
    cat "$work/$name.valgrind" "$work/$name.out" >&2
    # The first failure is enough: the runs after it (the library loop alone
    # takes most of the time) would only delay the verdict.
    exit 1
  else
    echo "valgrind: $name ok"
  fi
}

series_data=$(printf '0123456789%.0s' 1 2 3 4 5 6 7 8 9 10 11 12)
check 0 png "$tessel" -z 4 -l H -o sym.png "Hello, valgrind"
check 0 bmp "$tessel" -t bmp -o sym.bmp "Hello\\sBMP\\x21"
check 0 series "$tessel" -s -v 1 -o part.png "$series_data"
check 0 series_bmp "$tessel" -s -v 1 -t bmp -o part.bmp "$series_data"
check 0 txt "$tessel" -t txt -o sym.txt X
check 0 help "$tessel" -h
# The exit codes as a POSIX parent sees them: 1101 % 256, 1104 % 256, 1105 % 256, 1106 % 256.
check 77 missing_folder "$tessel" -o missing/sym.png X
check 80 refused "$tessel" -v 41 -o big.png X
check 81 no_data "$tessel" -o sym.png
check 82 bmp_missing_folder "$tessel" -t bmp -o missing/sym.bmp X
# An EPC code of 331 bytes that its designator pushes past version 13.
epc_letters=$(printf '\\xC3\\xA4%.0s' $(seq 75))
check 80 epc_past_version "$tessel" -p epc -e 26 -o epc.png \
  "name=${epc_letters:0:$((69 * 8))}a\\niban=DE89370400440532013000\\ntext=$epc_letters"
check 0 png2bmp "$png2bmp" sym.png copy.bmp
# A palette shorter than its bit depth allows: the rest of the BMP's is zeros.
check 0 png2bmp_palette "$png2bmp" "$root/tests/data/pngsuite/basn3p04.png" pal.bmp
head -c 120 sym.png >damaged.png
check 1 png2bmp_damaged "$png2bmp" damaged.png copy2.bmp
check 1 png2bmp_missing "$png2bmp" no-such.png copy3.bmp

# Every line's buffers, libpng and libqrencode objects and converter image
# are released before the next one; the first failure (1105) is the status.
{
  printf -- '-z 4 -l H -o b1.png Hello\r\n'
  printf -- '-t bmp -o b2.bmp BMP\\x21\n\n'
  printf -- '-s -v 1 -t bmp -o b3.bmp %s\n' "$series_data"
  printf -- '-o b4.png\n-h\n-v 41 -o b5.png X\n-t bmp -o missing/b6.bmp X\n-o b9.png one two\n'
  printf -- '-o b7.png %s\n' "$(head -c 40000 /dev/zero | tr '\0' x)"
  printf -- '-o b8.png %s' "$(head -c 260 /dev/zero | tr '\0' y)"  # a token past its slot
} >batch.txt
check 81 batch "$batch" batch.txt
# 100 of each of the loop's seven calls: a leak or a descriptor left by any
# one of them shows; the sanitizer build runs the loop's full 10,000.
check 0 library_loop "$call_loop" 700

leftovers=$(ls -A "$TMPDIR")
if [ -n "$leftovers" ]; then
  echo "valgrind: temporary files left behind: $leftovers" >&2
  exit 1
fi
echo "valgrind: all runs clean"
