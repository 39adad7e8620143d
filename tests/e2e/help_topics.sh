#!/usr/bin/env bash
# The help opened by the real program at the topic of every keyword it asks for: the Help
# menu items, the Help buttons of the configuration dialogs and of Check Version, and Help,
# Index at the contents. Twice: with HTML Help, which shows the .chm, and on a system without
# it (Wine's hhctrl.ocx disabled), where the .hlp viewer of the Windows folder shows the .hlp,
# never a "winhlp32.exe" of the current folder. The viewers' traces name the file and the
# topic asked for; no error box may come. A screenshot of each topic is kept in e2e-screenshots/.
. "$(dirname "$0")/support/e2e_common.bash"
e2e_setup "$1"

shots="$build/e2e-screenshots"
mkdir -p "$shots"

# The program runs in a folder that holds a "winhlp32.exe" of somebody else's: it must start
# the viewer of the Windows folder, never that one.
planted="$build/e2e-help-planted"
rm -rf "$planted"
mkdir -p "$planted"
cp "$build/argrecorder.exe" "$planted/winhlp32.exe"
chm=$(winepath -w "$build/Zentp32.chm")

# Wine's HTML Help shows its pages through mshtml, which the tests' Wine leaves out: its
# window comes with the contents tree and an empty page, and its trace says which page of
# which file it was told to show. The page asked for must be the one that the .chm's own
# table of contents gives for the topic's heading (the contents: the .chm's default page).
expect_chm_topic() {
  local name=$1 heading=$2 from=$3 asked=${4:-topic} request="" file page wanted
  drive wait "HH Parent" "" 15000 >/dev/null || fail "$name: the HTML Help window did not open"
  for _ in $(seq 50); do
    request=$(tail -n +"$from" "$trace" | sed -n 's/.*:NavigateToChm [0-9A-Fa-f]* L"\(.*\)" L"\/\{0,1\}\(.*\)"$/\1|\2/p' | tail -n 1)
    [ -n "$request" ] && break
    sleep 0.1
  done
  [ -n "$request" ] || fail "$name: HTML Help was asked for no page"
  file=${request%%|*} page=${request#*|}
  [ "$file" = "${chm//\\/\\\\}" ] || fail "$name: HTML Help was asked for the file $file"
  if [ "$asked" = contents ]; then
    wanted=$(sed -n 's/.*ReadChmSystem Default topic is "\([^"\\]*\).*/\1/p' "$trace" | tail -n 1)
  else
    wanted=$(grep -aF -A1 "parse_sitemap_object <PARAM NAME=\"Name\" VALUE=\"$heading\">" "$trace" |
      sed -n 's/.*<PARAM NAME="Local" VALUE="\(.*\)">$/\1/p' | head -n 1)
  fi
  [ -n "$wanted" ] || fail "$name: the .chm has no page for \"$heading\""
  [ "$page" = "$wanted" ] || fail "$name: HTML Help was asked for $page, the .chm has \"$heading\" at $wanted"
  no_error_box "$name"
  import -window root "$shots/chm_$name.png"
  echo "$name: $page, \"$heading\" asked for in HTML Help"
}

# The .hlp viewer came, was asked for a topic (not for the contents page), found it and
# shows HEADING.
expect_hlp_topic() {
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

# The viewers' error boxes and the .hlp viewer's open dialog (shown when it cannot read the
# file), and the program's own message boxes.
no_error_box() {
  local title
  for title in "Wine Help" "HTML Help" "Open" "Quorvane 32"; do
    if drive wait "#32770" "$title" 100 >/dev/null; then fail "$1: a \"$title\" box came up"; fi
  done
}

mark() { echo $(($(wc -l <"$trace") + 1)); }

# every_topic VIEWER: asks for every topic through the program's menus and dialogs.
every_topic() {
  local viewer=$1 id name heading key title button from
  # Help menu: Keyboard, Commands, Procedures, Technical Support, Can't Decode, Can't Encode.
  while read -r id name heading; do
    from=$(mark)
    drive command Zentp32 "$id"
    "expect_${viewer}_topic" "$name" "$heading" "$from"
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
    "expect_${viewer}_topic" "$name" "$heading" "$from"
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
  "expect_${viewer}_topic" index "Quorvane 32 Help" "$from" contents
}

# run_program VIEWER WINDOW-CLASS [DLL-OVERRIDES]: the program, every topic, and its exit,
# which closes the viewer. The viewers inherit the program's standard error: their traces
# land in the trace file.
run_program() {
  local viewer=$1 class=$2 overrides=${3:-}
  trace="$build/e2e-help-trace-$viewer.txt"
  : >"$trace"
  (cd "$planted" && WINEDLLOVERRIDES="$WINEDLLOVERRIDES$overrides" WINEDEBUG=+winhelp,+htmlhelp \
    exec "$QV_WINE" "$build/Zentp32.exe") 2>>"$trace" &
  program_pid=$!
  e2e_programs="$e2e_programs $program_pid"
  drive wait Zentp32 >/dev/null || fail "the main window did not appear"
  every_topic "$viewer"
  drive command Zentp32 102
  drive gone Zentp32 "" 5000 || fail "Exit did not close the window"
  wait "$program_pid" || fail "the program ended with a failure"
  drive gone "$class" "" 5000 || fail "closing the program left the $viewer viewer open"
  echo "$viewer: every topic opened; the viewer closed with the program"
}

run_program chm "HH Parent"
grep -aq 'winhelp:' "$trace" && fail "with HTML Help at hand, the .hlp viewer was started"
run_program hlp MS_WINHELP ";hhctrl.ocx="
grep -aq 'htmlhelp:HtmlHelp' "$trace" && fail "HTML Help was called although hhctrl.ocx cannot be loaded"
[ ! -e "$planted/winhlp32.txt" ] || fail "the winhlp32.exe of the current folder ran: $(cat "$planted/winhlp32.txt")"
echo "both viewers show every topic"
