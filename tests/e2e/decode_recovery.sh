#!/usr/bin/env bash
# The decoder's recovery dialogs in the real program. A UU file with an invalid line raises
# "Decode Error" with the problem and the line; each choice, confirmed or declined, does
# what it says to the output; Abort and Enter too. "Retry Decoding" offers the header
# styles, retries with the one chosen, aborts on Enter, and tries every style before asking
# the user to piece the files together. "Encode or Decode?" comes up for plain files chosen
# together, and Encode, Decode and Cancel do what they say. Screenshots of the dialogs go to
# e2e-screenshots/.
. "$(dirname "$0")/support/e2e_common.bash"
. "$(dirname "$0")/support/stored_values.bash"
e2e_setup "$1"
# Files chosen together are decoded one by one, not joined into one input first.
forget_values_at_exit decodejoin
"$QV_WINE" reg add "$settings_key" /v decodejoin /t REG_DWORD /d 0 /f >/dev/null 2>&1
command -v uuencode >/dev/null && command -v uudecode >/dev/null ||
  fail "missing peer tools uuencode/uudecode (Debian package sharutils)"

work="$build/e2e-decode-recovery"
shots="$build/e2e-screenshots"
rm -rf "$work"
mkdir -p "$work" "$shots"
win() { winepath -w "$1" 2>/dev/null; }
snap() { import -window root "$shots/$1.png"; }
# Dialog texts come from the driver with their line breaks as the two characters \r\n.
crlf='\r\n'

IDM_DECODE_FILE=100
IDM_EXIT=102
IDYES=6
IDNO=7

# --- the inputs --------------------------------------------------------------------------

LC_ALL=C awk 'BEGIN { for (i = 0; i < 360; i++) printf "%c", (i * 37 + 11) % 256 }' >"$work/data.bin"
(cd "$work" && uuencode data.bin data.bin) >"$work/good.uue"
# A lower-case letter is no UU character: line 4 (the third data line) becomes invalid.
awk 'NR == 4 { $0 = substr($0, 1, 5) "a" substr($0, 7) } { print }' "$work/good.uue" >"$work/bad.uue"
bad_line=$(sed -n 4p "$work/bad.uue")
# Skipping the invalid line leaves out its 45 bytes (90 to 134).
{ head -c 90 "$work/data.bin"; tail -c +136 "$work/data.bin"; } >"$work/skipped.bin"
for i in $(seq 1 30); do echo "plain line $i, nothing encoded here"; done >"$work/plain.txt"
mkdir -p "$work/batch"
for f in a b c; do sed "s/plain/$f:/" "$work/plain.txt" >"$work/batch/$f.txt"; done

# --- driving the program -----------------------------------------------------------------

# "Decode from File" on one file: the open dialog gets the file's full path.
decode_file() {
  drive command Zentp32 $IDM_DECODE_FILE
  drive settext Decode 0x47c "$(win "$1")" || fail "no open dialog"
  drive answer Decode 1 >/dev/null
}

# A fresh copy of bad.uue in its own folder, decoded up to the Decode Error dialog.
decode_bad_copy() {
  local folder="$work/$1"
  mkdir -p "$folder"
  cp "$work/bad.uue" "$folder/bad.uue"
  decode_file "$folder/bad.uue"
  drive answer "Decode Output To" 1 >/dev/null || fail "$1: no dialog for the output's name"
}

expect_text() {
  [ "$2" = "$3" ] || fail "$1: got \"$2\", expected \"$3\""
}

summary_of() { echo "bad.uue Apparently UU Decoded as${crlf}$(win "$work/$1/data.bin")${crlf}${crlf}$2"; }
skipped_remark="Possibly not all data included in decoding."
attempted_remark="Decode attempted in spite of integrity errors."
aborted="UU Decode of bad.uue Aborted"
skip_warning="You have chosen to skip decoding of places where encoding integrity rules have been violated. This may help in decoding a multiple part format which cannot be automatically detected. However, it is also possible that the decoded file is corrupted as a result because all areas which should normally be decoded are not."
decode_warning="You have chosen to attempt decoding in spite of violations in the encoding integrity rules. The decoded file may be corrupted as a result because the assumption of how to decode may be inaccurate."
confirmation() { echo "*** Warning ***${crlf}${crlf}$1${crlf}${crlf}Proceed as indicated?"; }

