#!/usr/bin/env bash
# Prints, for each of the posting shapes of tests/peers/posting_shapes.bash, which of the
# peer decoders (GNU uudecode, uudeview, munpack) decode it right and whether ours does
# (the native qvdecode driver, which runs the program's decoder without questions); then,
# for the mailbox of tests/peers/mailbox_fixture.bash (LF and CR LF), how many of its
# files each decoder gets out exact.
# A report, not a test: it always exits 0 once it has run.
#   scripts/compare-decoders.sh [NATIVE_BUILD_DIR]     (default build/native)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$root/build/native}" && pwd)
[ -x "$build/qvdecode" ] || { echo "build the native tools first (qvdecode in $build)" >&2; exit 1; }
for tool in uuencode uudecode uudeview munpack sum mpack binhex shar; do
  command -v "$tool" >/dev/null || { echo "missing peer tool: $tool" >&2; exit 1; }
done
. "$root/tests/peers/posting_shapes.bash"
. "$root/tests/peers/mailbox_fixture.bash"

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
make_posting_shapes "$scratch/shapes"

# verdict SHAPE-DIR OUTPUT-DIR: "right" or "wrong" for what a decoder left in OUTPUT-DIR.
verdict() {
  local expected
  expected=$(ls "$1/expect")
  if right_output "$1/expect/$expected" "$2/$expected" "$([ -f "$1/damaged" ] && echo 1)"; then
    echo right
  else
    echo wrong
  fi
}

printf '%-22s %-9s %-9s %-9s %-9s\n' shape uudecode uudeview munpack ours
for name in $(posting_shape_names); do
  d=$scratch/shapes/$name
  inputs=()
  for f in $(cat "$d/order"); do inputs+=("$d/$f"); done
  expected=$(ls "$d/expect")
  for tool in uudecode uudeview munpack ours; do mkdir -p "$d/$tool"; done
  # Each peer gets the articles the way its users give them: uudecode one stream in the
  # order chosen, uudeview and munpack the article files.
  cat "${inputs[@]}" | (cd "$d/uudecode" && uudecode -o "$expected") >/dev/null 2>&1 || true
  uudeview -i -o -q -p "$d/uudeview/" "${inputs[@]}" >/dev/null 2>&1 || true
  munpack -q -f -C "$d/munpack" "${inputs[@]}" >/dev/null 2>&1 || true
  "$build/qvdecode" --quiet --join --dir "$d/ours" "${inputs[@]}" >/dev/null 2>"$d/ours.err" || true
  ours=$(verdict "$d" "$d/ours")
  # A clean shape must also come without a remark; the damaged one with its remark.
  if [ -f "$d/damaged" ]; then grep -q 'remark:' "$d/ours.err" || ours="$ours,silent"
  elif grep -q 'remark:' "$d/ours.err"; then ours="$ours,remark"; fi
  printf '%-22s %-9s %-9s %-9s %-9s\n' "$name" "$(verdict "$d" "$d/uudecode")" "$(verdict "$d" "$d/uudeview")" \
    "$(verdict "$d" "$d/munpack")" "$ours"
done

# exact_count DIR: how many of the mailbox's files DIR holds exact.
exact_count() {
  local name count=0
  while read -r name; do cmp -s "$box/files/$name" "$1/$name" && count=$((count + 1)); done <"$box/names"
  echo "$count"
}

box=$scratch/mailbox
make_mailbox "$box"
total=$(wc -l <"$box/names")
printf '\n%-22s %-9s %-9s %-9s %-9s   (files exact of %d, %d messages)\n' mailbox uudecode uudeview munpack ours \
  "$total" "$mailbox_messages"
for ending in mbox mbox-crlf; do
  for tool in uudecode uudeview munpack ours; do mkdir -p "$box/$ending.$tool"; done
  (cd "$box/$ending.uudecode" && uudecode "$box/$ending") >/dev/null 2>&1 || true
  uudeview -i -o -q -p "$box/$ending.uudeview/" "$box/$ending" >/dev/null 2>&1 || true
  munpack -q -f -C "$box/$ending.munpack" "$box/$ending" >/dev/null 2>&1 || true
  "$build/qvdecode" --quiet --dir "$box/$ending.ours" "$box/$ending" >/dev/null 2>&1 || true
  printf '%-22s %-9s %-9s %-9s %-9s\n' "$ending" "$(exact_count "$box/$ending.uudecode")" \
    "$(exact_count "$box/$ending.uudeview")" "$(exact_count "$box/$ending.munpack")" "$(exact_count "$box/$ending.ours")"
done
