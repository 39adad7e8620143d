#!/usr/bin/env bash
# "Decode from E-mail" in the real program against the tests' mail client: the mailbox
# dialog lists the store (cells, row icons, the hidden identifier), decodes a posting of three
# messages with decodejoin on (also with single files between its parts) and off, saves
# attachments under cleaned names, says "Nothing to Decode." and "No Matching Messages
# Found." once; a screenshot of the dialog.
. "$(dirname "$0")/support/e2e_common.bash"
e2e_setup "$1"
. "$(dirname "$0")/support/mail_store.bash"

work="$build/e2e-mail-mailbox"
shots="$build/e2e-screenshots"
rm -rf "$work"
mkdir -p "$work/out" "$shots"
mail_store_setup "$work/store"
head -c 9000 /dev/urandom >"$work/photo.jpg"
dialog="Select E-mail Messages to Decode"
list_id=261

# The posting: three messages sent by the program itself, now in the inbox.
mail_setting encodetype 6
mail_setting encodeoutputsize 4500
start_program "$build/Zentp32.exe" /N /EU /M me "$(win "$work/photo.jpg")"
expect_exit_code 0
[ "$(ls "$store/sent" | wc -l)" = 3 ] || fail "the posting is not three messages: $(ls "$store/sent")"
mv "$store"/sent/*.msg "$store/inbox/"
printf 'Subject: hello\nFrom: Alice|SMTP:alice\nDate: 2026/12/07 10:00\nType: IPM.Note\n\nJust text.\r\n' \
  >"$store/inbox/0004.msg"
printf 'attached bytes\n' >"$store/report.bin"
printf 'Subject: a file\nFrom: Bob|SMTP:bob\nAttach: 0|..\\..\\report.pdf|report.bin\n\nsee the file\r\n' \
  >"$store/inbox/0005.msg"

mail_setting decodedirselect 152
mail_text_setting decodedir "$(win "$work/out")"
mail_setting usedefaultnames 1
mail_setting overwriteexisting 1
mail_setting nostatusmessages 1

open_mailbox() {
  drive command Zentp32 123
  drive wait "#32770" "$dialog" >/dev/null || fail "the mailbox dialog did not open"
}

start_program "$build/Zentp32.exe"
drive wait Zentp32 >/dev/null || fail "no main window"
open_mailbox
rows=$(drive listview "$dialog" $list_id)
echo "$rows" >"$work/rows.txt"
[ "$(echo "$rows" | wc -l)" = 5 ] || fail "the dialog lists: $rows"
line() { echo "$rows" | sed -n "$1p"; }
tab=$'\t'
case "$(line 1)" in
  "icon=0${tab}Subject: photo.jpg (1/3)${tab}Zentrel${tab}(none)${tab}"*"${tab}Zentrel32${tab}0001") ;;
  *) fail "row 1: $(line 1)" ;;
esac
[ "$(line 4)" = "icon=1${tab}hello${tab}Alice${tab}2026/12/07 10:00${tab}12${tab}IPM.Note${tab}0004" ] ||
  fail "row 4: $(line 4)"
[ "$(line 5)" = "icon=2${tab}a file${tab}Bob${tab}(Unknown)${tab}14${tab}(Unknown)${tab}0005" ] || fail "row 5: $(line 5)"
import -window root "$shots/mailbox.png"
[ "$(identify -format '%k' "$shots/mailbox.png")" -gt 8 ] || fail "the screenshot shows almost nothing"
echo "mailbox listed; screenshot $shots/mailbox.png"

# decodejoin on: the three bodies are one input, decoded into the file.
drive rows "$dialog" $list_id 0 1 2
import -window root "$shots/mailbox_selected.png"
drive dialog "$dialog" 1 >/dev/null
for _ in $(seq 100); do [ -f "$work/out/photo.jpg" ] && break; sleep 0.1; done
drive gone "#32770" "$dialog" 3000 || fail "the dialog stayed open after Decode"
sleep 1
cmp -s "$work/photo.jpg" "$work/out/photo.jpg" || fail "decodejoin on: the posting did not decode to the file"
[ -f "$store/inbox/0001.read" ] || fail "decoding did not read the message in full"
echo "decodejoin on: the posting decodes"

# decodejoin on, single files between the parts: a UU, an XX and a BinHex file and a MIME
# message of two attachments, each in a message of its own listed between the posting's
# messages, all come out of the one input.
mime_attachment() {
  printf -- '--zz\nContent-Type: application/octet-stream; name="%s"\nContent-Transfer-Encoding: base64\n\n' "$1"
  base64 -w 76 "$work/$1"
}
head -c 2500 /dev/urandom >"$work/0001c.bin"
for entry in 0000a:uu 0001a:xx 0001b:mime 0002a:hqx; do
  name=${entry%%:*}
  head -c 3000 /dev/urandom >"$work/$name.bin"
  case ${entry#*:} in
    uu) body=$(cd "$work" && uuencode "$name.bin" "$name.bin") ;;
    xx) body=$(cd "$work" && uuenview -x "$name.bin" 2>/dev/null) ;;
    hqx) body=$(cd "$work" && binhex -d "$name.bin" | sed '1s/.*/(This file must be converted with BinHex 4.0)/') ;;
    mime) body=$(printf 'MIME-Version: 1.0\nContent-Type: multipart/mixed; boundary="zz"\n\n--zz\n'
                 printf 'Content-Type: text/plain\n\nTwo files.\n'
                 mime_attachment "$name.bin" && mime_attachment 0001c.bin && printf -- '--zz--\n') ;;
  esac
  printf 'Subject: %s as promised\nFrom: Carol|SMTP:carol\n\n%s\n' "$name" "$body" | sed 's/$/\r/' \
    >"$store/inbox/$name.msg"
