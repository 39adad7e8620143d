#!/usr/bin/env bash
# The clipboard in the real program: Ctrl+C encodes a chosen file to the clipboard, whose
# text equals what the same encode writes to a file; Ctrl+V decodes clipboard text with and
# without a final line end and leaves no temporary file; an empty clipboard grays the menu
# item and the command then gives "No Text on Clipboard."; a multiple selection for the
# clipboard is refused; with outputs beside the input, clipboard text goes to the documents
# folder.
. "$(dirname "$0")/support/e2e_common.bash"
e2e_setup "$1"
. "$(dirname "$0")/support/job_settings.bash"
use_job_settings decodedirselect decodedir

work="$build/e2e-clipboard-jobs"
rm -rf "$work"
mkdir -p "$work/out"
win() { winepath -w "$1" 2>/dev/null; }
readonly VK_F2=0x71 CTRL_C=3 CTRL_V=22 ID_DECODE_CLIPBOARD=120 FILE_MENU=0
exe=$(win "$build/Zentp32.exe")
summary() { drive dialog "Quorvane 32" 1 "$@"; }
temp_dir="$(winepath -u "$("$QV_WINE" cmd /c echo %TEMP% 2>/dev/null | tr -d '\r')" 2>/dev/null)"
[ -d "$temp_dir" ] || fail "no temporary folder: '$temp_dir'"
temp_files() { ls -A "$temp_dir" | sort; }

# Decoded files go to the work folder, not beside the temporary input.
store_value decodedirselect 152
"$QV_WINE" reg add "$settings_key" /v decodedir /t REG_SZ /d "$(win "$work/out")" /f >/dev/null 2>&1 ||
  fail "could not store decodedir"

start_program "$build/Zentp32.exe"
drive wait Zentp32 >/dev/null || fail "the main window did not appear"

# Ctrl+C: the clipboard then holds exactly what F2 writes to a file for the same input.
head -c 6000 /dev/urandom >"$work/clip.bin"
drive char Zentp32 $CTRL_C
drive choose Encode "$(win "$work/clip.bin")" || fail "Ctrl+C showed no open dialog"
report=$(summary) || fail "no summary after Ctrl+C"
echo "Ctrl+C summary: $report"
drive clipboard get >"$work/clipboard.uue" || fail "the clipboard holds no text after Ctrl+C"
[ ! -e "$work/clip.uue" ] || fail "Ctrl+C wrote a file"
drive key Zentp32 $VK_F2
drive choose Encode "$(win "$work/clip.bin")" || fail "F2 showed no open dialog"
summary >/dev/null || fail "no summary after F2"
cmp "$work/clip.uue" "$work/clipboard.uue" || fail "the clipboard text differs from the file output"
(mkdir -p "$work/peer" && cd "$work/peer" && uudecode -o clip.bin ../clipboard.uue) &&
  cmp -s "$work/clip.bin" "$work/peer/clip.bin" || fail "the clipboard text does not decode to the input"
echo "Ctrl+C: the clipboard holds the file output"

# Ctrl+V with and without a final line end; no temporary file is left either way.
head -c 5000 /dev/urandom >"$work/pasted.src"
(cd "$work" && uuencode pasted.src pasted.dat >pasted.uue)
before=$(temp_files)
for ending in with without; do
  if [ $ending = with ]; then cp "$work/pasted.uue" "$work/text"; else printf '%s' "$(cat "$work/pasted.uue")" >"$work/text"; fi
  [ $ending = with ] || [ "$(tail -c 3 "$work/text")" = end ] || fail "the text should stop right after end"
  rm -f "$work/out/pasted.dat"
  drive clipboard set "$(win "$work/text")" || fail "could not put the text on the clipboard"
  drive char Zentp32 $CTRL_V
  result=$(summary) || fail "no summary after Ctrl+V ($ending final line end)"
  case "$result" in *"Successfully UU Decoded as\r\n$(win "$work/out/pasted.dat")"*) ;;
    *) fail "Ctrl+V ($ending final line end): $result" ;; esac
  cmp -s "$work/pasted.src" "$work/out/pasted.dat" || fail "Ctrl+V ($ending final line end) did not decode"
  [ "$(temp_files)" = "$before" ] || fail "Ctrl+V left a temporary file: $(diff <(echo "$before") <(temp_files))"
  echo "Ctrl+V decodes text $ending a final line end and leaves no temporary file"
done

