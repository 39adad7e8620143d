#!/usr/bin/env bash
# Encode to e-mail in the real program, through the platform's MAPI library and the tests'
# own mail client (tests/mapi_store): one message per part with the sender, the type
# "Zentrel32", no attachment and the style's subject, whose bodies GNU uudecode and our
# decoder turn back into the file; named recipients without any dialog, "/M@" through the
# address dialog; every failure said with the mail system's text and no session left open.
. "$(dirname "$0")/support/e2e_common.bash"
e2e_setup "$1"
. "$(dirname "$0")/support/mail_store.bash"

work="$build/e2e-mail-send"
rm -rf "$work"
mkdir -p "$work"
mail_store_setup "$work/store"
head -c 9000 /dev/urandom >"$work/photo.jpg"

run_to_end() {
  start_program "$build/Zentp32.exe" "$@"
  expect_exit_code 0
  drive gone Zentp32 "" 2000 || fail "a window is left after: $*"
}

# No session may be open when the program has ended.
sessions_closed() {
  grep -qx "END sessions=0" "$store/calls.log" || fail "a mail session was left open: $(tail -3 "$store/calls.log")"
}

expect_line() { grep -qxF -- "$2" "$1" || fail "$1 lacks the line: $2"; }

# Style 4 at the smallest output size: several messages to both named recipients.
mail_setting encodetype 4
mail_setting encodeoutputsize 4500
run_to_end /N /EU /M alice,bob "$(win "$work/photo.jpg")"
n=$(ls "$store/sent" | wc -l)
[ "$n" -ge 2 ] || fail "a 9000-byte file in parts of 4500 bytes went out as $n message(s)"
grep -q "MAPIAddress" "$store/calls.log" && fail "named recipients still asked the address dialog"
grep -q "^MAPILogon flags=0x42 " "$store/calls.log" || fail "named recipients did not log on to the default profile"
k=1
mkdir -p "$work/ours"
: >"$work/ours/joined.uue"
for message in "$store"/sent/*.msg; do
  expect_line "$message" "Subject: * Zentrel32 *; UU; photo.jpg; $k of $n"
  expect_line "$message" "From: Zentrel|SMTP:Zentrel@quorvane.invalid"
  expect_line "$message" "To: alice|SMTP:alice"
  expect_line "$message" "To: bob|SMTP:bob"
  expect_line "$message" "Type: Zentrel32"
  expect_line "$message" "Flags: 1"
  grep -q "^Attach:" "$message" && fail "$message carries an attachment"
  mail_body "$message" >>"$work/ours/joined.uue"
  k=$((k + 1))
done
[ "$(grep -c '^MAPISendMail .* flags=0x0 recipients=2 files=0$' "$store/calls.log")" = "$n" ] ||
  fail "not every part was sent without a dialog to two recipients"
sessions_closed
echo "style 4: $n messages, sender, type, subjects ok"

# GNU uudecode reads the data lines of the joined bodies (the frame lines between the
# parts are the style's, not UU's).
tr -d '\r' <"$work/ours/joined.uue" | grep -v -e '^Archive-name:' -e '^BEGIN--' -e '^END--' -e '^$' \
  >"$work/peer.uue"
(cd "$work" && mkdir -p peer && uudecode -o peer/photo.jpg peer.uue) || fail "uudecode refused the joined bodies"
cmp -s "$work/photo.jpg" "$work/peer/photo.jpg" || fail "uudecode does not give the file back"
echo "GNU uudecode turns the joined bodies into the file"
run_to_end /N "$(win "$work/ours/joined.uue")"
cmp -s "$work/photo.jpg" "$work/ours/photo.jpg" || fail "our decoder does not give the file back"
echo "our decoder turns the joined bodies into the file"

# An Alt.binaries style: its "Subject:" text is the subject, without the line ends.
rm -rf "$store/sent" "$store/calls.log"
mail_setting encodetype 6
run_to_end /N /EU /M carol "$(win "$work/photo.jpg")"
n=$(ls "$store/sent" | wc -l)
k=1
for message in "$store"/sent/*.msg; do
  expect_line "$message" "Subject: Subject: photo.jpg ($k/$n)"
  k=$((k + 1))
done
[ "$k" -gt 2 ] || fail "Alt.binaries 1 sent $n message(s)"
echo "Alt.binaries 1: Subject: subjects ok"

# /M@: the address dialog of the mail client chooses the recipients.
rm -rf "$store/sent" "$store/calls.log"
mail_setting encodetype 3
mail_config "pick=dave,erin"
start_program "$build/Zentp32.exe" /EU /M@ "$(win "$work/photo.jpg")"
shown=$(drive dialog "Test Address Book" 1) || fail "/M@ did not open the address dialog"
[ "$shown" = "Recipients: dave erin" ] || fail "the address dialog showed: $shown"
expect_exit_code 0
grep -q "^MAPILogon flags=0x3 " "$store/calls.log" || fail "/M@ did not log on with the logon dialog allowed"
expect_line "$store/sent/0001.msg" "To: dave|SMTP:dave"
expect_line "$store/sent/0001.msg" "To: erin|SMTP:erin"
sessions_closed
echo "/M@ asks the address dialog"

# Failures: each is said with the mail system's text, the program ends, no session stays.
fails_with() {
  local config=$1 text=$2
  shift 2
  rm -rf "$store/sent" "$store/calls.log"
  mail_config "$config"
  start_program "$build/Zentp32.exe" "$@"
  shown=$(drive dialog "Quorvane 32" 1) || fail "no message for $config"
  [ "$shown" = "$text" ] || fail "$config said: $shown"
  expect_exit_code 0
  drive gone Zentp32 "" 2000 || fail "a window is left after $config"
  [ ! -d "$store/sent" ] || [ -z "$(ls "$store/sent")" ] || fail "a message went out despite $config"
  sessions_closed
  echo "$config: $text"
}
fails_with "fail.MAPILogon=2" "Unable to Login for E-mail because Non-Specific Failure." \
  /EU /M alice "$(win "$work/photo.jpg")"
fails_with "fail.MAPISendMail=23" "Sending E-mail Message Failed because Network Failure." \
  /EU /M alice "$(win "$work/photo.jpg")"
fails_with "fail.MAPIAddress=14" "Cannot Choose E-mail Recipients because Unknown Recipient" \
  /EU /M@ "$(win "$work/photo.jpg")"

# Without any MAPI library the program still starts; only the mail command says it failed.
rm -rf "$store/calls.log"
mail_config ""
WINEDLLOVERRIDES="$WINEDLLOVERRIDES;mapi32=" start_program "$build/Zentp32.exe" /EU /M alice "$(win "$work/photo.jpg")"
shown=$(drive dialog "Quorvane 32" 1) || fail "no message without a mail system"
[ "$shown" = "Unable to Login for E-mail because Feature Not Supported." ] || fail "without a mail system: $shown"
expect_exit_code 0
[ ! -e "$store/calls.log" ] || fail "the mail client was reached although no MAPI library was there"
echo "no mail system: $shown"

# A "MAPI32.DLL" beside the program is never loaded, only the system's own: a planted library
# (here one with no mail functions at all) must not stand in for it.
planted="$work/planted"
mkdir -p "$planted"
cp "$build/Zentp32.exe" "$build/Zentp32.hlp" "$planted/"
cp "$build/Zenthook.dll" "$planted/MAPI32.DLL"
rm -rf "$store/calls.log" "$store/sent"
mail_config ""
# Wine prefers its own library by default; told to prefer a native one, as Windows does
# with a library in the program's folder, it would take the planted one by a bare name.
WINEDLLOVERRIDES="$WINEDLLOVERRIDES;mapi32=n,b" start_program "$planted/Zentp32.exe" /N /EU /M alice \
  "$(win "$work/photo.jpg")"
expect_exit_code 0
[ "$(ls "$store/sent" 2>/dev/null | wc -l)" -ge 1 ] || fail "with a MAPI32.DLL beside the program no mail went out"
echo "a MAPI32.DLL beside the program is not loaded"
