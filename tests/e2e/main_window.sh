#!/usr/bin/env bash
# The program's main window under Wine: title, the three controls and their layout before
# and after a resize, every menu item, the screenshot, and F10 closing it.
. "$(dirname "$0")/support/e2e_common.bash"
e2e_setup "$1"

# Checks the children of the main window against the layout rules for its client area.
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