# Text that is no encoding: the decoder asks how to go on; aborting there leaves no
# temporary file, whatever the job reports.
printf 'just some words\r\n' >"$work/text"
drive clipboard set "$(win "$work/text")"
drive char Zentp32 $CTRL_V
question=$(drive answer "Retry Decoding" 2) || fail "plain words from the clipboard raised no Retry Decoding dialog"
echo "Ctrl+V on plain words asks: $question"
while report=$(summary 2000); do echo "Ctrl+V on plain words: $report"; done
[ "$(temp_files)" = "$before" ] || fail "a failed clipboard decode left a temporary file"
echo "a failed clipboard decode leaves no temporary file"

# The menu item follows the clipboard; with no text the command says so.
state=$(drive menustate Zentp32 "$exe" $FILE_MENU $ID_DECODE_CLIPBOARD) || fail "could not read the menu"
[ "$state" = enabled ] || fail "Decode from Clipboard is $state while the clipboard holds text"
drive clipboard empty || fail "could not empty the clipboard"
state=$(drive menustate Zentp32 "$exe" $FILE_MENU $ID_DECODE_CLIPBOARD) || fail "could not read the menu"
[ "$state" = grayed ] || fail "Decode from Clipboard is $state while the clipboard is empty"
# Ctrl+V finds the item grayed and does nothing, as an accelerator of a grayed item does; the
# command given all the same says so.
drive char Zentp32 $CTRL_V
message=$(summary 1500) && fail "Ctrl+V on an empty clipboard ran the command: $message"
drive command Zentp32 $ID_DECODE_CLIPBOARD
message=$(summary) || fail "no message for Decode from Clipboard on an empty clipboard"
[ "$message" = "No Text on Clipboard." ] || fail "Decode from Clipboard on an empty clipboard: $message"
[ "$(temp_files)" = "$before" ] || fail "Decode from Clipboard on an empty clipboard made a file"
echo "empty clipboard: the item is grayed, Ctrl+V does nothing, the command says No Text on Clipboard."

# A multiple selection for the clipboard, which holds one text: refused, nothing changed.
head -c 100 /dev/urandom >"$work/m1.bin"
head -c 100 /dev/urandom >"$work/m2.bin"
drive char Zentp32 $CTRL_C
drive choose Encode "$(win "$work")" '"m1.bin" "m2.bin"' || fail "no open dialog for the selection"
message=$(summary) || fail "no message for a selection to the clipboard"
[ "$message" = "Encoding to Clipboard is not Supported for Multiple Enclosures.\r\nPlease Choose One File at a Time." ] ||
  fail "selection to the clipboard: $message"
summary 1000 >/dev/null && fail "a job ran after the refusal"
drive clipboard get >/dev/null && fail "the refused selection changed the clipboard"
[ ! -e "$work/m1.uue" ] && [ ! -e "$work/m2.uue" ] || fail "the refused selection was encoded to files"
echo "a selection for the clipboard is refused"

drive key Zentp32 0x79
expect_exit_code 0

# With outputs "in the input's folder", clipboard text (whose input is a temporary file) is
# decoded into the user's documents folder, and the summary names the file there.
store_value decodedirselect 151
documents=$(winepath -u "$("$QV_WINE" cmd /c echo %USERPROFILE%\\Documents 2>/dev/null | tr -d '\r')" 2>/dev/null)
[ -d "$documents" ] || fail "no documents folder: '$documents'"
rm -f "$documents/pasted.dat"
start_program "$build/Zentp32.exe"
drive wait Zentp32 >/dev/null || fail "the main window did not appear"
drive clipboard set "$(win "$work/pasted.uue")" || fail "could not put the text on the clipboard"
drive char Zentp32 $CTRL_V
result=$(summary) || fail "no summary for Ctrl+V into the documents folder"
case "$result" in *"Successfully UU Decoded as\r\n$(win "$documents/pasted.dat")"*) ;;
  *) fail "Ctrl+V with outputs beside the input: $result" ;; esac
cmp -s "$work/pasted.src" "$documents/pasted.dat" || fail "the clipboard text was not decoded into the documents folder"
rm -f "$documents/pasted.dat"
[ "$(temp_files)" = "$before" ] || fail "Ctrl+V left a file in the temporary folder: $(diff <(echo "$before") <(temp_files))"
drive key Zentp32 0x79
expect_exit_code 0
echo "Ctrl+V with outputs beside the input: decoded into the documents folder"
