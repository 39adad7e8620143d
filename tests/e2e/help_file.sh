#!/usr/bin/env bash
# The help file beside the program: without it the program says so and ends with exit
# code 2, as any refused run; with it, a folder whose name contains ".ini" does not confuse the help path.
. "$(dirname "$0")/support/e2e_common.bash"
e2e_setup "$1"

place="$build/e2e-help"
rm -rf "$place"
mkdir -p "$place/bare.ini.d" "$place/with help.ini.d"
cp "$build/Zentp32.exe" "$place/bare.ini.d/"
cp "$build/Zentp32.exe" "$build/Zentp32.hlp" "$place/with help.ini.d/"

start_program "$place/bare.ini.d/Zentp32.exe"
text=$(drive dialog "Quorvane 32" 1) || fail "no missing-help message"
folder=$(winepath -w "$place/bare.ini.d")
expected="File $folder\\Zentp32.hlp is missing.\\r\\nPlease re-install Quorvane 32 or\\r\\ncontact Orvanta technical support."
[ "$text" = "$expected" ] || fail "message '$text'"$'\n'"expected '$expected'"
expect_exit_code 2
echo "missing help file reported, exit code 2"

start_program "$place/with help.ini.d/Zentp32.exe"
drive wait Zentp32 >/dev/null || fail "the program did not start beside its help file"
if drive wait "#32770" "Quorvane 32" 500 >/dev/null; then fail "a message box came up"; fi
drive command Zentp32 102
drive gone Zentp32 "" 5000 || fail "Exit did not close the window"
expect_exit_code 0
echo "starts in a folder named with .ini"
