#!/usr/bin/env bash
# Explorer's context menu, played by shellhost, on the real program installed in a folder
# whose path holds blanks: "To File"/"UU" on three files writes three .uue files, the last
# file's first and each after the previous run ended, that uudecode turns back into the
# files, also one named outside Explorer's code page; "To Clipboard"/"MIME" leaves the first file (encoded last) in base64 on the
# clipboard.
. "$(dirname "$0")/support/e2e_common.bash"
e2e_setup "$1"
. "$(dirname "$0")/support/stored_values.bash"

work="$build/e2e-shell menu"
program_dir="$work/Program Files/Quorvane 32"
rm -rf "$work"
mkdir -p "$program_dir" "$work/files"
cp "$build/Zentp32.exe" "$build/Zentp32.hlp" "$program_dir/"
win() { winepath -w "$1" 2>/dev/null; }
regsvr32() { "$QV_WINE" regsvr32 /s "$@" >/dev/null 2>&1; }

cleanup_shell_menu() {
  regsvr32 /u "$(win "$build/Zenthook.dll")" || true
  forget_stored_values
}
stored_values="fullpath usedefaultnames nostatusmessages"
trap cleanup_shell_menu EXIT

regsvr32 "$(win "$build/Zenthook.dll")" || fail "regsvr32 refused Zenthook.dll"
"$QV_WINE" reg add "$settings_key" /v fullpath /d "$(win "$program_dir/Zentp32.exe")" /f >/dev/null 2>&1
"$QV_WINE" reg add "$settings_key" /v usedefaultnames /t REG_DWORD /d 1 /f >/dev/null 2>&1
"$QV_WINE" reg add "$settings_key" /v nostatusmessages /t REG_DWORD /d 1 /f >/dev/null 2>&1

files=()
for name in first second third; do
  head -c $((2000 + RANDOM % 3000)) /dev/urandom >"$work/files/$name.dat"
  files+=("$(win "$work/files/$name.dat")")
done
host() { "$QV_WINE" "$build/shellhost.exe" "$@" | tr -d '\r'; }

# To File / UU: offset 0.
result=$(host invoke 0 "${files[@]}") || fail "To File/UU failed: $result"
[ "$result" = "menu 12 invoke 0x00000000" ] || fail "shellhost said: $result"
drive gone Zentp32 "" 3000 || fail "a program window is left after To File/UU"
for name in first second third; do
  [ -f "$work/files/$name.uue" ] || fail "no $name.uue"
  (cd "$work/files" && mkdir -p "uu-$name" && cd "uu-$name" && uudecode -o "$name.dat" "../$name.uue") ||
    fail "uudecode refused $name.uue"
  cmp -s "$work/files/$name.dat" "$work/files/uu-$name/$name.dat" || fail "$name.uue does not decode to $name.dat"
done
third=$(stat -c %.9Y "$work/files/third.uue")
second=$(stat -c %.9Y "$work/files/second.uue")
first=$(stat -c %.9Y "$work/files/first.uue")
[[ "$third" < "$second" && "$second" < "$first" ]] ||
  fail "runs not last file first: third $third, second $second, first $first"
echo "To File/UU ok: three .uue files, third, second, first, each decodes with uudecode"

# A name outside Explorer's code page: the program receives it whole and writes the .uue
# beside it, whose begin line names it in UTF-8 for uudecode.
intl="$work/files/日本語 ファイル.dat"
head -c 3000 /dev/urandom >"$intl"
result=$(host invoke 0 "$(win "$intl")") || fail "To File/UU of a Japanese name failed: $result"
drive gone Zentp32 "" 3000 || fail "a program window is left after To File/UU of a Japanese name"
(mkdir -p "$work/files/uu-intl" && cd "$work/files/uu-intl" && uudecode "../日本語 ファイル.uue") ||
  fail "no .uue that uudecode takes for the Japanese name: $(ls "$work/files")"
cmp -s "$intl" "$work/files/uu-intl/日本語 ファイル.dat" || fail "the Japanese name came back as: $(ls "$work/files/uu-intl")"
echo "To File/UU ok for a name outside Explorer's code page"

# To Clipboard / MIME: offset 6; the last run, for the first file, leaves its text.
result=$(host invoke 6 "${files[@]}") || fail "To Clipboard/MIME failed: $result"
drive gone Zentp32 "" 3000 || fail "a program window is left after To Clipboard/MIME"
host clipboard >"$work/clipboard.txt" || fail "no text on the clipboard"
awk '/^Content-Disposition/ {head = 1; next} head && /^$/ {body = 1; next} body && /^--/ {exit} body' \
  "$work/clipboard.txt" | base64 -d >"$work/clipboard.dat" 2>/dev/null || true
cmp -s "$work/files/first.dat" "$work/clipboard.dat" ||
  fail "the clipboard does not carry first.dat in base64:"$'\n'"$(head -20 "$work/clipboard.txt")"
echo "To Clipboard/MIME ok: the first file's base64 is on the clipboard"
