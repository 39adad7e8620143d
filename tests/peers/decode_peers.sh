#!/usr/bin/env bash
# Decodes what the peer tools of the formats write, wrapped in realistic mail and news text
# (headers before, a signature after, LF and CR LF line ends), and checks every output
# against the original bytes: GNU uuencode, shar -B, mpack, coreutils base64 in MIME part
# headers, uuenview -u and -x; then the posting shapes of posting_shapes.bash.
#   bash decode_peers.sh BUILD_DIR
set -euo pipefail

build=$(cd "$1" && pwd)
qvdecode="$build/qvdecode"
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
failures=0

for tool in uuencode shar mpack base64 uuenview; do
  command -v "$tool" >/dev/null || { echo "missing peer tool: $tool" >&2; exit 1; }
done

head -c 70001 /dev/urandom > "$scratch/orig.bin"
printf 'short\n' > "$scratch/tiny.txt"

mail_head() {
  printf 'From: Someone <someone@example.org>\nNewsgroups: alt.test\nSubject: %s\nDate: Mon, 1 Jan 2024 10:00:00 +0000\n\nHere is the file you asked for.\n\n' "$1"
}
signature() { printf '\n-- \nSomeone\nSomewhere, Someplace\n'; }

# check NAME ORIGINAL EOL DECODE-ARGS... : decodes $case_dir/in.txt (already written) and compares.
check() {
  local name=$1 original=$2 eol=$3
  shift 3
  local dir="$scratch/$name.$eol"
  if [ "$eol" = crlf ]; then sed 's/$/\r/' "$dir/in.lf" > "$dir/in.txt"; else cp "$dir/in.lf" "$dir/in.txt"; fi
  rm -f "$dir/in.lf"
  local out
  if ! out=$("$qvdecode" --quiet "$@" "$dir/in.txt" 2>"$dir/err.txt"); then :; fi
  local made
  made=$(find "$dir" -type f ! -name in.txt ! -name err.txt | head -1)
  if [ -n "$made" ] && cmp -s "$original" "$made"; then
    echo "ok   $name ($eol): $(basename "$made") equals the original"
  else
    echo "FAIL $name ($eol): $(cat "$dir/err.txt")"
    failures=$((failures + 1))
  fi
}

# case NAME EOL : makes the case folder and prints its path
case_dir() { mkdir -p "$scratch/$1.$2"; echo "$scratch/$1.$2"; }

for eol in lf crlf; do
  d=$(case_dir uuencode $eol)
  { mail_head "orig.bin"; (cd "$scratch" && uuencode orig.bin out.bin); signature; } > "$d/in.lf"
  check uuencode "$scratch/orig.bin" $eol

  d=$(case_dir shar-B $eol)
  { mail_head "shar archive"; (cd "$scratch" && shar -B orig.bin 2>/dev/null); signature; } > "$d/in.lf"
  check shar-B "$scratch/orig.bin" $eol

  d=$(case_dir mpack $eol)
  (cd "$scratch" && mpack -s "the file" -o "$d/msg" orig.bin)
  { cat "$d/msg"; signature; } > "$d/in.lf"
  rm -f "$d/msg"
  check mpack "$scratch/orig.bin" $eol

  d=$(case_dir base64-mime $eol)
  {
    printf 'From: someone@example.org\nSubject: the file\nMIME-Version: 1.0\nContent-Type: multipart/mixed; boundary="XyZ"\n\n'
    printf 'This is a multi-part message in MIME format.\n--XyZ\nContent-Type: text/plain\n\nHere it is.\n\n'
    printf -- '--XyZ\nContent-Type: application/octet-stream; name="orig.bin"\nContent-Transfer-Encoding: base64\n'
    printf 'Content-Disposition: attachment; filename="orig.bin"\n\n'
    base64 "$scratch/orig.bin"
    printf '\n--XyZ--\n'
    signature
  } > "$d/in.lf"
  check base64-mime "$scratch/orig.bin" $eol

  d=$(case_dir uuenview-u $eol)
  { mail_head "orig.bin"; (cd "$scratch" && uuenview -u orig.bin 2>/dev/null); signature; } > "$d/in.lf"
  check uuenview-u "$scratch/orig.bin" $eol

  d=$(case_dir uuenview-x $eol)
  { mail_head "orig.bin"; (cd "$scratch" && uuenview -x orig.bin 2>/dev/null); signature; } > "$d/in.lf"
  check uuenview-x "$scratch/orig.bin" $eol

  d=$(case_dir uuencode-tiny $eol)
  { mail_head "tiny"; (cd "$scratch" && uuencode tiny.txt tiny.txt); signature; } > "$d/in.lf"
  check uuencode-tiny "$scratch/tiny.txt" $eol
