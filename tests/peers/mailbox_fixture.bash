# Sourced: make_mailbox DIR writes a mailbox of 22 messages carrying 21 files in every form
# a mail folder or news spool holds them: uuencode, uuenview's XX, mpack, macutils binhex (one before and
# one after other formats), shar with a uuencoded file, hand-made MIME multipart (three
# attachments, and a text part holding two uuencoded files), and, when DIR/ours holds them,
# our encoder's XX file, UU file with "sum -r/size" lines and the three parts of a posting
# (parts1.uue to parts3.uue, of parts.bin), scattered through the mailbox out of order; one
# file comes twice under one name, different each time. The originals are in DIR/files,
# the mailbox in DIR/mbox (LF) and DIR/mbox-crlf (CR LF); the files' names, one a line, in
# DIR/names.

mailbox_from() { printf 'From %s Tue Mar %2d 10:%02d:00 1998\n' "$1" "$2" "$2"; }

# mailbox_head FROM SUBJECT N: a message's header block and its blank line.
mailbox_head() {
  mailbox_from "$1" "$3"
  printf 'From: %s\nTo: list@example.org\nDate: Tue, %d Mar 1998 10:%02d:00 +0100\nSubject: %s\n' \
    "$1" "$3" "$3" "$2"
  printf 'Message-ID: <%d.fixture@example.org>\n\n' "$3"
}

# mailbox_uu FROM SUBJECT N NAME SIGNER: a message carrying DIR/files/NAME uuencoded.
mailbox_uu() {
  mailbox_head "$1" "$2" "$3"
  (cd "$files" && uuencode "$4" "$4")
  mailbox_signature "$5"
}

mailbox_signature() { printf '\n-- \n%s, at the far end of the corridor\n\n' "$1"; }

# mailbox_part FROM K: the next message (make_mailbox's n) carries part K of our posting,
# when there is one; its Subject does not number the part, its frames do.
mailbox_part() {
  [ -f "$dir/ours/parts$2.uue" ] || return 0
  mailbox_head "$1" "the pictures, as promised" $((n += 1))
  cat "$dir/ours/parts$2.uue"
  mailbox_signature "Wendy"
}

# mailbox_base64_part NAME: a MIME attachment of DIR/files/NAME (boundary "mb").
mailbox_base64_part() {
  printf -- '--mb\nContent-Type: application/octet-stream; name="%s"\n' "$1"
  printf 'Content-Transfer-Encoding: base64\nContent-Disposition: attachment; filename="%s"\n\n' "$1"
  base64 -w 76 "$files/$1"
  printf '\n'
}

# mailbox_mpack NAME: mpack's message carrying DIR/files/NAME (mpack seeks in its output).
mailbox_mpack() {
  (cd "$files" && mpack -s "$1 by mpack" -o "$files/.mpack" "$1") && cat "$files/.mpack" && rm "$files/.mpack"
  printf '\n'
}

# macutils binhex derives the Mac name from the path it is given, cut short when the path is
# long: it is given the bare name.
mailbox_binhex() {
  (cd "$files" && binhex -d "$1") | sed '1s/.*/(This file must be converted with BinHex 4.0)/'
}

