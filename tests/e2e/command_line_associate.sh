#!/usr/bin/env bash
# /R writes the file associations and the program's path, the same state twice in a row, and
# closes; the "Decode" verb's command line then decodes a file.
. "$(dirname "$0")/support/e2e_common.bash"
e2e_setup "$1"
. "$(dirname "$0")/support/stored_values.bash"
forget_values_at_exit decodemethod usedefaultnames nostatusmessages

work="$build/e2e-associate"
rm -rf "$work"
mkdir -p "$work"
win() { winepath -w "$1" 2>/dev/null; }
query() { "$QV_WINE" reg query "$@" 2>/dev/null | tr -d '\r'; }

associate() {
  start_program "$build/Zentp32.exe" /R
  expect_exit_code 0
  drive gone Zentp32 "" 2000 || fail "/R left a window"
}

associate
fullpath=$(query "$settings_key" /v fullpath | awk '/fullpath/ {sub(/.*REG_SZ[ \t]+/, ""); print}')
[ "$fullpath" = "$(win "$build/Zentp32.exe")" ] || fail "fullpath is '$fullpath'"
first=$(query 'HKCR\.uue' /s)
[ -n "$first" ] || fail "/R made no association for .uue"
filetype=$(query 'HKCR\.uue' /ve | awk '/REG_SZ/ {sub(/.*REG_SZ[ \t]+/, ""); print}')
[ -n "$filetype" ] || fail "the .uue association names no file type"
verbs_before=$(query "HKCR\\$filetype" /s)
associate
second=$(query 'HKCR\.uue' /s)
verbs_after=$(query "HKCR\\$filetype" /s)
[ "$second" = "$first" ] && [ "$verbs_after" = "$verbs_before" ] ||
  fail "a second /R changed the associations:"$'\n'"$(diff <(echo "$first$verbs_before") <(echo "$second$verbs_after"))"
echo "/R ok: fullpath and associations, the same twice"

# The "Decode" verb: its command with the file in place of %1, as the shell would start it.
command=$(query "HKCR\\$filetype\\shell\\Decode\\command" /ve | awk '/REG_SZ/ {sub(/.*REG_SZ[ \t]+/, ""); print}')
[ -n "$command" ] || fail "no Decode verb for $filetype"
head -c 2000 /dev/urandom >"$work/verb.src"
(cd "$work" && uuencode verb.src verb.bin >verb.uue)
"$QV_WINE" reg add "$settings_key" /v decodemethod /t REG_DWORD /d 182 /f >/dev/null 2>&1
"$QV_WINE" reg add "$settings_key" /v usedefaultnames /t REG_DWORD /d 1 /f >/dev/null 2>&1
"$QV_WINE" reg add "$settings_key" /v nostatusmessages /t REG_DWORD /d 1 /f >/dev/null 2>&1
printf '%s\r\n' "${command//%1/$(win "$work/verb.uue")}" >"$work/verb.bat"
start_program cmd /c "$(win "$work/verb.bat")"
expect_exit_code 0
drive gone Zentp32 "" 2000 || fail "the Decode verb's run left a window"
cmp -s "$work/verb.src" "$work/verb.bin" || fail "the Decode verb did not decode verb.uue"
echo "Decode verb ok: decoded, then closed"
