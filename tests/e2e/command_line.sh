#!/usr/bin/env bash
# The command line of the real program: /N with each encode method writes its output
# beside the input and exits with no window left; a .uue given alone is decoded; lower-case
# options leave the stored settings alone; the quote rule for names; bare names in another
# current folder; /O and split parts meeting existing files; too many names; a mailbox of
# every format in one input, LF and CR LF; yEnc, begin-base64 and message/partial articles;
# names beyond ASCII.
. "$(dirname "$0")/support/e2e_common.bash"
e2e_setup "$1"
. "$(dirname "$0")/support/stored_values.bash"
forget_values_at_exit encodemethod decodejoin encodetype encodeoutputsize encodechecksum

work="$build/e2e-command-line"
rm -rf "$work"
mkdir -p "$work"
head -c 3000 /dev/urandom >"$work/photo.jpg"
win() { winepath -w "$1" 2>/dev/null; }

# Runs the program with ARGS and waits for it to close by itself.
run_to_end() {
  start_program "$build/Zentp32.exe" "$@"
  expect_exit_code 0
  drive gone Zentp32 "" 2000 || fail "a window is left after: $*"
}

# /N /E<method>: the encoded file appears beside the input, decodable by the peer tools.
run_to_end /N /EU "$(win "$work/photo.jpg")"
[ -f "$work/photo.uue" ] || fail "/N /EU wrote no photo.uue"
(cd "$work" && mkdir -p uu && cd uu && uudecode -o photo.jpg ../photo.uue) || fail "uudecode refused photo.uue"
cmp -s "$work/photo.jpg" "$work/uu/photo.jpg" || fail "photo.uue does not decode to the input"
echo "/N /EU ok"

run_to_end /N /EX "$(win "$work/photo.jpg")"
[ -f "$work/photo.xxe" ] || fail "/N /EX wrote no photo.xxe"
grep -q '^begin [0-7]* photo.jpg' "$work/photo.xxe" || fail "photo.xxe has no begin line"
echo "/N /EX ok"

run_to_end /N /EM "$(win "$work/photo.jpg")"
[ -f "$work/photo.mme" ] || fail "/N /EM wrote no photo.mme"
tr -d '\r' <"$work/photo.mme" | awk '/^Content-Disposition/ {head = 1; next}
  head && /^$/ {body = 1; next}  body && /^--/ {exit}  body' | base64 -d >"$work/photo.mime" || true
cmp -s "$work/photo.jpg" "$work/photo.mime" || fail "photo.mme does not carry the input in base64"
echo "/N /EM ok"

"$QV_WINE" reg add "$settings_key" /v encodemethod /t REG_DWORD /d 182 /f >/dev/null 2>&1 ||
  fail "could not store the encode method"
run_to_end -eb -n "$(win "$work/photo.jpg")"
[ -f "$work/photo.hqx" ] || fail "-eb -n wrote no photo.hqx"
grep -q '^(This file must be converted with BinHex 4.0)' "$work/photo.hqx" || fail "photo.hqx has no BinHex banner"
echo "-eb -n ok"
stored=$("$QV_WINE" reg query "$settings_key" /v encodemethod 2>/dev/null | tr -d '\r' || true)
case "$stored" in *0xb6*) ;; *) fail "-eb changed the stored encode method: $stored" ;; esac
echo "options left the stored settings alone"

# A .uue alone is decoded (decode method by name by default... or by data: either decodes it).
mkdir -p "$work/dec"
cp "$work/photo.uue" "$work/dec/photo.uue"
run_to_end /N "$(win "$work/dec/photo.uue")"
cmp -s "$work/photo.jpg" "$work/dec/photo.jpg" || fail "/N photo.uue did not decode to photo.jpg"
echo "/N file.uue decodes"

