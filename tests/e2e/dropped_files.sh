#!/usr/bin/env bash
# Files dropped on the real program (a WM_DROPFILES whose block the driver writes into the
# program): by name, x.zip is encoded and x.UUE decoded; with joining on, three parts decode
# as one and the joined file is gone, and one file is decoded alone; a join that fails leaves
# nothing; cancelling the second job of a drop deletes only that job's output, never the
# first job's.
. "$(dirname "$0")/support/e2e_common.bash"
e2e_setup "$1"
. "$(dirname "$0")/support/job_settings.bash"
use_job_settings

work="$build/e2e-dropped-files"
rm -rf "$work"
mkdir -p "$work/zip" "$work/uue" "$work/join" "$work/broken" "$work/cancel"
win() { winepath -w "$1" 2>/dev/null; }
readonly ID_CANCEL=200
summary() { drive dialog "Quorvane 32" 1 "$@"; }
no_joined_file_in() { [ -z "$(ls "$1" | grep -i '^znt')" ]; }

# The program reads its settings when it starts: each case starts it with its own.
start_with() {
  store_value decodemethod "$1"
  store_value decodejoin "$2"
  start_program "$build/Zentp32.exe"
  drive wait Zentp32 >/dev/null || fail "the main window did not appear"
}
close_program() {
  drive key Zentp32 0x79
  expect_exit_code 0
}

# Decode method 180 (by name): x.zip is encoded, x.UUE decoded as UU.
start_with 180 0
head -c 3000 /dev/urandom >"$work/zip/x.zip"
head -c 4000 /dev/urandom >"$work/x.src"
(cd "$work" && uuencode x.src x.dat >uue/x.UUE)
drive drop Zentp32 "$(win "$work/zip/x.zip")" "$(win "$work/uue/x.UUE")" || fail "could not drop"
first=$(summary) || fail "no summary for x.zip"
[ "$first" = "x.zip Successfully UU Encoded to\r\n$(win "$work/zip/x.uue")" ] || fail "x.zip: $first"
second=$(summary) || fail "no summary for x.UUE"
case "$second" in "x.UUE Successfully UU Decoded as\r\n$(win "$work/uue/x.dat")"*) ;; *) fail "x.UUE: $second" ;; esac
(cd "$work/zip" && uudecode -o x.back x.uue) && cmp -s "$work/zip/x.zip" "$work/zip/x.back" ||
  fail "x.uue does not decode to x.zip"
cmp -s "$work/x.src" "$work/uue/x.dat" || fail "x.UUE did not decode to x.dat"
echo "by name: x.zip encoded, x.UUE decoded"

close_program

# Joining on: three parts, dropped in order, decode as one; the joined file is gone.
start_with 181 1
head -c 20000 /dev/urandom >"$work/whole.src"
(cd "$work" && uuencode whole.src whole.bin >whole.uue && split -n l/3 whole.uue join/part. && rm whole.uue)
parts=()
for part in "$work/join"/part.*; do parts+=("$(win "$part")"); done
[ "${#parts[@]}" = 3 ] || fail "the test needs three parts"
drive drop Zentp32 "${parts[@]}" || fail "could not drop the parts"
joined=$(summary) || fail "no summary for the joined parts"
case "$joined" in *"Successfully UU Decoded as\r\n$(win "$work/join/whole.bin")"*) ;; *) fail "joined: $joined" ;; esac
summary 1000 >/dev/null && fail "a second summary for one joined input"
cmp -s "$work/whole.src" "$work/join/whole.bin" || fail "the joined parts did not decode to whole.bin"
no_joined_file_in "$work/join" || fail "the joined file is left: $(ls "$work/join")"
[ "$(ls "$work/join" | grep -c '^part\.')" = 3 ] || fail "the dropped parts were not left in place"
echo "joining: three dropped parts decoded as one, no joined file left"

# One dropped file with joining on is decoded alone: no joined file is made for it.
mkdir -p "$work/alone"
(cd "$work" && uuencode x.src alone.dat >alone/alone.uue)
drive drop Zentp32 "$(win "$work/alone/alone.uue")" || fail "could not drop one file"
alone=$(summary) || fail "no summary for one dropped file"
[ "${alone%%Successfully*}" = "alone.uue " ] || fail "one dropped file was not decoded as itself: $alone"
cmp -s "$work/x.src" "$work/alone/alone.dat" || fail "one dropped file did not decode"
echo "joining on, one file: decoded alone"

# A join that cannot read one of its inputs: reported, and neither a joined file nor an
# output is left.
cp "$work/join"/part.aa "$work/broken/p1"
cp "$work/join"/part.ac "$work/broken/p3"
drive drop Zentp32 "$(win "$work/broken/p1")" "$(win "$work/broken/missing")" "$(win "$work/broken/p3")" ||
  fail "could not drop the broken set"
report=$(summary) || fail "no report for a join with a missing input"
[ "$report" = "Can't Read Temporary File $(win "$work/broken/missing") for Append Operation." ] ||
  fail "failed join: $report"
report=$(summary) || fail "the failed join does not name its part"
[ "$report" = "Join Error for Part 2." ] || fail "failed join, second report: $report"
report=$(summary 1000) && fail "a third report for one failed join: $report"
[ "$(ls "$work/broken" | sort | tr '\n' ' ')" = "p1 p3 " ] || fail "a failed join left files: $(ls "$work/broken")"
echo "a failed join leaves nothing behind"

close_program

# a.uue and b.txt dropped, b's job cancelled: b's partial output is deleted, a's output kept.
start_with 180 0
head -c 2500 /dev/urandom >"$work/a.src"
(cd "$work" && uuencode a.src a.zip >cancel/a.uue)
make_long_input "$work/cancel/b.txt"
drive drop Zentp32 "$(win "$work/cancel/a.uue")" "$(win "$work/cancel/b.txt")" || fail "could not drop a and b"
summary >/dev/null || fail "no summary for a.uue"
cmp -s "$work/a.src" "$work/cancel/a.zip" || fail "a.uue did not decode to a.zip"
for _ in $(seq 1 200); do [ -f "$work/cancel/b.uue" ] && break; sleep 0.05; done
[ -f "$work/cancel/b.uue" ] || fail "b's job wrote no output (it ended too soon?)"
drive command Zentp32 $ID_CANCEL
aborted=$(summary) || fail "no summary after cancelling b's job"
[ "$aborted" = "UU Encode of b.txt Aborted" ] || fail "after cancelling b: $aborted"
[ ! -e "$work/cancel/b.uue" ] || fail "b's partial output is left"
cmp -s "$work/a.src" "$work/cancel/a.zip" || fail "cancelling b's job deleted a's output"
echo "cancelling b's job kept a.zip and deleted b's output"
close_program
