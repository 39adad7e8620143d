# yEnc, begin-base64 and MIME message/partial postings shaped like real news and mail, in our
# own words, with the data lines of independent encoders (uuenview -y, python3-yenc, GNU
# uuencode -m, mpack's split messages); sourced,
# not a test of its own. Each posting is a folder of articles art*.txt, given together (and
# joined) in the order that `order` lists; `expect/NAME` is the file they carry; `outcome`
# says what the decoder must make of them: clean (the exact file), checksum (a file and a
# checksum mismatch) or missing (no file, the missing-parts message).
#   make_yenc_postings FOLDER   (needs uuenview, uuencode, mpack and python3-yenc)
#   yenc_posting_names          the postings in a fixed order

yenc_posting_names() {
  echo "y-single-blanks y-dots-tabs-spread y-parts-in-one y-changed-byte y-missing-part y-truncated b64-gnu" \
    "mp-mailbox mp-spread mp-missing-part"
}

yenc_bytes() { LC_ALL=C awk -v n="$1" -v seed="$2" 'BEGIN { srand(seed); for (i = 0; i < n; i++) printf "%c", int(rand() * 256) }'; }

yenc_head() {  # SUBJECT ID
  printf 'Path: news.example.net!not-for-mail\nFrom: Poster <poster@example.net>\nNewsgroups: alt.binaries.test\n'
  printf 'Subject: %s\nMessage-ID: <%s@example.net>\nLines: 2000\n\n' "$1" "$2"
}
yenc_sig() { printf -- '\n-- \nposter, posting from the porch\n'; }

# One posting: a folder, its expected file, its outcome and order.
yenc_posting() {  # FOLDER NAME OUTCOME ORDER...
  local d=$1 name=$2 outcome=$3; shift 3
  mkdir -p "$d/expect"
  echo "$outcome" >"$d/outcome"
  echo "$@" >"$d/order"
}

