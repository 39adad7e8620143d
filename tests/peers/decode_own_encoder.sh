#!/usr/bin/env bash
# Decodes our own encoder's output for every style it writes: the parts in order in one
# input, shuffled in one input, and shuffled over several inputs joined before decoding;
# a missing and a duplicated part must give their messages and leave no output.
#   bash decode_own_encoder.sh BUILD_DIR
set -euo pipefail

build=$(cd "$1" && pwd)
qvencode="$build/qvencode"
qvdecode="$build/qvdecode"
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
failures=0
fail() { echo "FAIL $*"; failures=$((failures + 1)); }

head -c 23000 /dev/urandom > "$scratch/data.bin"

# Styles the encoder writes, per method. Base64 parts carry no begin line or "end", so the
# styles whose total comes only from "end" (4, 20) cannot be decoded from base64, and the
# shell archive (10) writes UU whatever the method.
uu_styles="3 4 5 6 7 8 9 10 11 12 13 14 16 17 20"
mime_styles="3 5 6 7 8 9 11 12 13 14 16 17"

# encode METHOD STYLE DIR: the parts, in order, one per line
encode() {
  local method=$1 style=$2 dir=$3
  mkdir -p "$dir"
  cp "$scratch/data.bin" "$dir/data.bin"
  (cd "$dir" && "$qvencode" --quiet --method "$method" --style "$style" --size 4500 --checksum data.bin)
  rm -f "$dir/data.bin"
  ls "$dir" | sort -V
}

# decode DIR METHOD INPUT...: runs the decoder in DIR; prints the file it made
decode() {
  local dir=$1 method=$2
  shift 2
  mkdir -p "$dir"
  (cd "$dir" && "$qvdecode" --quiet --method "$method" "$@" 2>"$dir/err.txt") || true
  find "$dir" -maxdepth 1 -type f ! -name 'err.txt' ! -name 'in*.txt' | head -1
}

expect_equal() {
  local what=$1 made=$2 dir=$3
  if [ -n "$made" ] && cmp -s "$scratch/data.bin" "$made"; then
    echo "ok   $what"
  else
    fail "$what: $(tr '\r\n' '  ' < "$dir/err.txt")"
  fi
}

run_style() {
  local method=$1 style=$2 decode_method=$3
  local enc="$scratch/enc-$method-$style"
  mapfile -t parts < <(encode "$method" "$style" "$enc")
  local n=${#parts[@]}
  local what="$method style $style ($n parts)"

  # In order, one input.
  local d="$scratch/$method-$style-order"
  mkdir -p "$d"
  for p in "${parts[@]}"; do cat "$enc/$p"; done > "$d/in.txt"
  expect_equal "$what, in order" "$(decode "$d" "$decode_method" in.txt)" "$d"

  # Shuffled, one input.
  d="$scratch/$method-$style-shuffled"
  mkdir -p "$d"
  for p in $(printf '%s\n' "${parts[@]}" | shuf); do cat "$enc/$p"; done > "$d/in.txt"
  expect_equal "$what, shuffled" "$(decode "$d" "$decode_method" in.txt)" "$d"

  # Shuffled over several inputs, joined before decoding.
  if [ "$n" -gt 1 ]; then
    d="$scratch/$method-$style-joined"
    mkdir -p "$d"
    local i=0 inputs=()
    for p in $(printf '%s\n' "${parts[@]}" | shuf); do
      i=$((i + 1))
      cp "$enc/$p" "$d/in$i.txt"
      inputs+=("in$i.txt")
    done
    expect_equal "$what, over $n inputs joined" "$(decode "$d" "$decode_method" --join "${inputs[@]}")" "$d"
  fi
}

for style in $uu_styles; do
  run_style uu "$style" auto
  run_style xx "$style" auto
done
for style in $mime_styles; do
  run_style mime "$style" mime
done

# Missing and duplicate parts: their messages, and no output.
mapfile -t parts < <(encode uu 5 "$scratch/enc-gaps")
d="$scratch/missing"
mkdir -p "$d"
for k in $(seq 1 ${#parts[@]}); do [ "$k" -eq 2 ] || cat "$scratch/enc-gaps/${parts[$((k - 1))]}"; done > "$d/in.txt"
made=$(decode "$d" auto in.txt)
if [ -z "$made" ] && grep -q "Missing Parts: 2" "$d/err.txt"; then echo "ok   missing part 2 reported, no output"
else fail "missing part: made '$made', $(tr '\r\n' '  ' < "$d/err.txt")"; fi

d="$scratch/duplicate"
mkdir -p "$d"
{ cat "$scratch/enc-gaps/${parts[0]}" "$scratch/enc-gaps/${parts[1]}" "$scratch/enc-gaps/${parts[1]}"
  for p in "${parts[@]:2}"; do cat "$scratch/enc-gaps/$p"; done; } > "$d/in.txt"
made=$(decode "$d" auto in.txt)
if [ -z "$made" ] && grep -q "Duplicate Part 2." "$d/err.txt"; then echo "ok   duplicate part 2 reported, no output"
else fail "duplicate part: made '$made', $(tr '\r\n' '  ' < "$d/err.txt")"; fi

if [ "$failures" -ne 0 ]; then
  echo "$failures check(s) failed"
  exit 1
fi
echo "every style decodes to the original bytes"