make_mailbox() {
  local dir=$1 n=0 name size
  files="$dir/files"
  rm -rf "$files"
  mkdir -p "$files"
  # Sizes cover an empty last line, a short one, and the 22500 bytes of a typical picture.
  for entry in uu1.bin:1000 hqx1.bin:4321 mp1.bin:2048 att1.bin:777 att2.gif:22500 att3.zip:5 \
              inner1.bin:300 inner2.bin:4500 shar1.bin:2600 uu2.jpg:22500 hqx2.bin:1234 mp2.bin:901 \
              uu3.bin:45 uu4.bin:1 uu5.bin:9000 b64.doc:3333 uu6.tar:12000 xx1.bin:2500 'uu1 (2).bin':1100; do
    name=${entry%%:*}
    size=${entry#*:}
    # Fixed bytes for each name, so that a failure can be reproduced.
    python3 -c 'import random, sys; r = random.Random(sys.argv[1]); sys.stdout.buffer.write(r.randbytes(int(sys.argv[2])))' \
      "$name" "$size" >"$files/$name"
  done
  : >"$dir/names"
  {
    mailbox_head alice@example.org "meeting notes" $((n += 1))
    printf 'No file here, only words.\n\n> quoted from an earlier message\n'
    mailbox_signature Alice

    mailbox_head bob@example.org "uu1.bin as promised" $((n += 1))
    printf 'Here it is.\n\n'
    (cd "$files" && uuencode uu1.bin uu1.bin)
    mailbox_signature Bob

    mailbox_head carol@example.org "a Mac file" $((n += 1))
    mailbox_binhex hqx1.bin
    mailbox_signature Carol

    mailbox_from dave@example.org $((n += 1))
    mailbox_mpack mp1.bin

    mailbox_head erin@example.org "three attachments" $((n += 1))
    printf 'MIME-Version: 1.0\nContent-Type: multipart/mixed; boundary="mb"\n\nA prologue no reader shows.\n\n'
    printf -- '--mb\nContent-Type: text/plain; charset=us-ascii\n\nThe three files we spoke of.\n\n'
    mailbox_base64_part att1.bin
    mailbox_base64_part att2.gif
    mailbox_base64_part att3.zip
    printf -- '--mb--\n\nAn epilogue.\n\n'

    mailbox_part wendy@example.org 2

    mailbox_head frank@example.org "re: meeting notes" $((n += 1))
    printf '> No file here, only words.\n\nAgreed, and begin with the budget.\n'
    mailbox_signature Frank

    mailbox_head grace@example.org "two files in one part" $((n += 1))
    printf 'MIME-Version: 1.0\nContent-Type: multipart/mixed; boundary="mb"\n\n'
    printf -- '--mb\nContent-Type: text/plain; charset=us-ascii\nContent-Transfer-Encoding: 7bit\n\n'
    printf 'Both files below.\n\n'
    (cd "$files" && uuencode inner1.bin inner1.bin && printf '\nand the second:\n\n' &&
      uuencode inner2.bin inner2.bin)
    printf -- '\n--mb--\n\n'

    if [ -f "$dir/ours/ours.xxe" ]; then
      mailbox_head heidi@example.org "XX for the old gateway" $((n += 1))
      cat "$dir/ours/ours.xxe"
      mailbox_signature Heidi
    fi
    if [ -f "$dir/ours/sums.uue" ]; then
      mailbox_head ivan@example.org "with sum lines" $((n += 1))
      cat "$dir/ours/sums.uue"
      mailbox_signature Ivan
    fi

    mailbox_head judy@example.org "shell archive" $((n += 1))
    (cd "$files" && shar -B shar1.bin 2>/dev/null)
    printf '\n'

    mailbox_uu ken@example.org "uu2.jpg after the MIME ones" $((n += 1)) uu2.jpg Ken

    mailbox_part wendy@example.org 3

    mailbox_head laura@example.org "another Mac file, late" $((n += 1))
    printf 'After all the others.\n\n'
    mailbox_binhex hqx2.bin
    mailbox_signature Laura

    mailbox_uu mallory@example.org "short ones" $((n += 1)) uu3.bin Mallory

    mailbox_from nina@example.org $((n += 1))
    mailbox_mpack mp2.bin

    mailbox_head oscar@example.org "one byte" $((n += 1))
    (cd "$files" && uuencode uu4.bin uu4.bin)

    mailbox_part wendy@example.org 1

    mailbox_head peggy@example.org "no attachment today" $((n += 1))
    printf 'Sorry, the file follows tomorrow.\n'
    mailbox_signature Peggy

    mailbox_uu quentin@example.org "uu5.bin" $((n += 1)) uu5.bin Quentin

    mailbox_head rupert@example.org "single part MIME" $((n += 1))
    printf 'MIME-Version: 1.0\nContent-Type: application/msword; name="b64.doc"\n'
    printf 'Content-Transfer-Encoding: base64\n\n'
    base64 -w 76 "$files/b64.doc"
    printf '\n'

    mailbox_head victor@example.org "xx1.bin, XX for the mainframe" $((n += 1))
    (cd "$files" && uuenview -x xx1.bin 2>/dev/null)
    mailbox_signature Victor

    mailbox_uu sybil@example.org "the archive" $((n += 1)) uu6.tar Sybil

    # A second, different file under a name the mailbox already gave: a decoder without
    # questions keeps both ("uu1 (2).bin").
    mailbox_head bob@example.org "uu1.bin, corrected" $((n += 1))
    (cd "$files" && uuencode "uu1 (2).bin" uu1.bin)
    mailbox_signature Bob

    mailbox_head trent@example.org "thanks all" $((n += 1))
    printf 'Got everything.\n'
  } >"$dir/mbox"
  printf '%s\n' uu1.bin hqx1.bin mp1.bin att1.bin att2.gif att3.zip inner1.bin inner2.bin >>"$dir/names"
  [ -f "$dir/ours/ours.xxe" ] && cp "$dir/ours/ours.bin" "$files/ours.bin" && echo ours.bin >>"$dir/names"
  [ -f "$dir/ours/sums.uue" ] && cp "$dir/ours/sums.bin" "$files/sums.bin" && echo sums.bin >>"$dir/names"
  printf '%s\n' shar1.bin uu2.jpg hqx2.bin uu3.bin mp2.bin uu4.bin uu5.bin b64.doc xx1.bin uu6.tar 'uu1 (2).bin' \
    >>"$dir/names"
  [ -f "$dir/ours/parts1.uue" ] && cp "$dir/ours/parts.bin" "$files/parts.bin" && echo parts.bin >>"$dir/names"
  sed 's/\r$//; s/$/\r/' "$dir/mbox" >"$dir/mbox-crlf"
  mailbox_messages=$n
}
