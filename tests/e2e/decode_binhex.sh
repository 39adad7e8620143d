#!/usr/bin/env bash
# BinHex in the real program: a file from macutils binhex given with /N decodes to the data
# fork beside the input; given without /N, the header's information box comes first.
. "$(dirname "$0")/support/e2e_common.bash"
e2e_setup "$1"
command -v binhex >/dev/null || fail "missing peer tool binhex (Debian package macutils)"

work="$build/e2e-decode-binhex"
rm -rf "$work"
mkdir -p "$work/plain"
win() { winepath -w "$1" 2>/dev/null; }
banner="(This file must be converted with BinHex 4.0)"

for i in $(seq 1 120); do echo "line $i of the text that is carried in the data fork"; done >"$work/notes.txt"
(cd "$work" && binhex -d notes.txt | sed "1s/.*/$banner/" >notes.hqx)

# /N: the data fork beside the input, and the program gone.
cp "$work/notes.hqx" "$work/plain/notes.hqx"
start_program "$build/Zentp32.exe" /N "$(win "$work/plain/notes.hqx")"
expect_exit_code 0
drive gone Zentp32 "" 2000 || fail "a window is left after /N notes.hqx"
cmp -s "$work/notes.txt" "$work/plain/notes.txt" || fail "/N notes.hqx did not decode to the data fork"
echo "/N notes.hqx decodes to the data fork"

# Without /N the header's information box comes first, then the question for the output's
# name; the data fork is written there.
rm -rf "$work/asked"
mkdir -p "$work/asked"
cp "$work/notes.hqx" "$work/asked/notes.hqx"
start_program "$build/Zentp32.exe" "$(win "$work/asked/notes.hqx")"
info=$(drive dialog "Quorvane 32" 1) || fail "no header information box"
[ "$info" = "BinHex Header Information:\r\n\r\nFile Name:\tnotes.txt\r\nFile Type: \tTEXT\r\nFile Creator:\tMACA\r\nFile Flags: \t0\r\nData size: \t$(stat -c %s "$work/notes.txt")\r\nResource size:\t0" ] ||
  fail "header box: $info"
drive dialog "Decode Output To" 1 >/dev/null || fail "no dialog for the output's name"
for _ in $(seq 1 50); do cmp -s "$work/notes.txt" "$work/asked/notes.txt" && break; sleep 0.2; done
cmp -s "$work/notes.txt" "$work/asked/notes.txt" || fail "the asked decode did not write the data fork"
# One input given on the command line: the program closes by itself when it is done.
drive gone Zentp32 "" 5000 || fail "the window stayed open after its one input"
expect_exit_code 0
echo "without /N: the header box, the output's name, the data fork"
