#!/usr/bin/env bash
# The General (F5), Encode (F6) and Decode (F7) configuration dialogs of the real program:
# they show the stored values, couple their controls, OK changes this run only, and
# "Save as Default" stores only its own group, read back after a restart. Screenshots of
# each dialog are kept in e2e-screenshots/.
. "$(dirname "$0")/support/e2e_common.bash"
e2e_setup "$1"
. "$(dirname "$0")/support/stored_values.bash"
general="minimizewhenrun stayiconwhendone usedefaultnames overwriteexisting nostatusmessages"
encode="encodetype encodecrlf encodeoutputsize encodemethod encodechecksum encodedirselect encodedir"
decode="decodejoin decodeautodetect decodetype decodetestchecksum decodemethod decodedirselect decodedir"
forget_values_at_exit $general $encode $decode
forget_stored_values_now() { local v; for v in $general $encode $decode; do
  "$QV_WINE" reg delete "$settings_key" /v "$v" /f >/dev/null 2>&1 || true; done; }
forget_stored_values_now

shots="$build/e2e-screenshots"
mkdir -p "$shots"
reg() { "$QV_WINE" reg "$@" 2>/dev/null | tr -d '\r'; }
set_number() { "$QV_WINE" reg add "$settings_key" /v "$1" /t REG_DWORD /d "$2" /f >/dev/null 2>&1; }
# The names of the values stored under the key, sorted, on one line.
stored_names() { reg query "$settings_key" | awk '$2 ~ /^REG_/ {print $1}' | sort | tr '\n' ' '; }
stored_number() { local hex; hex=$(reg query "$settings_key" /v "$1" | awk -v n="$1" '$1 == n {print $3}'); [ -n "$hex" ] && echo $((hex)); }

# control TITLE ID: "enabled checked text" of one control of the open dialog.
control() { drive state "$1" | awk -v id="$2" '$1 == id {$1 = ""; print substr($0, 2)}'; }
expect_control() {
  local got
  got=$(control "$1" "$2")
  [ "$got" = "$3" ] || fail "$1, control $2: '$got', expected '$3'"
}
open_dialog() {  # KEY TITLE
  drive key Zentp32 "$1"
  drive wait "#32770" "$2" >/dev/null || fail "key $1 did not open \"$2\""
}
close_dialog() {  # TITLE BUTTON
  drive dialog "$1" "$2" >/dev/null || fail "\"$1\" is not open"
  drive gone "#32770" "$1" 5000 || fail "\"$1\" did not close"
}
start() {
  start_program "$build/Zentp32.exe"
  drive wait Zentp32 >/dev/null || fail "the main window did not appear"
}
stop() {
  drive key Zentp32 0x79
  drive gone Zentp32 "" 5000 || fail "F10 did not close the window"
  expect_exit_code 0
}

# Stored by hand: BinHex with a multi-part style and checksums; a chosen decode style.
set_number encodemethod 185
set_number encodetype 7
set_number encodechecksum 1
set_number decodeautodetect 0
set_number decodetype 18
start

E="Encode Configuration"
open_dialog 0x75 "$E"
expect_control "$E" 188 "0 0 Single File"   # BinHex: one file, no style to choose
expect_control "$E" 166 "0 0 60000"
expect_control "$E" 174 "0 0 &Generate Checksums on Encoded Output"
expect_control "$E" 185 "1 1 &BinHex"
import -window root "$shots/config_encode_binhex.png"
drive click "$E" 182
expect_control "$E" 188 "1 0 Single File"
drive select "$E" 188 "UNIX shell (shar)" || fail "no shell archive style in the list"
expect_control "$E" 176 "0 1 UN&IX"
expect_control "$E" 175 "0 0 &DOS/Windows/Mac"
expect_control "$E" 174 "0 0 &Generate Checksums on Encoded Output"
expect_control "$E" 166 "1 0 60000"
import -window root "$shots/config_encode_shar.png"
drive select "$E" 188 "SimTel" || fail "no SimTel style in the list"
expect_control "$E" 175 "1 1 &DOS/Windows/Mac"
expect_control "$E" 174 "1 0 &Generate Checksums on Encoded Output"
drive settext "$E" 166 100
drive click "$E" 1
warning=$(drive dialog "Quorvane 32" 1) || fail "no warning for the size 100"
[ "$warning" = "Output Size Must be between 4500 and 1048576." ] || fail "size warning '$warning'"
expect_control "$E" 166 "1 0 60000"       # the dialog stays, with the size put right
drive settext "$E" 166 25000
close_dialog "$E" 1
[ -z "$(stored_names | tr ' ' '\n' | grep -E 'encodeoutputsize|encodecrlf')" ] || fail "OK stored values: $(stored_names)"
open_dialog 0x75 "$E"
expect_control "$E" 166 "1 0 25000"       # in force for this run
expect_control "$E" 188 "1 0 SimTel"
close_dialog "$E" 2
echo "Encode: stored values shown, couplings hold, size held in range, OK for this run only"

G="General Configuration"
open_dialog 0x74 "$G"
expect_control "$G" 172 "1 0 No Status &Messages"
drive click "$G" 172
import -window root "$shots/config_general.png"
close_dialog "$G" 189
[ "$(stored_number nostatusmessages)" = 1 ] || fail "Save as Default did not store nostatusmessages"
names=$(stored_names)
for v in $general; do grep -qw "$v" <<<"$names" || fail "General saved without $v: $names"; done
for v in encodeoutputsize encodecrlf decodejoin; do
  grep -qw "$v" <<<"$names" && fail "General's Save as Default stored $v"
done
echo "General: Save as Default stored its group only"

D="Decode Configuration"
open_dialog 0x76 "$D"
expect_control "$D" 177 "1 0 &Automatic Detection of Decode File Format"
expect_control "$D" 188 "1 0 AOL"
drive click "$D" 177
expect_control "$D" 188 "0 0 AOL"
drive click "$D" 152
drive settext "$D" 150 'C:\decoded'
import -window root "$shots/config_decode.png"
close_dialog "$D" 189
[ "$(stored_number decodeautodetect)" = 1 ] || fail "decodeautodetect not stored"
[ "$(stored_number decodedirselect)" = 152 ] || fail "decodedirselect not stored"
grep -qw encodeoutputsize <<<"$(stored_names)" && fail "Decode's Save as Default stored the Encode group"
stop
echo "Decode: Save as Default stored its group only"

# A new run: the saved groups are back, the size chosen with OK is not.
start
open_dialog 0x75 "$E"
expect_control "$E" 166 "0 0 60000"
expect_control "$E" 185 "1 1 &BinHex"
close_dialog "$E" 2
open_dialog 0x76 "$D"
expect_control "$D" 177 "1 1 &Automatic Detection of Decode File Format"
expect_control "$D" 150 "1 0 C:\\decoded"
close_dialog "$D" 2
open_dialog 0x74 "$G"
expect_control "$G" 172 "1 1 No Status &Messages"
close_dialog "$G" 2
stop
echo "after a restart: saved groups kept, OK's size gone"
