#!/usr/bin/env bash
# The settings key of the real program: the first start creates it, empty, below the path
# its version resource names, and reports nothing; values stored by hand stay as they are.
. "$(dirname "$0")/support/e2e_common.bash"
e2e_setup "$1"

key='HKCU\Software\Orvanta, Inc.\Zentrel32\2.0'
reg() { "$QV_WINE" reg "$@" 2>/dev/null | tr -d '\r'; }
# The value lines of the key (name, type, data), without the key's own line.
values() { reg query "$key" | grep -E '^\s+\S+\s+REG_' || true; }

"$QV_WINE" reg delete 'HKCU\Software\Orvanta, Inc.' /f >/dev/null 2>&1 || true
reg query "$key" >/dev/null && fail "the key exists before the first start"

start_program "$build/Zentp32.exe"
drive wait Zentp32 >/dev/null || fail "the main window did not appear"
if drive wait "#32770" "Quorvane 32" 500 >/dev/null; then fail "a message box came up"; fi
reg query "$key" >/dev/null || fail "the first start did not create $key"
[ -z "$(values)" ] || fail "the first start stored values:"$'\n'"$(values)"
drive command Zentp32 102
drive gone Zentp32 "" 5000 || fail "Exit did not close the window"
expect_exit_code 0
echo "first start created $key with no values"

"$QV_WINE" reg add "$key" /v webcheck /d 'cgi-bin/by-hand' /f >/dev/null 2>&1
"$QV_WINE" reg add "$key" /v encodecrlf /t REG_DWORD /d 176 /f >/dev/null 2>&1
before=$(values)
start_program "$build/Zentp32.exe"
drive wait Zentp32 >/dev/null || fail "the main window did not appear the second time"
drive key Zentp32 0x79
drive gone Zentp32 "" 5000 || fail "F10 did not close the window"
expect_exit_code 0
[ "$(values)" = "$before" ] || fail "values changed by a start:"$'\n'"$before"$'\n'"now:"$'\n'"$(values)"
grep -q 'cgi-bin/by-hand' <<<"$before" || fail "the value stored by hand is missing"
echo "values stored by hand are kept"
