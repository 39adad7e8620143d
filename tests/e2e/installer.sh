#!/usr/bin/env bash
# The 64-bit installer built by this build, run silently: the program, help file, extension
# and uninstaller land in "C:\Program Files\Quorvane 32"; the extension is registered, the
# associations and the program's path are made; the installed extension starts the installed
# program, also for a user without the stored program path. Its uninstaller, run silently,
# removes all of it.
. "$(dirname "$0")/support/e2e_common.bash"
e2e_setup "$1"
. "$(dirname "$0")/support/stored_values.bash"

setup="$build/Quorvane32-setup-x64.exe"
[ -f "$setup" ] || fail "no installer was built (is makensis installed?)"
query() { "$QV_WINE" reg query "$@" 2>/dev/null | tr -d '\r'; }
value() { query "$@" | awk '/REG_SZ/ {sub(/.*REG_SZ[ \t]+/, ""); print}'; }
win() { winepath -w "$1" 2>/dev/null; }
key_exists() { "$QV_WINE" reg query "$1" >/dev/null 2>&1; }
clsid='{53A9F291-0FD3-48D3-B6CC-BFBE3B6B51F6}'
extensions=".uue .uu .xxe .xx .mme .mm .b64 .hqx .hex"
filetypes="UUEncodedFile XXEncodedFile MIMEEncodedFile BinhexEncodedFile"

target="$WINEPREFIX/drive_c/Program Files/Quorvane 32"
program='C:\Program Files\Quorvane 32\Zentp32.exe'
stored_values="fullpath usedefaultnames nostatusmessages"
uninstall_at_exit() {
  [ -f "$target/Uninstall.exe" ] && "$QV_WINE" "$target/Uninstall.exe" /S "_?=C:\\Program Files\\Quorvane 32" >/dev/null 2>&1
  rm -rf "$target"
  forget_stored_values
}
trap uninstall_at_exit EXIT

start_program "$setup" /S
expect_exit_code 0
for file in Zentp32.exe Zentp32.hlp Zentp32.chm Zenthook.dll Uninstall.exe; do
  [ -f "$target/$file" ] || fail "the installer left no $file"
done
cmp -s "$target/Zentp32.exe" "$build/Zentp32.exe" || fail "the installed program is not this build's"
cmp -s "$target/Zenthook.dll" "$build/Zenthook.dll" || fail "the installed extension is not this build's 64-bit one"
echo "files ok"

[ "$(value 'HKCR\*\shellex\ContextMenuHandlers\Zenthook' /ve)" = "$clsid" ] || fail "no context-menu handler entry"
server=$(value "HKCR\\CLSID\\$clsid\\InprocServer32" /ve)
[ "${server,,}" = "$(echo 'C:\Program Files\Quorvane 32\Zenthook.dll' | tr 'A-Z' 'a-z')" ] ||
  fail "the server is '$server'"
[ "$(value "HKCR\\CLSID\\$clsid\\InprocServer32" /v ThreadingModel)" = Apartment ] || fail "no threading model"
echo "registration ok"

for extension in $extensions; do
  [ -n "$(value "HKCR\\$extension" /ve)" ] || fail "no association for $extension"
done
[ "$(value 'HKCR\UUEncodedFile\shell\Decode\command' /ve)" = "\"$program\" \"%1\"" ] ||
  fail "Decode verb: $(value 'HKCR\UUEncodedFile\shell\Decode\command' /ve)"
[ "$(value "$settings_key" /v fullpath)" = "$program" ] || fail "fullpath: $(value "$settings_key" /v fullpath)"
echo "associations and program path ok"

# The installed extension starts the installed program, whose path holds blanks.
mkdir -p "$build/e2e-installer"
head -c 3000 /dev/urandom >"$build/e2e-installer/sample.dat"
rm -f "$build/e2e-installer/sample.uue"
"$QV_WINE" reg add "$settings_key" /v usedefaultnames /t REG_DWORD /d 1 /f >/dev/null 2>&1
"$QV_WINE" reg add "$settings_key" /v nostatusmessages /t REG_DWORD /d 1 /f >/dev/null 2>&1
"$QV_WINE" "$build/shellhost.exe" invoke 0 "$(win "$build/e2e-installer/sample.dat")" >/dev/null ||
  fail "the installed extension's To File/UU failed"
(cd "$build/e2e-installer" && uudecode -o sample.back sample.uue) || fail "no decodable sample.uue"
cmp -s "$build/e2e-installer/sample.dat" "$build/e2e-installer/sample.back" || fail "sample.uue is not sample.dat"
echo "installed extension ok: starts the installed program"

# A second user: the install was elevated by another account, so this user's settings hold no
# program path (or a stale one). The extension still starts the program beside it.
"$QV_WINE" reg add "$settings_key" /v fullpath /d 'C:\nowhere\Zentp32.exe' /f >/dev/null 2>&1
rm -f "$build/e2e-installer/sample.uue"
"$QV_WINE" "$build/shellhost.exe" invoke 0 "$(win "$build/e2e-installer/sample.dat")" >/dev/null ||
  fail "without this user's program path the extension's To File/UU failed"
[ -f "$build/e2e-installer/sample.uue" ] || fail "without this user's program path nothing was encoded"
"$QV_WINE" reg add "$settings_key" /v fullpath /d "$program" /f >/dev/null 2>&1  # for the uninstaller to remove
echo "a second user's extension starts the installed program"

# The uninstaller copies itself away and returns at once: wait until its work is done.
"$QV_WINE" "$target/Uninstall.exe" /S >/dev/null 2>&1 || fail "the uninstaller failed"
for _ in $(seq 100); do [ -d "$target" ] || break; sleep 0.2; done
[ ! -d "$target" ] || fail "the uninstaller left: $(ls "$target")"
key_exists 'HKCR\*\shellex\ContextMenuHandlers\Zenthook' && fail "the handler entry is left"
key_exists "HKCR\\CLSID\\$clsid" && fail "the class is left"
for key in $extensions $filetypes; do
  key_exists "HKCR\\$key" && fail "HKCR\\$key is left"
done
[ -z "$(value "$settings_key" /v fullpath)" ] || fail "fullpath is left"
key_exists 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Quorvane32' && fail "the uninstall entry is left"
echo "uninstall ok: files, registration, associations and path removed"
