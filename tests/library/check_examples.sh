#!/usr/bin/env bash
# Builds and runs a document's examples (the block after "<!-- tested: NAME -->") against
# libtessel.so; each symbol they make must decode to the example's bytes, and the images the
# memory examples print (raw, or as a data: URI first) must be the file that the tessel program
# in BUILD writes for the same switches and data. Usage: check_examples.sh docs/library.md BUILD
set -euo pipefail
doc=$(realpath "$1")
build=$(realpath "$2")
work=$(mktemp -d "${TMPDIR:-/tmp}/tessel-examples.XXXXXX")
trap 'rm -rf "$work"' EXIT
export LD_LIBRARY_PATH=$build
expected=$(printf 'Z\303\274rich "Bahnhofstrasse 1"\r\nC:\\Kunden\\4711' | od -An -tx1)
memory=https://example.com/invoice/4711
for name in example.c example.cs example.py memory.c memory.cs memory.py; do
  mkdir "$work/$name"
  cd "$work/$name"
  awk -v tag="<!-- tested: $name -->" '$0 == tag { on = 1; next }
    on && /^```/ { if (inside) exit; inside = 1; next }
    inside { print }' "$doc" >"$name"
  case $name in
    *.c) cc -Wall -Wextra -Werror -I "$(dirname "$doc")/../include" -o example "$name" -L "$build" -ltessel
         ./example >out ;;
    *.cs) mcs -nologo -r:System.Drawing -out:example.exe "$name"
          mono example.exe >out ;;
    *.py) /usr/bin/python3 "$name" >out ;;
  esac
  case $name in
    example.*) decode=(address.png quoted.png) ;;
    *) decode=()
       "$build/tessel" -l M -o file.png "$memory"
       if [ "$name" = memory.c ]; then cp out memory.png; else head -n1 out | sed 's/^data:image\/png;base64,//' | base64 -d >memory.png; fi
       cmp -s memory.png file.png || { echo "$name: the image in memory is not tessel's file" >&2; exit 1; }
       expected=$(printf %s "$memory" | od -An -tx1)
       [ ! -f label.png ] || decode=(label.png) ;;
  esac
  for png in "${decode[@]}"; do
    [ "$(zbarimg -q --raw --nodbus -Sbinary "$png" | od -An -tx1)" = "$expected" ] ||
      { echo "$name: $png does not decode to the example's bytes" >&2; exit 1; }
  done
done