done

# Postings shaped like real news and mail: each decodes to the file it carries, given
# together in a scrambled order and joined; a clean one without a remark, the damaged one
# with the integrity remark; the blank-line shape's checksums verify.
. "$(dirname "$0")/posting_shapes.bash"
make_posting_shapes "$scratch/shapes"
shape_inputs() { local f; for f in $(cat "$1/order"); do printf '%s\n' "$1/$f"; done; }
# decode_shape SHAPE-DIR OUT-NAME INPUT...: decodes into SHAPE-DIR/OUT-NAME; stderr in .err
decode_shape() {
  local d=$1 out=$2; shift 2
  mkdir -p "$d/$out"
  "$qvdecode" --quiet --join --dir "$d/$out" "$@" 2>"$d/$out.err" >/dev/null || true
}
shape_fail() { echo "FAIL shape $1: $2"; failures=$((failures + 1)); }
for name in $(posting_shape_names); do
  d=$scratch/shapes/$name
  mapfile -t inputs < <(shape_inputs "$d")
  decode_shape "$d" out "${inputs[@]}"
  expected=$(ls "$d/expect")
  damaged=$([ -f "$d/damaged" ] && echo 1 || true)
  if ! right_output "$d/expect/$expected" "$d/out/$expected" "$damaged"; then
    shape_fail "$name" "wrong output: $(cat "$d/out.err")"
  elif [ -n "$damaged" ] && ! grep -q 'remark:' "$d/out.err"; then
    shape_fail "$name" "damaged data decoded without a remark"
  elif [ -z "$damaged" ] && grep -q 'remark:' "$d/out.err"; then
    shape_fail "$name" "clean posting with a remark: $(cat "$d/out.err")"
  else
    echo "ok   shape $name"
  fi
done
grep -q 'checksums: 0 mismatched' "$scratch/shapes/4-blank-lines-crlf/out.err" ||
  shape_fail 4-blank-lines-crlf "the section and whole-file checksums did not verify"
# The same shape with a wrong section sum: the test finds it.
d=$scratch/shapes/4-blank-lines-crlf
sed 's|^sum -r/size [0-9]*/\([0-9]*\) section|sum -r/size 1/\1 section|' "$d/art1.txt" >"$d/badsum.txt"
decode_shape "$d" badsum "$d/badsum.txt"
grep -q 'checksums: 1 mismatched' "$d/badsum.err" || shape_fail 4-blank-lines-crlf "a wrong section sum passed"
# Frames that skip a part: the parts present decode, but not as a clean result.
d=$scratch/shapes/2-frames-contradict
decode_shape "$d" gap "$d/art1.txt" "$d/art3.txt"
grep -q 'not all data' "$d/gap.err" || shape_fail 2-frames-contradict "a missing middle part went unremarked"

# yEnc (uuenview -y, python3-yenc) and begin-base64 (uuencode -m) in news articles: clean
# postings give the exact file with verified CRCs; damage gives the checksum report or the
# missing-parts message, never a wrong file without one.
. "$(dirname "$0")/yenc_postings.bash"
make_yenc_postings "$scratch/yenc"
for name in $(yenc_posting_names); do
  d=$scratch/yenc/$name
  mapfile -t inputs < <(shape_inputs "$d")
  decode_shape "$d" out "${inputs[@]}"
  expected=$(ls "$d/expect")
  case $(cat "$d/outcome") in
    clean) cmp -s "$d/expect/$expected" "$d/out/$expected" && ! grep -q 'remark:\|[1-9] mismatched' "$d/out.err" ;;
    checksum) [ -f "$d/out/$expected" ] && grep -q 'checksums: [1-9][0-9]* mismatched' "$d/out.err" ;;
    missing) [ -z "$(ls "$d/out")" ] && grep -q 'Missing Parts' "$d/out.err" ;;
  esac && echo "ok   yenc $name" || shape_fail "$name" "$(cat "$d/out.err")"
done
grep -q 'checksums: 0 mismatched' "$scratch/yenc/y-dots-tabs-spread/out.err" ||
  shape_fail y-dots-tabs-spread "the part and file CRCs were not verified"

if [ "$failures" -ne 0 ]; then
  echo "$failures peer decode(s) failed"
  exit 1
fi
echo "all peer decodes equal the originals"
