#!/usr/bin/env bash
# Prints, for each of the posting shapes of tests/peers/posting_shapes.bash, which of the
# peer decoders (GNU uudecode, uudeview, munpack) decode it right and whether ours does
# (the native qvdecode driver, which runs the program's decoder without questions).
# A report, not a test: it always exits 0 once it has run.
#   scripts/compare-decoders.sh [NATIVE_BUILD_DIR]     (default build/native)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$root/build/native}" && pwd)
[ -x "$build/qvdecode" ] || { echo "build the native tools first (qvdecode in $build)" >&2; exit 1; }
for tool in uuencode uudecode uudeview munpack sum; do
  command -v "$tool" >/dev/null || { echo "missing peer tool: $tool" >&2; exit 1; }
done
. "$root/tests/peers/posting_shapes.bash"

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
