#!/usr/bin/env bash
# The program's main window under Wine: title, the three controls and their layout before
# and after a resize, every menu item, the screenshot, and F10 closing it. Then the look at
# 96 and at 192 DPI: the main window's layout rules, a running job's two-line status, and the
# dialogs of the Configure and Help menus, the mailbox dialog, the decoder's questions and the
# checksum report, each control inside its dialog and none over another; screenshots of each
# in e2e-screenshots/dpi-96 and dpi-192 for review.
. "$(dirname "$0")/support/e2e_common.bash"
e2e_setup "$1"

# Checks the children of the main window against the layout rules for its client area (with
# "places": only their places, not their states and texts).
check_layout() {
  local size w h children
  size=$(drive client Zentp32) || fail "no main window"
  read -r w h <<<"$size"
  children=$(drive children Zentp32)
  local expected
  expected=$(printf '%s\n' \
    "202 msctls_progress32 0 $((h - h / 4)) $w $((h / 4)) 1 1 " \
    "201 Static 0 0 $w $((h / 3)) 1 1 " \
    "200 Button $((3 * (w / 8))) $((3 * (h / 8))) $((2 * (w / 8))) $((2 * (h / 8))) 0 0 Cancel")
  if [ "${1:-}" = places ]; then
    children=$(cut -d' ' -f1-6 <<<"$children") expected=$(cut -d' ' -f1-6 <<<"$expected")
  fi
  [ "$(sort <<<"$children")" = "$(sort <<<"$expected")" ] ||
    fail "layout for ${w}x$h:"$'\n'"$children"$'\n'"expected:"$'\n'"$expected"
  echo "layout ok for ${w}x$h"
}

start_program "$build/Zentp32.exe"
title=$(drive wait Zentp32) || fail "the main window did not appear"
[ "$title" = "Quorvane 32" ] || fail "title '$title'"

check_layout
drive resize Zentp32 700 420
sleep 0.3
check_layout

menu=$(drive menu Zentp32 "$(winepath -w "$build/Zentp32.exe" 2>/dev/null)") || fail "no menu"
expected_menu=$(cat "$(dirname "$0")/support/expected_menu.txt")
[ "$menu" = "$expected_menu" ] || fail "menu:"$'\n'"$(diff <(echo "$expected_menu") <(echo "$menu"))"
echo "menu ok"

mkdir -p "$build/screenshots"
import -window root "$build/screenshots/main.png"
colours=$(identify -format '%k' "$build/screenshots/main.png")
[ "$colours" -gt 4 ] || fail "the screenshot shows almost nothing ($colours colours)"
echo "screenshot $build/screenshots/main.png"

# Help, Index opens the help beside the program in HTML Help.
drive command Zentp32 107
drive wait "HH Parent" "" 10000 >/dev/null || fail "Help, Index did not open HTML Help"
import -window root "$build/screenshots/help_index.png"
echo "help viewer open: $build/screenshots/help_index.png"

drive key Zentp32 0x79
drive gone Zentp32 "" 5000 || fail "F10 did not close the window"
expect_exit_code 0
drive gone "HH Parent" "" 5000 || fail "closing the program left HTML Help open"
echo "F10 closed the program and the help viewer"

