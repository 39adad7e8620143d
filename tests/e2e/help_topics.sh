#!/usr/bin/env bash
# The help file in Wine's help viewer, opened by the real program at the topic of every
# keyword it asks for: the Help menu items, the Help buttons of the configuration dialogs
# and of Check Version; the viewer of the Windows folder, not one in the current folder. The viewer's trace names the topic it shows; no error box may come.
# A screenshot of each topic is kept in e2e-screenshots/.
. "$(dirname "$0")/support/e2e_common.bash"
e2e_setup "$1"

shots="$build/e2e-screenshots"
mkdir -p "$shots"
trace="$build/e2e-help-trace.txt"
: >"$trace"

# The program runs in a folder that holds a "winhlp32.exe" of somebody else's: it must start
# the viewer of the Windows folder, never that one.
planted="$build/e2e-help-planted"
rm -rf "$planted"
mkdir -p "$planted"
cp "$build/argrecorder.exe" "$planted/winhlp32.exe"

# The viewer inherits the program's environment and standard error: its trace lands here.
(cd "$planted" && WINEDEBUG=+winhelp exec "$QV_WINE" "$build/Zentp32.exe") 2>>"$trace" &
program_pid=$!
e2e_programs="$program_pid"
drive wait Zentp32 >/dev/null || fail "the main window did not appear"

# expect_topic NAME HEADING FROM [contents]: after trace line FROM, the viewer came, was asked
# for a topic (not for the contents page), found it and shows HEADING; then a screenshot.
expect_topic() {
  local name=$1 heading=$2 from=$3 asked=${4:-topic} shown
  drive wait MS_WINHELP "" 15000 >/dev/null || fail "$name: the help viewer did not open"
  for _ in $(seq 50); do
    tail -n +"$from" "$trace" | grep -q 'Got text: "'"$heading"'"' && break
    sleep 0.1
  done
  shown=$(tail -n +"$from" "$trace" | grep -a 'PageByHash\|not found in file\|Got text: "'"$heading"'"' | grep -av comp_ || true)
  grep -q 'not found in file' <<<"$shown" && fail "$name: the viewer did not find the topic"$'\n'"$shown"
  [ "$asked" = contents ] || grep -q 'PageByHash' <<<"$shown" || fail "$name: the viewer was not asked for a topic"
  grep -q "Got text: \"$heading\"" <<<"$shown" || fail "$name: the topic \"$heading\" was not shown"
  no_error_box "$name"
  sleep 0.3
  import -window root "$shots/help_$name.png"
  echo "$name: \"$heading\" shown"
}

# The viewer's error boxes and its open dialog (shown when it cannot read the file), and the
# program's own message boxes.
no_error_box() {
  local title
  for title in "Wine Help" "Open" "Quorvane 32"; do
    if drive wait "#32770" "$title" 100 >/dev/null; then fail "$1: a \"$title\" box came up"; fi
  done
}

mark() { echo $(($(wc -l <"$trace") + 1)); }

# Help menu: Keyboard, Commands, Procedures, Technical Support, Can't Decode, Can't Encode.
while read -r id name heading; do
  from=$(mark)
  drive command Zentp32 "$id"
  expect_topic "$name" "$heading" "$from"
done <<'TOPICS'
110 keyboard Keyboard
111 commands Commands
112 procedures Procedures
116 support Technical Support
118 cannot_decode Can't Decode
117 cannot_encode Can't Encode
TOPICS

# The Help buttons of the configuration dialogs (525) and of Check Version (9).
while read -r key title button name heading; do
  title=${title//_/ }
  from=$(mark)
  if [ "$key" = cmd ]; then drive command Zentp32 124; else drive key Zentp32 "$key"; fi
  drive wait "#32770" "$title" >/dev/null || fail "$name: the dialog \"$title\" did not open"
  drive click "$title" "$button"
  expect_topic "$name" "$heading" "$from"
  drive dialog "$title" 2 >/dev/null || fail "$name: the dialog \"$title\" was gone"
  drive gone "#32770" "$title" 5000 || fail "$name: the dialog did not close"
done <<'TOPICS'
0x74 General_Configuration 525 general_configuration General Configuration (F5)
0x75 Encode_Configuration 525 encoding_configuration Encoding Configuration (F6)
0x76 Decode_Configuration 525 decoding_configuration Decoding Configuration (F7)
cmd Program_Version_and_Upgrade_Information 9 check_version Check Version
TOPICS

# Help, Index: the contents page.
from=$(mark)
drive key Zentp32 0x70
expect_topic index "Quorvane 32 Help" "$from" contents

drive command Zentp32 102
drive gone Zentp32 "" 5000 || fail "Exit did not close the window"
wait "$program_pid" || fail "the program ended with a failure"
drive gone MS_WINHELP "" 5000 || fail "closing the program left the help viewer open"
[ ! -e "$planted/winhlp32.txt" ] || fail "the winhlp32.exe of the current folder ran: $(cat "$planted/winhlp32.txt")"
echo "every topic opened; the viewer closed with the program"