# A mailbox of every format and style we read (tests/peers/mailbox_fixture.bash), with our
# own XX file, a UU file with "sum -r/size" lines and a posting in three parts scattered
# among the peers' messages: one /N run gives every file exact, with either line end, and
# exits 0.
. "$e2e_root/tests/peers/mailbox_fixture.bash"
box=$work/mailbox
mkdir -p "$box/ours"
head -c 3100 /dev/urandom >"$box/ours/ours.bin"
head -c 2900 /dev/urandom >"$box/ours/sums.bin"
run_to_end /N /EX "$(win "$box/ours/ours.bin")"
"$QV_WINE" reg add "$settings_key" /v encodechecksum /t REG_DWORD /d 1 /f >/dev/null 2>&1
run_to_end /N /EU "$(win "$box/ours/sums.bin")"
"$QV_WINE" reg delete "$settings_key" /v encodechecksum /f >/dev/null 2>&1
grep -q '^sum -r/size' "$box/ours/sums.uue" || fail "our encoder wrote no sum lines"
# A posting of three SimTel-framed parts, which the mailbox scatters out of order.
python3 -c 'import random; open("'"$box/ours/parts.bin"'", "wb").write(random.Random(9).randbytes(9000))'
"$QV_WINE" reg add "$settings_key" /v encodetype /t REG_DWORD /d 5 /f >/dev/null 2>&1
"$QV_WINE" reg add "$settings_key" /v encodeoutputsize /t REG_DWORD /d 5000 /f >/dev/null 2>&1
run_to_end /N /EU "$(win "$box/ours/parts.bin")"
"$QV_WINE" reg delete "$settings_key" /v encodetype /f >/dev/null 2>&1
"$QV_WINE" reg delete "$settings_key" /v encodeoutputsize /f >/dev/null 2>&1
[ "$(ls "$box/ours" | grep -c '^parts[0-9]\.uue$')" = 3 ] || fail "the posting is not in three parts: $(ls "$box/ours")"
make_mailbox "$box"
for ending in mbox mbox-crlf; do
  mkdir -p "$box/$ending.out"
  cp "$box/$ending" "$box/$ending.out/"
  run_to_end /N "$(win "$box/$ending.out/$ending")"
  while read -r name; do
    cmp -s "$box/files/$name" "$box/$ending.out/$name" || fail "$ending: $name is not exact: $(ls "$box/$ending.out")"
  done <"$box/names"
  [ ! -f "$box/$ending.out/DontKnow.Yet" ] || fail "$ending: a text part was written as a file"
  echo "$ending: $mailbox_messages messages, $(wc -l <"$box/names") files exact, exit status 0"
done

# Two unquoted names: both processed, no summary, then the program closes.
mkdir -p "$work/two"
head -c 500 /dev/urandom >"$work/two/a.bin"
head -c 700 /dev/urandom >"$work/two/b.bin"
(cd "$work/two" && uuencode a.bin a.bin >a.uue && uuencode b.bin b.bin >b.uue && rm a.bin b.bin)
cp "$work/two/a.uue" "$work/two/a.keep"
run_to_end /N "$(win "$work/two/a.uue")" "$(win "$work/two/b.uue")"
[ -f "$work/two/a.bin" ] && [ -f "$work/two/b.bin" ] || fail "two unquoted names were not both decoded"
echo "two unquoted names ok"

# An unquoted name, then a quoted one: only the quoted one is processed. A batch file gives
# the program this command line as it stands.
mkdir -p "$work/quote"
(cd "$work/quote" && head -c 400 /dev/urandom >c.bin && head -c 400 /dev/urandom >d.bin &&
  uuencode c.bin c.bin >c.uue && uuencode d.bin d.bin >d.uue && rm c.bin d.bin)
printf '"%s" /N %s "%s"\r\n' "$(win "$build/Zentp32.exe")" "$(win "$work/quote/c.uue")" \
  "$(win "$work/quote/d.uue")" >"$work/quote/run.bat"
