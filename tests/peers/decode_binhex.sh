#!/usr/bin/env bash
# Our BinHex decoder on BinHex 4.0 from macutils binhex (which compresses runs) and from
# our own encoder: edge sizes, long runs of one byte, runs of 0x90, a mail signature after
# the closing colon. The decoded file must equal the data fork byte for byte.
#   bash decode_binhex.sh BUILD_DIR
source "$(dirname "$0")/encode_common.bash" "$1"
need binhex macutils
QVD=$BUILD/qvdecode
cd "$SCRATCH"
BANNER="(This file must be converted with BinHex 4.0)"

# decode_check LABEL ORIGINAL HQX: decodes into a fresh folder, compares the one output
decode_check() {
  local out; out=$(mktemp -d "$SCRATCH/out.XXXX")
  "$QVD" --quiet --method binhex --dir "$out" "$3" >/dev/null 2>"$out.err" || true
  local made; made=$(find "$out" -maxdepth 1 -type f | head -1)
  check "$1" "$2" "$made"
  [ -z "$made" ] || [ "$(basename "$made")" = "$(basename "$2")" ] || {
    echo "FAIL $1: output named $(basename "$made")"; FAILS=$((FAILS + 1)); }
}

# peer_hqx INPUT: macutils binhex of the data fork with the standard banner line first. It
# is given the bare name: binhex derives the Mac name from the path, cut short when long.
peer_hqx() {
  (cd "$(dirname "$1")" && binhex -d "$(basename "$1")") | sed "1s/.*/$BANNER/" > "${1%.*}.peer.hqx"
}

# ours_hqx INPUT: our encoder's single BinHex file beside the input
ours_hqx() {
  (cd "$(dirname "$1")" && "$QV" --quiet --method binhex --style 1 "$(basename "$1")")
}

inputs=()
for size in $SIZES; do
  d=$(mktemp -d "$SCRATCH/s.XXXX"); make_input "$d/data.bin" "$size"; inputs+=("$d/data.bin")
done
for byte in 90 00 41; do
  for size in 1 2 3 255 256 257 1000; do
    d=$(mktemp -d "$SCRATCH/r.XXXX"); make_input "$d/run.bin" "$size" "$byte"; inputs+=("$d/run.bin")
  done
done
d=$(mktemp -d "$SCRATCH/m.XXXX")
{ head -c 700 /dev/urandom; head -c 600 /dev/zero; printf 'ab\220\220\220\220cd'; head -c 300 /dev/zero | tr '\0' '\220';
  head -c 700 /dev/urandom; } > "$d/mixed.bin"
inputs+=("$d/mixed.bin")

for in in "${inputs[@]}"; do
  label="$(basename "$in") of $(stat -c %s "$in") bytes"
  peer_hqx "$in"
  decode_check "binhex -> ours: $label" "$in" "${in%.*}.peer.hqx"
  ours_hqx "$in"
  decode_check "ours -> ours: $label" "$in" "${in%.*}.hqx"
done

# A signature after the closing colon is not data.
in=${inputs[8]}
{ cat "${in%.*}.peer.hqx"; printf -- '-- \nA. Sender :-)\n'; } > "${in%.*}.sig.hqx"
decode_check "binhex -> ours with a signature after the colon" "$in" "${in%.*}.sig.hqx"
finish