# The output of a confirmed choice: the skipped bytes left out, or the line decoded anyway
# (its 45 bytes may be wrong; every other byte is right).
check_output() {
  local out="$work/$1/data.bin"
  case $2 in
    skip) cmp -s "$out" "$work/skipped.bin" || fail "$1: the output is not the input without the invalid line" ;;
    decode)
      [ "$(stat -c %s "$out")" = 360 ] || fail "$1: the output is not 360 bytes long"
      cmp -s <(head -c 90 "$out") <(head -c 90 "$work/data.bin") || fail "$1: the bytes before the line differ"
      cmp -s <(tail -c 225 "$out") <(tail -c 225 "$work/data.bin") || fail "$1: the bytes after the line differ"
      ;;
  esac
}

check_no_output() {
  [ "$(ls "$work/$1")" = bad.uue ] || fail "$1: left $(ls "$work/$1" | tr '\n' ' ')"
}

cd "$work"
start_program "$build/Zentp32.exe"
drive wait Zentp32 >/dev/null || fail "the main window did not appear"

# --- Decode Error ------------------------------------------------------------------------

decode_bad_copy first
drive wait "#32770" "Decode Error" >/dev/null || fail "no Decode Error dialog"
snap decode_error
problem=$(drive answer "Decode Error" 602)
expect_text "the problem" "$problem" "Input File: bad.uue${crlf}Line 4: Invalid UU Encoded Data!${crlf}Invalid encoded data byte (0x61).${crlf}Offending Line Follows within Curly Brackets:${crlf}${crlf}{ $bad_line }"
drive wait "#32770" "Quorvane 32" >/dev/null || fail "no confirmation"
snap decode_error_confirmation
expect_text "the confirmation" "$(drive answer "Quorvane 32" $IDYES)" "$(confirmation "$skip_warning")"
expect_text "the summary" "$(drive answer "Quorvane 32" 1)" "$(summary_of first "$skipped_remark")"
check_output first skip
echo "Decode Error: the problem text and the offending line; Skip This Line confirmed"