timeout 60 "$QV_WINE" cmd /c "$(win "$work/quote/run.bat")" || fail "the quoted command line did not end"
[ -f "$work/quote/d.bin" ] || fail "the quoted name was not processed"
[ ! -f "$work/quote/c.bin" ] || fail "the name before the quote was processed"
echo "quote rule ok"

# Names beyond ASCII (the program's names are UTF-8): UU, MIME and BinHex of two such files.
# GNU uudecode makes the same names from our begin lines; munpack (which reads no RFC 2231
# names) and macutils hexbin the same data, hexbin with the Mac Roman name in its header;
# our decoder gives every name back. Then names written by others: mpack's raw UTF-8, a
# 1990s article in Windows-1252, a mail with an RFC 2231 name in sections, and a Mac name.
intl=$work/intl
mkdir -p "$intl"
# BinHex names are Mac Roman, which has no Japanese: those characters come back as "_".
for name in "日本語 ファイル.jpg" "résumé 2.pdf"; do
  mac_back=$(printf '%s' "$name" | sed 's/[^ -~é]/_/g')
  head -c 2500 /dev/urandom >"$intl/$name"
  stem=${name%.*}
  for m in EU EM EB; do run_to_end /N /$m "$(win "$intl/$name")"; done
  [ "$(head -n 1 "$intl/$stem.uue" | tr -d '\r')" = "begin 644 $name" ] || fail "$stem.uue: $(head -n 1 "$intl/$stem.uue")"
  grep -q "^Content-Disposition: attachment; filename\*=UTF-8''" "$intl/$stem.mme" || fail "$stem.mme: no RFC 2231 name"
  mkdir -p "$intl/uu" "$intl/mime-$stem" "$intl/hqx-$stem"
  (cd "$intl/uu" && uudecode "../$stem.uue") && cmp -s "$intl/$name" "$intl/uu/$name" ||
    fail "uudecode did not make $name: $(ls "$intl/uu")"
  munpack -q -C "$intl/mime-$stem" "$intl/$stem.mme" >/dev/null 2>&1
  cmp -s "$intl/$name" "$intl/mime-$stem/$(ls "$intl/mime-$stem" | head -n 1)" || fail "munpack: $stem.mme is not the file"
  (cd "$intl/hqx-$stem" && hexbin -3 "../$stem.hqx" >/dev/null 2>&1)
  cmp -s "$intl/$name" "$intl/hqx-$stem/"*.data || fail "hexbin: $stem.hqx is not the file: $(ls "$intl/hqx-$stem")"
  for ext in uue mme hqx; do
    mkdir -p "$intl/back-$ext"
    cp "$intl/$stem.$ext" "$intl/back-$ext/"
    run_to_end /N "$(win "$intl/back-$ext/$stem.$ext")"
    back=$name && [ $ext = hqx ] && back=$mac_back
    cmp -s "$intl/$name" "$intl/back-$ext/$back" || fail "$stem.$ext decoded to: $(ls "$intl/back-$ext")"
  done
  echo "$name: UU, MIME and BinHex, through the peers and back"
done
mac_name=$(cat "$intl/hqx-résumé 2/"*.info | head -c 14 | tail -c 12 | od -An -tx1 | tr -d ' \n')
[ "$mac_name" = "728e73756d8e20322e706466" ] || fail "the BinHex name is not Mac Roman: $mac_name"
mkdir -p "$intl/others" && cd "$intl/others"
cp "$intl/résumé 2.pdf" . && mpack -o mpack.txt -s "my cv" "résumé 2.pdf" && rm "résumé 2.pdf"
head -c 1800 /dev/urandom >cv.src && uuencode cv.src $'r\xe9sum\xe9 \xa71.txt' >cv.uue
{ printf 'Path: news.example.net!not-for-mail\nFrom: jr@example.net (J. R\xe9my)\nNewsgroups: alt.binaries.misc\n'
  printf 'Subject: Mon CV - r\xe9sum\xe9 [1/1]\nContent-Type: text/plain; charset=iso-8859-1\n\nVoil\xe0.\n\n'
  cat cv.uue; printf '\n-- \nJ. R\xe9my, Montr\xe9al\n'; } >article.txt
