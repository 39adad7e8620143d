# coreutils base64 -d on the body of our MIME output, and munpack (mpack) on the whole
# MIME text, single inputs and three inputs in one multipart output.
source "$(dirname "$0")/encode_common.bash" "$1"
need base64 coreutils; need munpack mpack
cd "$SCRATCH"
# The base64 body: the lines after the headers' empty line up to the closing boundary.
body() { tr -d '\r' < "$1" | awk '/^Content-Disposition:/ { skip = 1; inbody = 1; next }
  inbody && skip { skip = 0; next } inbody && /^--/ { exit } inbody && NF { print }'; }
for size in $SIZES 1048577; do
  for eol in "" --lf; do
    d=$(mktemp -d "$SCRATCH/m.XXXX"); make_input "$d/in.bin" "$size"
    "$QV" --quiet --method mime $eol "$d/in.bin"
    body "$d/in.mme" | base64 -d > "$d/out.bin" 2>/dev/null || true
    check "base64 -d MIME body $size bytes ${eol:-crlf}" "$d/in.bin" "$d/out.bin"
    mkdir "$d/mp"; (cd "$d/mp" && munpack -q "../in.mme" >/dev/null 2>&1 || true)
    check "munpack MIME $size bytes ${eol:-crlf}" "$d/in.bin" "$d/mp/in.bin"
  done
done
# The boundary of a 1000-byte input.
d=$(mktemp -d "$SCRATCH/b.XXXX"); make_input "$d/k.bin" 1000
"$QV" --quiet --method mime "$d/k.bin"
CHECKS=$((CHECKS + 1))
if grep -q '^--1000_boundary_fffffc19' "$d/k.mme"; then echo "ok   boundary 1000_boundary_fffffc19"; else echo "FAIL boundary"; FAILS=$((FAILS + 1)); fi
# Name with blanks and several periods (munpack writes blanks as X).
d=$(mktemp -d "$SCRATCH/n.XXXX"); make_input "$d/my report.v1.2.tar.gz" 7777
"$QV" --quiet --method mime "$d/my report.v1.2.tar.gz"
mkdir "$d/mp"; (cd "$d/mp" && munpack -q "../my report.v1.2.tar.mme" >/dev/null 2>&1 || true)
check "munpack MIME name with blanks and periods" "$d/my report.v1.2.tar.gz" "$(ls -d "$d"/mp/* | head -1)"
# Three inputs into one output: one multipart message with three attachments.
d=$(mktemp -d "$SCRATCH/three.XXXX")
make_input "$d/a.bin" 1; make_input "$d/b.bin" 4500; make_input "$d/c.bin" 100000
"$QV" --quiet --method mime "$d/a.bin" "$d/b.bin" "$d/c.bin"
mkdir "$d/mp"; (cd "$d/mp" && munpack -q "../a.mme" >/dev/null 2>&1 || true)
for f in a b c; do check "munpack MIME three inputs in one output: $f.bin" "$d/$f.bin" "$d/mp/$f.bin"; done
finish
