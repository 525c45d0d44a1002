#!/usr/bin/env bash
# Exits 0 when this kernel runs 32-bit x86 programs, 1 when it does not (a
# kernel built or booted without IA-32 emulation: wine32's loader then fails
# with "Exec format error", and no 32-bit Windows program can be tested).
# The check runs the smallest 32-bit ELF program there is, 96 bytes that
# call exit(42), so it needs no 32-bit library and no wine.
set -u
probe=$(mktemp)
trap 'rm -f "$probe"' EXIT
# ELF header (52 bytes): class 32, little-endian, executable for the 386,
# entry 0x08048054; one program header (32 bytes) that loads the file at
# 0x08048000; then mov eax, 1; mov ebx, 42; int 0x80.
printf '\177ELF\001\001\001\000\000\000\000\000\000\000\000\000' >"$probe"
printf '\002\000\003\000\001\000\000\000\124\200\004\010\064\000\000\000' >>"$probe"
printf '\000\000\000\000\000\000\000\000\064\000\040\000\001\000\000\000' >>"$probe"
printf '\000\000\000\000' >>"$probe"
printf '\001\000\000\000\000\000\000\000\000\200\004\010\000\200\004\010' >>"$probe"
printf '\140\000\000\000\140\000\000\000\005\000\000\000\000\020\000\000' >>"$probe"
printf '\270\001\000\000\000\273\052\000\000\000\315\200' >>"$probe"
chmod +x "$probe"
"$probe" 2>/dev/null
[ $? -eq 42 ]
