#!/usr/bin/env bash
# Decoder benchmark (not a test): decodes 64 MiB of data as UU, XX and base64 single files
# and as UU split into parts by our encoder, beside GNU uudecode, base64 -d and uudeview
# on the same single-file inputs, and prints the best of QV_BENCH_REPEATS (3) runs and the
# peak memory of every run; then a mailbox of mixed messages (QV_BENCH_MAILBOX_MIB, 256 MiB)
# decoded in one run, with its peak memory and how many files came out exact.
#   bash scripts/bench-decode.sh [BUILD_DIR]   (default build/bench, a Release build)
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build/bench}
mkdir -p "$build"
build=$(cd "$build" && pwd)
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DQV_SANITIZERS=OFF -DQV_BUILD_TESTS=OFF >/dev/null
ninja -C "$build" qvdecode qvencode >/dev/null

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
size_mib=64
head -c $((size_mib * 1048576)) /dev/urandom > "$work/data.bin"

mkdir -p "$work/in"
(cd "$work" && uuencode data.bin data.bin > in/data.uue)
(cd "$work" && uuencode -m data.bin data.bin | sed '1d;$d' > in/data.b64raw)
{ printf 'Content-Type: application/octet-stream; name="data.bin"\nContent-Transfer-Encoding: base64\n\n'
  cat "$work/in/data.b64raw"; printf '\n'; } > "$work/in/data.mme"
(cd "$work" && uuenview -x data.bin > in/data.xxe 2>/dev/null)
mkdir -p "$work/parts" && cp "$work/data.bin" "$work/parts/"
(cd "$work/parts" && "$build/qvencode" --quiet --method uu --style 5 --size 1048576 data.bin && rm data.bin)
cat $(ls -d "$work"/parts/* | sort -V) > "$work/in/parts.txt"

repeats=${QV_BENCH_REPEATS:-3}
printf '%-34s %10s %10s %12s  %s\n' "run" "seconds" "MiB/s" "peak RSS KiB" "output"
# run NAME OUTPUT COMMAND...: times the command in a fresh folder, $repeats times, and checks
# its output; prints the fastest time (the others show what else the machine was doing)
run() {
  local name=$1 output=$2
  shift 2
  local dir="$work/run" best="" rss=0 verdict="equal" secs peak
  for _ in $(seq 1 "$repeats"); do
    rm -rf "$dir" && mkdir -p "$dir"
    (cd "$dir" && /usr/bin/time -v -o "$work/time.txt" "$@" >/dev/null 2>"$work/err.txt") || true
    secs=$(awk -F': ' '/Elapsed \(wall clock\)/ {n=split($2,t,":"); s=0; for(i=1;i<=n;i++) s=s*60+t[i]; print s}' "$work/time.txt")
    peak=$(awk -F': ' '/Maximum resident/ {print $2}' "$work/time.txt")
    if [ -z "$best" ] || [ "$(echo "$secs < $best" | bc -l)" = 1 ]; then best=$secs; fi
    [ "$peak" -gt "$rss" ] && rss=$peak
    cmp -s "$work/data.bin" "$dir/$output" || verdict="DIFFERENT"
  done
  printf '%-34s %10.2f %10.1f %12s  %s\n' "$name" "$best" "$(echo "$size_mib / ($best + 0.001)" | bc -l)" "$rss" "$verdict"
}

run "qvdecode UU single"        data.bin "$build/qvdecode" --quiet --dir "$work/run" "$work/in/data.uue"
run "GNU uudecode UU single"    data.bin uudecode -o data.bin "$work/in/data.uue"
run "uudeview UU single"        data.bin uudeview -i -o -q -p . "$work/in/data.uue"
run "qvdecode XX single"        data.bin "$build/qvdecode" --quiet --dir "$work/run" "$work/in/data.xxe"
run "uudeview XX single"        data.bin uudeview -i -o -q -p . "$work/in/data.xxe"
run "qvdecode base64 (MIME)"    data.bin "$build/qvdecode" --quiet --dir "$work/run" --method mime "$work/in/data.mme"
run "coreutils base64 -d"       data.bin sh -c "base64 -d '$work/in/data.b64raw' > data.bin"
run "uudeview base64 (MIME)"    data.bin uudeview -i -o -q -p . "$work/in/data.mme"
run "qvdecode UU $(ls "$work/parts" | wc -l) parts in one input" data.bin "$build/qvdecode" --quiet --dir "$work/run" "$work/in/parts.txt"

# A mailbox of mixed messages (UU, MIME base64 and XX files of 1 MiB each, with mail headers
# and signatures between them) in one input: the time, the peak memory and how many of its
# files came out exact.
box_mib=${QV_BENCH_MAILBOX_MIB:-256}
mkdir -p "$work/box"
i=0
while [ "$(stat -c %s "$work/in/mailbox" 2>/dev/null || echo 0)" -lt $((box_mib * 1048576)) ]; do
  i=$((i + 1))
  name=$(printf 'f%04d.bin' "$i")
  dd if="$work/data.bin" of="$work/box/$name" bs=1048576 skip=$((i % size_mib)) count=1 status=none
  printf 'From sender%d@example.org Tue Mar  3 10:00:00 1998\nFrom: sender%d@example.org\nSubject: %s\n\n' \
    "$i" "$i" "$name" >>"$work/in/mailbox"
  case $((i % 3)) in
    0) (cd "$work/box" && uuencode "$name" "$name") ;;
    1) printf 'Content-Type: application/octet-stream; name="%s"\nContent-Transfer-Encoding: base64\n\n' "$name"
       base64 -w 76 "$work/box/$name" ;;
    2) (cd "$work/box" && uuenview -x "$name" 2>/dev/null) ;;
  esac >>"$work/in/mailbox"
  printf '\n-- \nsender %d\n\n' "$i" >>"$work/in/mailbox"
done
box_size=$(stat -c %s "$work/in/mailbox")
# mailbox_run NAME COMMAND...: one run of the command on the mailbox in a fresh folder.
mailbox_run() {
  local name=$1 secs peak exact=0 f
  shift
  rm -rf "$work/run" && mkdir -p "$work/run"
  (cd "$work/run" && /usr/bin/time -v -o "$work/time.txt" "$@" >/dev/null 2>"$work/err.txt") || true
  secs=$(awk -F': ' '/Elapsed \(wall clock\)/ {n=split($2,t,":"); s=0; for(i=1;i<=n;i++) s=s*60+t[i]; print s}' "$work/time.txt")
  peak=$(awk -F': ' '/Maximum resident/ {print $2}' "$work/time.txt")
  for f in "$work/box"/*; do cmp -s "$f" "$work/run/$(basename "$f")" && exact=$((exact + 1)); done
  printf '%-34s %10.2f %10.1f %12s  %s\n' "$name" "$secs" "$(echo "$box_size / 1048576 / ($secs + 0.001)" | bc -l)" \
    "$peak" "$exact of $i exact"
}
mailbox_run "qvdecode mailbox $((box_size / 1048576)) MiB" "$build/qvdecode" --quiet --dir "$work/run" "$work/in/mailbox"
mailbox_run "uudeview mailbox $((box_size / 1048576)) MiB" uudeview -i -o -q -p . "$work/in/mailbox"
