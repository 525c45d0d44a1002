#!/usr/bin/env bash
# Builds and runs a document's examples (the block after "<!-- tested: NAME -->") against
# libtessel.so; each symbol they make must decode to the example's bytes. Usage: check_examples.sh docs/library.md BUILD
set -euo pipefail
doc=$(realpath "$1")
build=$(realpath "$2")
work=$(mktemp -d "${TMPDIR:-/tmp}/tessel-examples.XXXXXX")
trap 'rm -rf "$work"' EXIT
export LD_LIBRARY_PATH=$build
expected=$(printf 'Z\303\274rich "Bahnhofstrasse 1"\r\nC:\\Kunden\\4711' | od -An -tx1)
for name in example.c example.cs example.py; do
  mkdir "$work/$name"
  cd "$work/$name"
  awk -v tag="<!-- tested: $name -->" '$0 == tag { on = 1; next }
    on && /^```/ { if (inside) exit; inside = 1; next }
    inside { print }' "$doc" >"$name"
  case $name in
    *.c) cc -Wall -Wextra -Werror -I "$(dirname "$doc")/../include" -o example example.c -L "$build" -ltessel && ./example ;;
    *.cs) mcs -nologo -out:example.exe example.cs && mono example.exe ;;
    *.py) /usr/bin/python3 example.py ;;
  esac
  for png in address.png quoted.png; do
    [ "$(zbarimg -q --raw --nodbus -Sbinary "$png" | od -An -tx1)" = "$expected" ] ||
      { echo "$name: $png does not decode to the example's bytes" >&2; exit 1; }
  done
done