# uuenview's parts of FILE (200 lines each) in FOLDER/parts: part.001, part.002, ...
uuenview_parts() {  # FILE FOLDER
  mkdir -p "$2/parts"
  (cd "$(dirname "$1")" && uuenview -y -200 -od "$2/parts" "$(basename "$1")" >/dev/null 2>&1)
  local i=1 f
  for f in "$2"/parts/*; do mv "$f" "$2/parts/part.$(printf %03d $i)"; i=$((i + 1)); done
}

# Parts of FILE with python3-yenc's data lines and our own keyword lines (yEnc 1.2, with
# total= and pcrc32=), two of its lines joined into one of 256 characters. A leading dot,
# escaped by the encoder, is written plain and then doubled, as news transport leaves an
# older encoder's line; tabs stay unescaped.
pyyenc_parts() {  # FILE FOLDER PART-SIZE
  mkdir -p "$2/parts"
  /usr/bin/python3 - "$1" "$2/parts" "$3" <<'PY'
import sys, zlib, _yenc
data = open(sys.argv[1], 'rb').read()
size, step = len(data), int(sys.argv[3])
total = (size + step - 1) // step
name = sys.argv[1].rsplit('/', 1)[-1]
for k in range(total):
    chunk = data[k * step:(k + 1) * step]
    text = _yenc.encode_string(chunk, 0, 0)[0].decode('latin-1').replace('\r\n', '\n')
    lines = text.split('\n')
    lines = [''.join(lines[i:i + 2]) for i in range(0, len(lines), 2)]
    lines = ['..' + l[2:] if l.startswith('=n') else l for l in lines]
    out = '=ybegin part=%d total=%d line=256 size=%d name=%s\n' % (k + 1, total, size, name)
    out += '=ypart begin=%d end=%d\n' % (k * step + 1, k * step + len(chunk))
    out += '\n'.join(lines).rstrip('\n') + '\n'
    out += '=yend size=%d part=%d pcrc32=%08x crc32=%08x\n' % (len(chunk), k + 1, zlib.crc32(chunk), zlib.crc32(data))
    open('%s/part.%03d' % (sys.argv[2], k + 1), 'w', encoding='latin-1', newline='').write(out)
PY
}

# article FOLDER N SUBJECT PART-FILE...: art N.txt with headers, the parts and a signature
article() {
  local d=$1 n=$2 subject=$3; shift 3
  { yenc_head "$subject" "a$n.$(basename "$d")"; cat "$@"; yenc_sig; } >"$d/art$n.txt"
}

crlf() { sed -i 's/$/\r/' "$@"; }

# mpack's message/partial split of FILE into FOLDER/parts/part.01, part.02, ... (about
# SIZE characters each); mpack seeks in its output, so it writes files, not a pipe.
mpack_parts() {  # FILE FOLDER SIZE
  mkdir -p "$2/parts"
  (cd "$(dirname "$1")" && mpack -s "$(basename "$1")" -m "$3" -o "$2/parts/part" "$(basename "$1")")
}

# A mailbox message: the "From " line, then the text (mpack's own header comes first in it).
mbox_message() {  # FILE...
  printf 'From poster@example.net Sat Mar  2 10:%02d:00 2024\n' $((RANDOM % 60))
  cat "$@"
  printf '\n'
}
mbox_chat() {  # SUBJECT
  printf 'From friend@example.org Sat Mar  2 11:00:00 2024\nFrom: Friend <friend@example.org>\n'
  printf 'Subject: %s\nContent-Type: text/plain\n\nGot the first ones; where are the others?\n' "$1"
  printf 'Note: the photo (2/3) is late.\n\n-- \nfriend\n\n'
}

make_yenc_postings() {
  local root=$1 d
  mkdir -p "$root"
  # One file, a name with blanks, under a "(1/1)" subject, CR LF line ends.
  d=$root/y-single-blanks; yenc_posting "$d" "holiday photo.jpg" clean art1.txt
  yenc_bytes 40000 21 >"$d/expect/holiday photo.jpg"
  (cd "$d/expect" && uuenview -y "holiday photo.jpg" 2>/dev/null) >"$d/one.y"
  article "$d" 1 '"holiday photo.jpg" yEnc (1/1)' "$d/one.y"; crlf "$d/art1.txt"
  # Bytes that encode to leading dots and tabs, three parts spread over three articles.
  d=$root/y-dots-tabs-spread; yenc_posting "$d" "dots and tabs.bin" clean art3.txt art1.txt art2.txt
  { yenc_bytes 30000 22; LC_ALL=C awk 'BEGIN { for (i = 0; i < 10000; i++) printf "%c%c", 4, 223 }'; } >"$d/expect/dots and tabs.bin"
  pyyenc_parts "$d/expect/dots and tabs.bin" "$d" 20000
  for n in 1 2 3; do article "$d" $n "\"dots and tabs.bin\" yEnc ($n/3)" "$d/parts/part.00$n"; done
  # uuenview's parts (no total=) in one article, out of order; and three damaged copies.
  local name
  for name in y-parts-in-one y-changed-byte y-missing-part y-truncated; do
    d=$root/$name
    yenc_posting "$d" "tool kit.tar" clean art1.txt
    yenc_bytes 100000 23 >"$d/expect/tool kit.tar"
    uuenview_parts "$d/expect/tool kit.tar" "$d"
  done
  d=$root/y-parts-in-one; article "$d" 1 'tool kit (1/4)' "$d"/parts/part.00{3,1,4,2}; crlf "$d/art1.txt"
  d=$root/y-changed-byte; echo checksum >"$d/outcome"
  LC_ALL=C sed -i '20s/^\(.\{40\}\)[^=Q]/\1Q/' "$d/parts/part.002"
  article "$d" 1 'tool kit (1/4)' "$d"/parts/part.00{1,2,3,4}
  d=$root/y-missing-part; echo missing >"$d/outcome"
  article "$d" 1 'tool kit (1/4)' "$d"/parts/part.00{4,1,3}
  d=$root/y-truncated; echo checksum >"$d/outcome"
  head -n 120 "$d/parts/part.004" >"$d/parts/cut.004"
  article "$d" 1 'tool kit (1/4)' "$d"/parts/part.00{1,2,3} "$d/parts/cut.004"
  # GNU uuencode -m: begin-base64 ... ====, the name with a blank.
  d=$root/b64-gnu; yenc_posting "$d" "report 2024.pdf" clean art1.txt
  yenc_bytes 9000 24 >"$d/expect/report 2024.pdf"
  (cd "$d/expect" && uuencode -m "report 2024.pdf" "report 2024.pdf") >"$d/b64.txt"
  article "$d" 1 'the report' "$d/b64.txt"
  # mpack's message/partial parts in one mailbox, out of order, among other mail, CR LF.
  d=$root/mp-mailbox; yenc_posting "$d" "beach photo.jpg" clean mbox
  yenc_bytes 50000 25 >"$d/expect/beach photo.jpg"
  mpack_parts "$d/expect/beach photo.jpg" "$d" 24000
  { mbox_chat 'Re: the photos'; mbox_message "$d/parts/part.03"; mbox_message "$d/parts/part.01"
    mbox_chat 'lunch?'; mbox_message "$d/parts/part.02"; } >"$d/mbox"
  crlf "$d/mbox"
  # One part an article of its own, with a news server's header fields before mpack's.
  d=$root/mp-spread; yenc_posting "$d" "site backup.tgz" clean art3.txt art1.txt art2.txt
  yenc_bytes 60000 26 >"$d/expect/site backup.tgz"
  mpack_parts "$d/expect/site backup.tgz" "$d" 30000
  for n in 1 2 3; do
    { printf 'Path: news.example.net!not-for-mail\nNewsgroups: alt.binaries.test\nLines: 400\n'
      cat "$d/parts/part.0$n"; } >"$d/art$n.txt"
  done
  # The middle part of three missing: no file, the missing-parts message.
  d=$root/mp-missing-part; yenc_posting "$d" "beach photo.jpg" missing mbox
  yenc_bytes 50000 25 >"$d/expect/beach photo.jpg"
  mpack_parts "$d/expect/beach photo.jpg" "$d" 24000
  { mbox_message "$d/parts/part.03"; mbox_chat 'lunch?'; mbox_message "$d/parts/part.01"; } >"$d/mbox"
}