done
open_mailbox
drive rows "$dialog" $list_id 0 1 2 3 4 5 6
drive dialog "$dialog" 1 >/dev/null
said=$(drive dialog "Quorvane 32" 1) || fail "the BinHex file showed no header"
case "$said" in "BinHex Header Information:"*"File Name:\t0002a.bin"*) ;; *) fail "the BinHex file showed: $said" ;; esac
for _ in $(seq 100); do [ -f "$work/out/0002a.bin" ] && [ -f "$work/out/0001a.bin" ] && break; sleep 0.1; done
drive gone "#32770" "$dialog" 3000 || fail "the dialog stayed open after Decode"
sleep 1
for name in 0000a 0001a 0001b 0001c 0002a; do
  cmp -s "$work/$name.bin" "$work/out/$name.bin" || fail "single files between the parts: $name.bin is not exact"
done
cmp -s "$work/photo.jpg" "$work/out/photo.jpg" || fail "single files between the parts: the posting is not exact"
rm "$store"/inbox/000[012][ab].msg "$work"/out/000[012][abc].bin
echo "decodejoin on: single files between the parts decode too"

# The mailbox of every format and style (tests/peers/mailbox_fixture.bash), each of its
# messages, headers and all, the body of a message of the store; all chosen at once, the
# joined input gives every file exact (the two BinHex files show their header).
. "$e2e_root/tests/peers/mailbox_fixture.bash"
make_mailbox "$work/box"
python3 - "$work/box/mbox" "$store/inbox" <<'SPLIT'
import sys
messages = open(sys.argv[1], "rb").read().split(b"\nFrom ")
for i, text in enumerate(messages):
    body = text.split(b"\n", 1)[1]
    with open("%s/%04d.msg" % (sys.argv[2], 1000 + i), "wb") as out:
        out.write(b"Subject: mailbox message %d\nFrom: List|SMTP:list\n\n" % i)
        out.write(body.replace(b"\n", b"\r\n"))