# --- 96 and 192 DPI -------------------------------------------------------------------------
# Wine takes the DPI from the registry when a program starts. A screen of 192 DPI has twice
# the pixels of one of 96 for the same size: the desktop doubles with it (it is read when
# Wine's desktop starts, so the server and its desktop start anew). The prefix is shared with
# the other scripts, which expect 96 DPI and 1024x768.
set_dpi() { "$QV_WINE" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$1" /f >/dev/null 2>&1; }
set_desktop() {
  "$QV_WINE" reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d "$1" /f >/dev/null 2>&1
  /usr/lib/wine/wineserver -k >/dev/null 2>&1 || true
  /usr/lib/wine/wineserver -w
  /usr/lib/wine/wineserver -p >/dev/null 2>&1 || true
}
. "$(dirname "$0")/support/job_settings.bash"
use_job_settings
job="$build/e2e-dpi"
rm -rf "$job"
mkdir -p "$job"
# The mailbox dialog lists one message of the tests' mail client.
. "$(dirname "$0")/support/mail_store.bash"
mail_store_setup "$job/store"
printf 'Subject: photo.jpg (1/3)\nFrom: Alice|SMTP:alice\n\nsome text\r\n' >"$store/inbox/0001.msg"
trap 'set_dpi 96; set_desktop 1024x768; forget_stored_values; mail_store_cleanup' EXIT
make_long_input "$job/photo.jpg"
# For the decoder's questions: a plain file, two of them chosen together (decoded one by one),
# and a UU file with a lower-case letter, no UU character, in its third data line.
for name in plain a b; do seq 30 | sed 's/^/plain line /' >"$job/$name.txt"; done
store_value decodejoin 0
head -c 300 /dev/urandom >"$job/data.bin"
(cd "$job" && uuencode data.bin data.bin) | awk 'NR == 4 { $0 = substr($0, 1, 5) "a" substr($0, 7) } { print }' >"$job/bad.uue"
# A UU file whose "sum -r/size" line disagrees with its data: the checksum report.
{ (cd "$job" && uuencode data.bin sums.bin); printf 'sum -r/size 1/300 entire input file\n'; } >"$job/sums.uue"
store_value decodetestchecksum 1

# check_layout_of TITLE BUTTON SHOT: checks the layout of the dialog that came, keeps a
# screenshot and answers it with BUTTON.
check_layout_of() {
  local title=$1 button=$2 shot=$3 result
  drive wait "#32770" "$title" >/dev/null ||
    fail "$dpi DPI: \"$title\" did not open; windows: $(drive windows "*" | tr '\n' '|')"
  result=$(drive layout "$title") || fail "$dpi DPI, \"$title\":"$'\n'"$result"
  import -window root "$shots/$shot.png"
  drive answer "$title" "$button" >/dev/null || fail "$dpi DPI: \"$title\" did not take $button"
  echo "$dpi DPI, $title: $result"
}

# check_dialog KEY-OR-COMMAND TITLE BUTTON SHOT: opens the dialog and checks it.
check_dialog() {
  case $1 in
    0x*) drive key Zentp32 "$1" ;;
    *) drive command Zentp32 "$1" ;;
  esac
  check_layout_of "$2" "$3" "$4"
}

for dpi in 96 192; do
  set_dpi "$dpi"
  [ "$dpi" = 96 ] || set_desktop 2048x1536
  shots="$build/e2e-screenshots/dpi-$dpi"
  mkdir -p "$shots"
  start_program "$build/Zentp32.exe"
  drive wait Zentp32 >/dev/null || fail "$dpi DPI: the main window did not appear"
  check_layout
  import -window root "$shots/main.png"
  check_dialog 0x74 "General Configuration" 2 general
  check_dialog 0x75 "Encode Configuration" 2 encode
  check_dialog 0x76 "Decode Configuration" 2 decode
  check_dialog 124 "Program Version and Upgrade Information" 2 check_version
  check_dialog 103 "About Zentrel32" 1 about
  check_dialog 123 "Select E-mail Messages to Decode" 2 mailbox

  # A long encode (F2): its status has two lines, what is done and the file names; then Cancel.
  drive key Zentp32 0x71
  drive choose Encode "$(winepath -w "$job/photo.jpg")" || fail "$dpi DPI: F2 showed no open dialog"
  status=""
  for _ in $(seq 100); do
    status=$(drive children Zentp32 | awk '$1 == 201' | cut -d' ' -f9-)
    [[ $status == *'\r\n'*photo.jpg* ]] && break
    sleep 0.1
  done
  [[ $status == *'\r\n'*photo.jpg* ]] || fail "$dpi DPI: the status is not the job's two lines: '$status'"
  check_layout places
  import -window root "$shots/main_job.png"
  drive press Zentp32 200 || fail "$dpi DPI: no Cancel button to press"
  drive dialog "Quorvane 32" 1 >/dev/null || fail "$dpi DPI: no summary after Cancel"

  # The decoder's questions (F3), each answered so that the decode ends.
  drive key Zentp32 0x72
  drive choose Decode "$(winepath -w "$job/plain.txt")" || fail "$dpi DPI: F3 showed no open dialog"
  check_layout_of "Retry Decoding" 2 retry_decoding
  drive key Zentp32 0x72
  drive choose Decode "$(winepath -w "$job")" '"a.txt" "b.txt"' || fail "$dpi DPI: F3 showed no open dialog"
  for name in a b; do
    check_layout_of "Encode or Decode?" 2 encode_or_decode
    drive dialog "Quorvane 32" 1 >/dev/null || fail "$dpi DPI: no message after cancelling $name.txt"
  done
  drive key Zentp32 0x72
  drive choose Decode "$(winepath -w "$job/bad.uue")" || fail "$dpi DPI: F3 showed no open dialog"
  check_layout_of "Decode Error" 200 decode_error
  drive dialog "Quorvane 32" 1 >/dev/null || fail "$dpi DPI: no summary after aborting bad.uue"
  drive key Zentp32 0x72
  drive choose Decode "$(winepath -w "$job/sums.uue")" || fail "$dpi DPI: F3 showed no open dialog"
  check_layout_of "Zentrel32 Checksum Error Details" 1 checksum_details
  rm -f "$job/sums.bin"
  drive key Zentp32 0x79
  expect_exit_code 0
  echo "$dpi DPI: screenshots in $shots"
done