head -c 2200 /dev/urandom >jp.src
{ printf 'From: hanako@example.jp\nSubject: photo\nMIME-Version: 1.0\nContent-Type: multipart/mixed; boundary="b1"\n\n'
  printf -- '--b1\nContent-Type: text/plain; charset=utf-8\n\nPhoto attached.\n\n--b1\nContent-Type: image/jpeg\n'
  printf "Content-Disposition: attachment;\n filename*0*=UTF-8''%%E5%%86%%99%%E7%%9C%%9F;\n filename*1=\" 1.jpg\"\n"
  printf 'Content-Transfer-Encoding: base64\n\n'; base64 jp.src; printf '\n--b1--\n'; } >rfc2231.txt
# macutils writes a banner of its own; the standard one stands in for it.
printf 'z' >$'caf\x8e.txt' && binhex -d $'caf\x8e.txt' |
  sed '1s/.*/(This file must be converted with BinHex 4.0)/' >mac.hqx && rm $'caf\x8e.txt'
for f in mpack.txt article.txt rfc2231.txt mac.hqx; do run_to_end /N "$(win "$intl/others/$f")"; done
cd "$work"
cmp -s "$intl/résumé 2.pdf" "$intl/others/résumé 2.pdf" || fail "mpack's UTF-8 name: $(ls "$intl/others")"
cmp -s "$intl/others/cv.src" "$intl/others/résumé §1.txt" || fail "the Windows-1252 name: $(ls "$intl/others")"
cmp -s "$intl/others/jp.src" "$intl/others/写真 1.jpg" || fail "the RFC 2231 name: $(ls "$intl/others")"
[ "$(cat "$intl/others/café.txt" 2>/dev/null)" = z ] || fail "the Mac Roman name: $(ls "$intl/others")"
echo "names by others: UTF-8, Windows-1252, RFC 2231 in sections and Mac Roman"

# /O names the output; /J joins the inputs even when the stored setting says not to.
run_to_end /N /EU /O "$(win "$work/given.uue")" "$(win "$work/photo.jpg")"
grep -q '^begin [0-7]* photo.jpg' "$work/given.uue" || fail "/O did not name the output given.uue"
echo "/O name ok"
"$QV_WINE" reg add "$settings_key" /v decodejoin /t REG_DWORD /d 0 /f >/dev/null 2>&1
mkdir -p "$work/join"
head -c 20000 /dev/urandom >"$work/whole.src"
(cd "$work/join" && uuencode ../whole.src whole.bin >whole.uue && split -l 150 whole.uue part. && rm whole.uue)
parts=()
for part in "$work/join"/part.*; do parts+=("$(win "$part")"); done
[ "${#parts[@]}" -ge 3 ] || fail "the test needs three parts"
run_to_end /N /J "${parts[@]}"
cmp -s "$work/whole.src" "$work/join/whole.bin" || fail "/J did not decode the concatenation: $(ls "$work/join")"
[ "$(ls "$work/join" | grep -c '^znt')" = 0 ] || fail "/J left its joined file: $(ls "$work/join")"
echo "/J ok (${#parts[@]} parts)"

# Bare names, the program run in their folder: the joined file and the decoded output are
# made there, not in the system's temporary folder.
mkdir -p "$work/bare"
cp "$work/join"/part.* "$work/bare/"
(cd "$work/bare" && timeout 120 "$QV_WINE" "$build/Zentp32.exe" /N /J $(cd "$work/bare" && ls part.*)) ||
  fail "the run with bare names did not end"