SPLIT
open_mailbox
drive rows "$dialog" $list_id $(seq 5 $((4 + mailbox_messages)))
drive dialog "$dialog" 1 >/dev/null
for name in hqx1.bin hqx2.bin; do
  said=$(drive dialog "Quorvane 32" 1) || fail "the mailbox: $name showed no header"
  case "$said" in "BinHex Header Information:"*"File Name:\t$name"*) ;; *) fail "the mailbox: $name showed: $said" ;; esac
done
drive gone "#32770" "$dialog" 5000 || fail "the dialog stayed open after decoding the mailbox"
for _ in $(seq 100); do [ -f "$work/out/uu1 (2).bin" ] && break; sleep 0.1; done
[ -f "$work/out/uu1 (2).bin" ] || fail "the mailbox did not reach its last file; windows: $(drive windows "*" | tr '\n' '|')"
sleep 1
while read -r name; do
  cmp -s "$work/box/files/$name" "$work/out/$name" || fail "the mailbox: $name is not exact: $(ls "$work/out")"
  rm "$work/out/$name"
done <"$work/box/names"
rm "$store"/inbox/1*.msg
echo "the mailbox of every format: $(wc -l <"$work/box/names") files exact through the dialog"

# Attachments only: saved under their cleaned name, no decode starts.
open_mailbox
drive rows "$dialog" $list_id 4
drive dialog "$dialog" 1 >/dev/null
drive gone "#32770" "$dialog" 3000 || fail "the dialog stayed open after saving an attachment"
[ "$(cat "$work/out/report.pdf" 2>/dev/null)" = "attached bytes" ] || fail "the attachment was not saved as report.pdf"
[ ! -e "$work/report.pdf" ] || fail "the attachment's ..\\ path was followed"
echo "attachment saved under its cleaned name"

# Nothing saved: the read fails, "Nothing to Decode.", the dialog stays for another choice.
open_mailbox
drive rows "$dialog" $list_id 3
mail_config "fail.MAPIReadMail=17"
drive dialog "$dialog" 1 >/dev/null
first=$(drive dialog "Quorvane 32" 1) || fail "no box for the failed read"
second=$(drive dialog "Quorvane 32" 1) || fail "no Nothing to Decode."
[ "$first" = "Reading E-mail Message Failed because Invalid Message Identifier." ] || fail "read failure said: $first"
[ "$second" = "Nothing to Decode." ] || fail "then: $second"
drive wait "#32770" "$dialog" 1000 >/dev/null || fail "the dialog closed with nothing saved"
mail_config ""
drive dialog "$dialog" 2 >/dev/null
drive gone "#32770" "$dialog" 3000 || fail "Cancel did not close the dialog"
echo "Nothing to Decode. keeps the dialog"

# decodejoin off: three inputs, one per message, each a temporary file to decode; even with
# the decode method "by name" (the temporary names say nothing) none is encoded instead: the
# data decides the format. The first part alone says which parts it misses; the later parts
# alone have no begin line, and the decoder asks how to go on (told to stop here). None of the
# inputs is left over.
drive key Zentp32 0x79
expect_exit_code 0
mail_setting decodejoin 0
mail_setting decodemethod 180
temp=$(winepath -u "$("$QV_WINE" cmd /c echo %TEMP% 2>/dev/null | tr -d '\r')" 2>/dev/null)
[ -d "$temp" ] || fail "no temporary folder at $temp"
before=$(ls "$temp" | grep -c '^znt' || true)
start_program "$build/Zentp32.exe"
drive wait Zentp32 >/dev/null || fail "no main window"
open_mailbox
drive rows "$dialog" $list_id 0 1 2
drive dialog "$dialog" 1 >/dev/null
said=$(drive dialog "Quorvane 32" 1) || fail "the first part alone did not say what it misses"
[ "$said" = "Total Parts Required: 3.\\r\\nMissing Parts: 2, 3" ] || fail "expected missing 2, 3, got: $said"
for part in 2 3; do
  asked=$(drive answer "Retry Decoding" 2) || fail "part $part alone raised no Retry Decoding dialog"
  case "$asked" in "Missing 'begin'"*" Statement"*" in znt"*".tmp.") ;; *) fail "part $part alone: $asked" ;; esac
  echo "part $part alone: $asked"
