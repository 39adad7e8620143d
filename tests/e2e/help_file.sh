#!/usr/bin/env bash
# The help files beside the program: without both the .hlp and the .chm the program says so
# (naming the .hlp) and ends with exit code 2, as any refused run; with either of them it
# starts, also in a folder whose name contains ".ini", which must not confuse the help path.
. "$(dirname "$0")/support/e2e_common.bash"
e2e_setup "$1"

place="$build/e2e-help"
rm -rf "$place"
mkdir -p "$place/bare.ini.d" "$place/with hlp.ini.d" "$place/with chm.ini.d"
cp "$build/Zentp32.exe" "$place/bare.ini.d/"
cp "$build/Zentp32.exe" "$build/Zentp32.hlp" "$place/with hlp.ini.d/"
cp "$build/Zentp32.exe" "$build/Zentp32.chm" "$place/with chm.ini.d/"

start_program "$place/bare.ini.d/Zentp32.exe"
text=$(drive dialog "Quorvane 32" 1) || fail "no missing-help message"
folder=$(winepath -w "$place/bare.ini.d")
expected="File $folder\\Zentp32.hlp is missing.\\r\\nPlease re-install Quorvane 32 or\\r\\ncontact Orvanta technical support."
[ "$text" = "$expected" ] || fail "message '$text'"$'\n'"expected '$expected'"
expect_exit_code 2
echo "missing help file reported, exit code 2"

for kind in hlp chm; do
  start_program "$place/with $kind.ini.d/Zentp32.exe"
  drive wait Zentp32 >/dev/null || fail "the program did not start beside its .$kind"
  if drive wait "#32770" "Quorvane 32" 500 >/dev/null; then fail "a message box came up beside the .$kind"; fi
  drive command Zentp32 102
  drive gone Zentp32 "" 5000 || fail "Exit did not close the window"
  expect_exit_code 0
  echo "starts beside its .$kind alone, in a folder named with .ini"
done
