#!/usr/bin/env bash
# File menu jobs of the real program through its keys and the common open dialog: F2 encodes
# a chosen file, F3 decodes one, a multiple selection runs a batch with one summary per
# file, Cancel during a long job deletes the partial output and shows the abort summary,
# commands that stay enabled during a job are refused, and Exit during a decode closes the
# program once the decoder has stopped.
. "$(dirname "$0")/support/e2e_common.bash"
e2e_setup "$1"
. "$(dirname "$0")/support/job_settings.bash"
use_job_settings

work="$build/e2e-menu-file-jobs"
rm -rf "$work"
mkdir -p "$work/multi"
win() { winepath -w "$1" 2>/dev/null; }
readonly VK_F2=0x71 VK_F3=0x72 ID_EXIT=102 ID_CANCEL=200 ID_DECODE_CLIPBOARD=120 ID_ENCODE_CLIPBOARD=121

start_program "$build/Zentp32.exe"
drive wait Zentp32 >/dev/null || fail "the main window did not appear"

# F2: the open dialog "Encode", the progress bar full while the summary shows, the summary,
# and a .uue that uudecode turns back into the input.
head -c 5000 /dev/urandom >"$work/chosen.bin"
drive key Zentp32 $VK_F2
drive choose Encode "$(win "$work/chosen.bin")" || fail "F2 showed no open dialog"
drive wait "#32770" "Quorvane 32" >/dev/null || fail "no summary after F2"
progress=$(drive progress Zentp32) || fail "the main window has no progress bar"
[ "$progress" = 100 ] || fail "the progress bar stands at $progress, not 100, when the job has ended"
summary=$(drive dialog "Quorvane 32" 1) || fail "no summary after F2"
[ "$summary" = "chosen.bin Successfully UU Encoded to\r\n$(win "$work/chosen.uue")" ] || fail "F2 summary: $summary"
(mkdir -p "$work/peer" && cd "$work/peer" && uudecode -o chosen.bin ../chosen.uue) || fail "uudecode refused chosen.uue"
cmp -s "$work/chosen.bin" "$work/peer/chosen.bin" || fail "chosen.uue does not decode to the input"
echo "F2 encodes the chosen file"

# F3: a file uuencode wrote decodes beside it.
head -c 7000 /dev/urandom >"$work/peer.src"
(cd "$work" && uuencode peer.src fromPeer.dat >fromPeer.uue)
drive key Zentp32 $VK_F3
drive choose Decode "$(win "$work/fromPeer.uue")" || fail "F3 showed no open dialog"
summary=$(drive dialog "Quorvane 32" 1) || fail "no summary after F3"
case "$summary" in "fromPeer.uue Successfully UU Decoded as\r\n$(win "$work/fromPeer.dat")"*) ;;
  *) fail "F3 summary: $summary" ;; esac
cmp -s "$work/peer.src" "$work/fromPeer.dat" || fail "F3 did not decode fromPeer.uue"
echo "F3 decodes the chosen file"

# A multiple selection of three files: three jobs, each with its own summary, in order; in
# one output file, as single-part output of a selection is, one enclosure per file.
for name in one two three; do head -c $((RANDOM + 100)) /dev/urandom >"$work/multi/$name.bin"; done
drive key Zentp32 $VK_F2
drive choose Encode "$(win "$work/multi")" '"one.bin" "two.bin" "three.bin"' || fail "no open dialog for the selection"
for name in one two three; do
  summary=$(drive dialog "Quorvane 32" 1) || fail "no summary for $name.bin"
  [ "$summary" = "$name.bin Successfully UU Encoded to\r\n$(win "$work/multi/one.uue")" ] ||
    fail "summary for $name.bin: $summary"
done
drive dialog "Quorvane 32" 1 1000 >/dev/null && fail "a fourth summary after a selection of three"
mkdir -p "$work/multi/peer"
(cd "$work/multi/peer" && awk '/^begin /{n++} n {print > ("enclosure" n)}' ../one.uue &&
  for e in enclosure*; do uudecode "$e" || exit 1; done) || fail "uudecode refused an enclosure of one.uue"
for name in one two three; do
  cmp -s "$work/multi/$name.bin" "$work/multi/peer/$name.bin" || fail "one.uue does not carry $name.bin"
done
echo "a selection of three: three jobs, one summary each, three enclosures"

# Waits until the Cancel button shows, that is, until a job runs.
wait_for_job() {
  for _ in $(seq 1 200); do
    drive children Zentp32 | grep -q "^$ID_CANCEL Button .* 1 1 Cancel$" && return 0
    sleep 0.05
  done
  return 1
}

# Cancel from the button during an encode of many seconds: the job ends within a second,
# its partial output gone, and the abort summary.
make_long_input "$work/long.bin"
drive key Zentp32 $VK_F2
drive choose Encode "$(win "$work/long.bin")" || fail "no open dialog for long.bin"
wait_for_job || fail "the long job did not show its Cancel button (it ended too soon?)"
[ -f "$work/long.uue" ] || fail "the long job has no partial output to delete (it ended too soon?)"
# The commands that stay enabled during a job start no second one.
for id in $ID_ENCODE_CLIPBOARD $ID_DECODE_CLIPBOARD; do
  drive command Zentp32 $id
  refusal=$(drive dialog "Quorvane 32" 1) || fail "command $id during a job: no refusal"
  [ "$refusal" = "Another job is still running." ] ||
    fail "command $id during a job: $refusal"
done
drive dialog Encode 2 1000 >/dev/null && fail "a second open dialog came up during the job"
echo "commands during a job are refused"
drive press Zentp32 $ID_CANCEL || fail "no Cancel button to press"
# A job that pumps its messages only now and then would run on for seconds.
for _ in $(seq 1 20); do [ -e "$work/long.uue" ] || break; sleep 0.05; done
[ ! -e "$work/long.uue" ] || fail "the partial output is still there a second after Cancel"
summary=$(drive dialog "Quorvane 32" 1) || fail "no summary after Cancel"
[ "$summary" = "UU Encode of long.bin Aborted" ] || fail "summary after Cancel: $summary"
drive children Zentp32 | grep -q "^$ID_CANCEL Button .* 0 0 Cancel$" || fail "the Cancel button stays after the job"
echo "Cancel: abort summary, partial output deleted"

# Exit during a long decode: the decoder stops, its partial output is deleted, the program
# closes. The text of 400 MB of zeros takes seconds to decode.
make_long_input "$work/long.bin" 400
(cd "$work" && uuencode long.bin long.out >long.txt && rm long.bin)
drive key Zentp32 $VK_F3
drive choose Decode "$(win "$work/long.txt")" || fail "no open dialog for long.txt"
wait_for_job || fail "the long decode did not start"
for _ in $(seq 1 100); do [ -f "$work/long.out" ] && break; sleep 0.05; done
[ -f "$work/long.out" ] || fail "the long decode has no partial output to delete (it ended too soon?)"
drive command Zentp32 $ID_EXIT
expect_exit_code 0
drive gone Zentp32 "" 2000 || fail "a window is left after Exit during a job"
[ ! -e "$work/long.out" ] || fail "Exit during the decode left its partial output"
echo "Exit during a decode: the job stopped and the program closed"