done
more=$(drive dialog "Quorvane 32" 1 1500) && fail "more than three inputs had something to say: $more"
after=$(ls "$temp" | grep -c '^znt' || true)
[ "$after" = "$before" ] || fail "mailbox inputs were left in the temporary folder: $(ls "$temp" | grep '^znt')"
[ "$(ls "$work/out")" = "photo.jpg
report.pdf" ] || fail "something was written besides the decoded part: $(ls "$work/out")"
[ "$(grep -c '^MAPIReadMail .* flags=0x0$' "$store/calls.log")" -ge 6 ] || fail "the three messages were not read in full"
echo "decodejoin off: three inputs, each decoded alone, none left"

# An empty mailbox: one box, an empty list.
rm -f "$store"/inbox/*
drive command Zentp32 123
said=$(drive dialog "Quorvane 32" 1) || fail "an empty mailbox was not said"
[ "$said" = "No Matching Messages Found." ] || fail "an empty mailbox said: $said"
drive wait "#32770" "$dialog" >/dev/null || fail "no dialog for an empty mailbox"
[ -z "$(drive listview "$dialog" $list_id)" ] || fail "an empty mailbox lists rows"
drive dialog "Quorvane 32" 1 500 >/dev/null && fail "a second box for the empty mailbox"
drive dialog "$dialog" 2 >/dev/null
drive key Zentp32 0x79
expect_exit_code 0
grep -qx "END sessions=0" "$store/calls.log" || fail "a mail session was left open"
echo "empty mailbox said once; no session left"

# Both mail commands while a dropped batch runs (a.uue waits in its save dialog): each is
# refused with "Another job is still running."; no mail session opens, and every dropped file
# is decoded and kept, none taken for a temporary input.
mkdir -p "$work/batch"
for name in a b c; do
  head -c 2000 /dev/urandom >"$work/batch/$name.src"
  (cd "$work/batch" && uuencode "$name.src" "$name.bin" >"$name.uue")
done
mail_setting usedefaultnames 0
mail_setting decodedirselect 151
: >"$store/calls.log"
start_program "$build/Zentp32.exe"
drive wait Zentp32 >/dev/null || fail "no main window"
drive drop Zentp32 "$(win "$work/batch/a.uue")" "$(win "$work/batch/b.uue")" "$(win "$work/batch/c.uue")" ||
  fail "could not drop"
drive wait "#32770" "Decode Output To" >/dev/null || fail "a.uue's job asked for no output name"
for command in 123 122; do
  drive command Zentp32 $command
  said=$(drive dialog "Quorvane 32" 1) || fail "command $command during the batch was not refused"
  [ "$said" = "Another job is still running." ] || fail "command $command during the batch said: $said"
done
drive wait "#32770" "$dialog" 500 >/dev/null && fail "the mailbox dialog opened during the batch"
for name in a b c; do
  drive dialog "Decode Output To" 1 >/dev/null || fail "no output name asked for $name.uue"
done
for _ in $(seq 100); do [ -f "$work/batch/c.bin" ] && break; sleep 0.1; done
drive key Zentp32 0x79
expect_exit_code 0
for name in a b c; do
  [ -f "$work/batch/$name.uue" ] || fail "$name.uue was deleted"
  cmp -s "$work/batch/$name.src" "$work/batch/$name.bin" || fail "$name.uue was not decoded"
done
grep -q "MAPILogon" "$store/calls.log" && fail "a mail command logged on during the batch"
echo "mail commands during a batch: refused; every dropped file decoded and kept"