cmp -s "$work/whole.src" "$work/bare/whole.bin" || fail "bare names: no whole.bin beside them: $(ls "$work/bare")"
[ "$(ls "$work/bare" | grep -c '^znt')" = 0 ] || fail "bare names: the joined file is left: $(ls "$work/bare")"
echo "bare names: the output lands in their folder"

# /O meets an existing file: asked, and No keeps it. Two inputs given one name with /N: the
# second does not replace what the first wrote; it is refused with a message, and the run's
# exit status says so.
mkdir -p "$work/given"
(cd "$work/given" && head -c 600 /dev/urandom >a.src && head -c 800 /dev/urandom >b.src &&
  uuencode a.src a.src >a.uue && uuencode b.src b.src >b.uue && printf 'keep me' >out.bin)
start_program "$build/Zentp32.exe" /O out.bin "$(win "$work/given/a.uue")"
asked=$(drive dialog "Quorvane 32" 7) || fail "/O over an existing file asked nothing"
[ "$asked" = "Overwrite Existing $(win "$work/given/out.bin")" ] || fail "/O over an existing file: $asked"
expect_exit_code 0
[ "$(cat "$work/given/out.bin")" = "keep me" ] || fail "/O replaced the file the user kept"
rm "$work/given/out.bin"
start_program "$build/Zentp32.exe" /N /O out.bin "$(win "$work/given/a.uue")" "$(win "$work/given/b.uue")"
said=$(drive dialog "Quorvane 32" 1) || fail "the second input's output was not refused"
[ "$said" = "Can't Write to $(win "$work/given/out.bin"):\r\nanother file of this run was written there." ] ||
  fail "the second input given the same name: $said"
expect_exit_code 2
cmp -s "$work/given/a.src" "$work/given/out.bin" || fail "the first input's output did not survive"
echo "/O: an existing file is asked about; one name for two inputs keeps the first"

# Split parts meeting existing files: one question for the set; No writes and deletes nothing.
"$QV_WINE" reg add "$settings_key" /v encodetype /t REG_DWORD /d 4 /f >/dev/null 2>&1
"$QV_WINE" reg add "$settings_key" /v encodeoutputsize /t REG_DWORD /d 4500 /f >/dev/null 2>&1
mkdir -p "$work/split"
head -c 9000 /dev/urandom >"$work/split/photo.jpg"
printf 'old part 1' >"$work/split/photo1.uue"
printf 'old part 3' >"$work/split/photo3.uue"
start_program "$build/Zentp32.exe" /EU "$(win "$work/split/photo.jpg")"
asked=$(drive dialog "Quorvane 32" 7) || fail "split parts over existing parts asked nothing"
[ "$asked" = "Overwrite Existing $(win "$work/split/photo1.uue")\r\n$(win "$work/split/photo3.uue")" ] ||
  fail "split parts asked: $asked"
drive dialog "Quorvane 32" 1 1000 >/dev/null && fail "split parts asked a second question"
expect_exit_code 0
[ "$(ls "$work/split" | tr '\n' ' ')" = "photo.jpg photo1.uue photo3.uue " ] ||
  fail "No to the split parts left: $(ls "$work/split")"
[ "$(cat "$work/split/photo1.uue") $(cat "$work/split/photo3.uue")" = "old part 1 old part 3" ] ||
  fail "No to the split parts changed an old part"
echo "split parts: one question, No writes nothing"

# A file that cannot be read: reported, and with /N the program exits.
start_program "$build/Zentp32.exe" /N "$(win "$work/missing.uue")"
text=$(drive dialog "Quorvane 32" 1) || fail "no report for an unreadable file"
[ "$text" = "Can't read $(win "$work/missing.uue")" ] || fail "report: $text"
expect_exit_code 2
echo "unreadable file with /N: reported and exited with 2"

# More than 128 names: a clear message, and none of them is processed.
mkdir -p "$work/many"
names=()
for i in $(seq 1 129); do
  : >"$work/many/f$i.zip"
  names+=("$(win "$work/many/f$i.zip")")