for choice in 602:skip 605:skip 603:decode 604:decode; do
  id=${choice%%:*} kind=${choice##*:}
  warning=$skip_warning remark=$skipped_remark
  [ "$kind" = decode ] && warning=$decode_warning remark=$attempted_remark
  if [ "$id" != 602 ]; then
    decode_bad_copy "yes$id"
    drive answer "Decode Error" "$id" >/dev/null || fail "$id: no Decode Error dialog"
    expect_text "$id Yes" "$(drive answer "Quorvane 32" $IDYES)" "$(confirmation "$warning")"
    expect_text "$id summary" "$(drive answer "Quorvane 32" 1)" "$(summary_of "yes$id" "$remark")"
    check_output "yes$id" "$kind"
  fi
  decode_bad_copy "no$id"
  drive answer "Decode Error" "$id" >/dev/null || fail "$id: no Decode Error dialog"
  expect_text "$id No" "$(drive answer "Quorvane 32" $IDNO)" "$(confirmation "$warning")"
  expect_text "$id declined" "$(drive answer "Quorvane 32" 1)" "$aborted"
  check_no_output "no$id"
done
echo "Decode Error: each choice confirmed does what it says; declined, the decode is aborted"

decode_bad_copy abort
drive answer "Decode Error" 200 >/dev/null || fail "no Decode Error dialog to abort"
expect_text "Abort" "$(drive answer "Quorvane 32" 1)" "$aborted"
check_no_output abort
decode_bad_copy enter
drive dialogkey "Decode Error" 13
expect_text "Enter" "$(drive answer "Quorvane 32" $IDYES)" "$(confirmation "$skip_warning")"
drive answer "Quorvane 32" 1 >/dev/null
check_output enter skip
echo "Decode Error: Abort aborts without a question; Enter asks the skip warning"

# --- Retry Decoding ----------------------------------------------------------------------

cannot_find="Unable to Determine File Format for $(win "$work/plain.txt").${crlf}Cannot Find Any Encoding Header Information."
decode_file "$work/plain.txt"
drive wait "#32770" "Retry Decoding" >/dev/null || fail "no Retry Decoding dialog"
snap retry_decoding
expect_text "the failure" "$(drive controls "Retry Decoding" | awk '$1 == 240' | cut -d' ' -f9-)" "$cannot_find"
items=$(drive items "Retry Decoding" 188)
expected_items="* Single File
  Comp.binaries
  SimTel
  Alt.binaries 1
  Alt.binaries 2
  Alt.binaries 3
  Alt.binaries 4
  UNIX shell (shar)
  X-File
  KOLTAR v2.0
  Wincode v2.3
  POST V1.2.0
  POST V2.0.1
  xmitBin
  bitftp
  AOL
  Squirrel v3.0
  R.E.M."
expect_text "the styles" "$items" "$expected_items"
drive select "Retry Decoding" 188 X-File || fail "cannot choose X-File"
drive answer "Retry Decoding" 1 >/dev/null
# The second pass looks for X-File headers only, finds none and asks again.
drive wait "#32770" "Retry Decoding" >/dev/null || fail "no second Retry Decoding dialog"
status=$(drive children Zentp32 | awk '$1 == 201' | cut -d' ' -f9-)
expect_text "the retry's status" "$status" "Looking for X-File Header in plain.txt ..."
drive dialogkey "Retry Decoding" 13
drive gone "#32770" "Retry Decoding" 5000 || fail "Enter did not end Retry Decoding"
if drive wait "#32770" "Quorvane 32" 500 >/dev/null; then fail "a message followed the abort"; fi
echo "Retry Decoding: the failure, rows 3 to 20 with Single File chosen, a retry as X-File, Enter aborts"

decode_file "$work/plain.txt"
drive answer "Retry Decoding" 210 >/dev/null || fail "no Retry Decoding dialog for Try All"
drive wait "#32770" "Quorvane 32" 20000 >/dev/null || fail "Try All ended without a message"
snap try_all_message
expect_text "Try All" "$(drive answer "Quorvane 32" 1)" "Unable to Determine File Format for $(win "$work/plain.txt").${crlf}You must manually piece together the files in${crlf}sequential order and strip out any email or${crlf}usenet header data before you can retry decoding."
echo "Retry Decoding: Try All Formats ends with the piece-together message"

# --- Encode or Decode? -------------------------------------------------------------------

# Three plain files chosen together: the first is cancelled, the second decoded on (and the
# retry aborted), the third encoded instead.
drive command Zentp32 $IDM_DECODE_FILE
drive settext Decode 0x47c "$(win "$work/batch")" || fail "no open dialog for the batch"
# OK on a folder's name opens the folder; the dialog stays.
drive dialog Decode 1 >/dev/null
drive settext Decode 0x47c '"a.txt" "b.txt" "c.txt"'
drive answer Decode 1 >/dev/null
question() { echo "$(win "$work/batch/$1") apparently cannot be decoded.${crlf}You may instead encode the file (choose Encode),${crlf}continue trying to decode the file (choose Decode),${crlf}or cancel the operation on this file (choose Cancel)."; }
drive wait "#32770" "Encode or Decode?" >/dev/null || fail "no Encode or Decode? dialog"
snap encode_or_decode
expect_text "a.txt's question" "$(drive answer "Encode or Decode?" 2)" "$(question a.txt)"
expect_text "Cancel" "$(drive answer "Quorvane 32" 1)" "Auto Decode of a.txt Aborted"
expect_text "b.txt's question" "$(drive answer "Encode or Decode?" 251)" "$(question b.txt)"
expect_text "Decode" "$(drive answer "Retry Decoding" 2)" \
  "Unable to Determine File Format for $(win "$work/batch/b.txt").${crlf}Cannot Find Any Encoding Header Information."
expect_text "c.txt's question" "$(drive answer "Encode or Decode?" 250)" "$(question c.txt)"
drive answer "Encode Output To" 1 >/dev/null || fail "Encode did not ask for the output's name"
expect_text "Encode" "$(drive answer "Quorvane 32" 1)" "c.txt Successfully UU Encoded to${crlf}$(win "$work/batch/c.uue")"
[ "$(ls "$work/batch" | tr '\n' ' ')" = "a.txt b.txt c.txt c.uue " ] || fail "the batch left $(ls "$work/batch")"
mkdir -p "$work/peer"
(cd "$work/peer" && uudecode "$work/batch/c.uue") || fail "uudecode refused c.uue"
cmp -s "$work/peer/c.txt" "$work/batch/c.txt" || fail "uudecode did not get c.txt back from c.uue"
echo "Encode or Decode?: Cancel aborts, Decode goes on to Retry Decoding, Encode encodes (uudecode agrees)"

drive command Zentp32 $IDM_EXIT
expect_exit_code 0
