#!/usr/bin/env bash
# Check Version, About and Contact in the real program. The version check opens the address
# made of `website`, `webcheck`, the version and the release date: with an address the shell
# cannot open, the ".htm" page type's open command (a stand-in browser that records its
# command line) receives it. Without any browser the program says so. Screenshots of the
# three dialogs are kept in e2e-screenshots/.
. "$(dirname "$0")/support/e2e_common.bash"
e2e_setup "$1"
. "$(dirname "$0")/support/stored_values.bash"

shots="$build/e2e-screenshots"
mkdir -p "$shots"
browser_dir="$build/e2e-browser"
rm -rf "$browser_dir"
mkdir -p "$browser_dir"
cp "$build/argrecorder.exe" "$browser_dir/browse.exe"
record="$browser_dir/browse.txt"

# The page type is the machine's (Wine keeps HKEY_CLASSES_ROOT there): put it back on exit.
reg() { "$QV_WINE" reg "$@" >/dev/null 2>&1; }
page_type_before=$("$QV_WINE" reg query 'HKCR\.htm' /ve 2>/dev/null | tr -d '\r' | awk '/REG_SZ/ {print $NF}' || true)
restore_page_type() {
  reg delete 'HKCR\QvE2EPage' /f || true
  if [ -n "$page_type_before" ]; then reg add 'HKCR\.htm' /ve /d "$page_type_before" /f; else reg delete 'HKCR\.htm' /f; fi
  forget_stored_values
}
stored_values="website webcheck"
trap restore_page_type EXIT

site='x-qv-no-handler://www.example.com/orvanta'
reg add "$settings_key" /v website /d "$site" /f
reg add "$settings_key" /v webcheck /d 'cgi-bin/checkver' /f
reg add 'HKCR\.htm' /ve /d QvE2EPage /f
reg add 'HKCR\QvE2EPage\shell\open\command' /ve /d "\"$(winepath -w "$browser_dir/browse.exe" 2>/dev/null)\" \"%1\"" /f

header="$e2e_root/resources/resource.h"
version=$(sed -n 's/^#define QV_PRODUCT_VERSION "\(.*\)"/\1/p' "$header")
date=$(sed -n 's/^#define QV_RELEASE_DATE "\(.*\)"/\1/p' "$header")
[ -n "$version" ] && [ -n "$date" ] || fail "no version or date in $header"

control() { drive state "$1" | awk -v id="$2" '$1 == id {$1 = $2 = $3 = ""; sub(/^ +/, ""); print}'; }

start_program "$build/Zentp32.exe"
drive wait Zentp32 >/dev/null || fail "the main window did not appear"

C="Program Version and Upgrade Information"
drive command Zentp32 124
drive wait "#32770" "$C" >/dev/null || fail "Check Version did not open"
line=$(control "$C" 192)
[ "$line" = "Current Version $version - $date" ] || fail "version line '$line'"
import -window root "$shots/check_version.png"
drive click "$C" 253
for _ in $(seq 100); do [ -s "$record" ] && break; sleep 0.1; done
[ -s "$record" ] || fail "the browser command was not started"
expected="$site/cgi-bin/checkver?$version;$date"
[ "$(sed -n 2p "$record" | tr -d '\r')" = "$expected" ] ||
  fail "the browser got:"$'\n'"$(cat "$record")"$'\n'"expected the address $expected"
if drive wait "#32770" "Quorvane 32" 500 >/dev/null; then fail "a message box came with the browser"; fi
echo "the browser command received $expected"

# No browser at all: the page type has no open command.
rm -f "$record"
reg delete 'HKCR\QvE2EPage\shell' /f
drive click "$C" 253
report=$(drive dialog "Quorvane 32" 1) || fail "no report when no browser can be started"
case "$report" in
  "Version Cannot be Verified. Cannot Access Web Site because\\r\\n"?*) ;;
  *) fail "report '$report'" ;;
esac
[ ! -e "$record" ] || fail "a browser was started after all"
drive wait "#32770" "$C" 1000 >/dev/null || fail "Check Version closed after the failure"
drive dialog "$C" 1 >/dev/null
drive gone "#32770" "$C" 5000 || fail "DONE did not close Check Version"
echo "no browser: reported, the dialog stayed"

A="About Zentrel32"
drive command Zentp32 103
drive wait "#32770" "$A" >/dev/null || fail "About did not open"
[ "$(control "$A" 195)" = "Quorvane 32" ] || fail "About name '$(control "$A" 195)'"
[ "$(control "$A" 192)" = "Version $version - $date" ] || fail "About version '$(control "$A" 192)'"
grep -q "Orvanta, Inc." <<<"$(control "$A" 194)" || fail "About maker line '$(control "$A" 194)'"
import -window root "$shots/about.png"
drive click "$A" 203
drive wait "#32770" "Orvanta Information" >/dev/null || fail "Contacting Orvanta did not open the contact data"
grep -q "example.com" <<<"$(control "Orvanta Information" 196)" || fail "no contact text"
import -window root "$shots/contact.png"
drive dialog "Orvanta Information" 1 >/dev/null
drive gone "#32770" "Orvanta Information" 5000 || fail "the contact data did not close"
drive dialog "$A" 1 >/dev/null
drive gone "#32770" "$A" 5000 || fail "About did not close"
echo "About and Contact show the program's and the maker's data"

drive key Zentp32 0x79
drive gone Zentp32 "" 5000 || fail "F10 did not close the window"
expect_exit_code 0