done
start_program "$build/Zentp32.exe" /N "${names[@]}"
text=$(drive dialog "Quorvane 32" 1) || fail "no message for 129 names"
[ "$text" = "Too many files on the command line: at most 128 can be processed at a time." ] ||
  fail "message for 129 names: $text"
expect_exit_code 2
[ -z "$(ls "$work/many" | grep -v '\.zip$')" ] || fail "some of the 129 files were processed"
echo "129 names: refused with a message and exit status 2"

# Postings shaped like real news and mail (tests/peers/posting_shapes.bash), decoded with /N
# (and /J for parts saved one per file, given in a scrambled order): each yields the file it
# carries, and the exit status says how it went: 0 clean, 1 for damaged data.
# Starts a /N run over the articles named in DIR/order (/J when there are several); the
# name of the file they carry in $expected.
start_posting() {
  local args=(/N) f
  [ "$(wc -w <"$1/order")" -gt 1 ] && args+=(/J)
  for f in $(cat "$1/order"); do args+=("$(win "$1/$f")"); done
  expected=$(ls "$1/expect")
  start_program "$build/Zentp32.exe" "${args[@]}"
}
. "$e2e_root/tests/peers/posting_shapes.bash"
make_posting_shapes "$work/shapes"
for name in $(posting_shape_names); do
  d=$work/shapes/$name
  damaged=$([ -f "$d/damaged" ] && echo 1 || true)
  start_posting "$d"
  expect_exit_code "${damaged:-0}"
  right_output "$d/expect/$expected" "$d/$expected" "$damaged" || fail "shape $name: $expected is not the file sent"
  echo "shape $name decodes (exit status ${damaged:-0})"
done
# A section sum that does not match: the output is written, and the status is 1.
d=$work/shapes/4-blank-lines-crlf
mkdir -p "$d/badsum"
sed 's|^sum -r/size [0-9]*/|sum -r/size 1/|' "$d/art1.txt" >"$d/badsum/art1.txt"
start_program "$build/Zentp32.exe" /N "$(win "$d/badsum/art1.txt")"
expect_exit_code 1
[ -f "$d/badsum/grid.exe" ] || fail "no output for a posting whose checksum does not match"
echo "checksum mismatch: exit status 1"
# Encoded lines with no begin line: nothing is decoded, and the status is 2.
mkdir -p "$work/nobegin"
tail -n +2 "$work/photo.uue" >"$work/nobegin/photo.uue"
start_program "$build/Zentp32.exe" /N "$(win "$work/nobegin/photo.uue")"
expect_exit_code 2
echo "no begin line: exit status 2"

# yEnc, begin-base64 and mpack's message/partial parts in news articles and a mailbox
# (tests/peers/yenc_postings.bash), decoded with /N
# (/J for articles given one per file): the exact file and 0 when clean, the file and 1 when
# a CRC or size does not match, the missing-parts message, no file and 2 when a part is missing.
. "$e2e_root/tests/peers/yenc_postings.bash"
make_yenc_postings "$work/yenc"
for name in $(yenc_posting_names); do
  d=$work/yenc/$name
  outcome=$(cat "$d/outcome")
  start_posting "$d"
  case $outcome in
    clean) expect_exit_code 0; cmp -s "$d/expect/$expected" "$d/$expected" || fail "$name: $expected is not the file sent" ;;
    checksum) expect_exit_code 1; [ -f "$d/$expected" ] || fail "$name: no output" ;;
    missing)
      text=$(drive dialog "Quorvane 32" 1) || fail "$name: no missing-parts message"
      case $text in *"Missing Parts: 2"*) ;; *) fail "$name: message $text" ;; esac
      expect_exit_code 2; [ ! -e "$d/$expected" ] || fail "$name: output with a part missing" ;;
  esac
  echo "yEnc posting $name: $outcome"
done
