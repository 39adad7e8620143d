#!/usr/bin/env bash
# Decoder benchmark (not a test): decodes 64 MiB of data as UU, XX, base64 and yEnc single files
# and as UU split into parts by our encoder, with the native Release build of the engine,
# with the program itself under Wine (Zentp32 /N, its start-up taken out) and, on the same
# inputs in the same run, with GNU uudecode, coreutils base64 -d and uudeview; checks every
# output against the data, prints seconds, throughput and peak memory, then the ratios.
# Last, a mailbox of mixed messages (QV_BENCH_MAILBOX_MIB, 256 MiB) decoded in one run, with
# its peak memory and how many of its files came out exact.
#   scripts/bench-decode.sh      (settings: scripts/bench-common.bash)
. "$(dirname "$0")/bench-common.bash"
command -v uuenview >/dev/null || { echo "needs uuenview (package uudeview)"; exit 1; }

(cd "$work" && uuencode data.bin data.bin >data.uue && uuencode tiny.bin tiny.bin >tiny.uue)
(cd "$work" && base64 data.bin >data.b64)
{ printf 'Content-Type: application/octet-stream; name="data.bin"\nContent-Transfer-Encoding: base64\n\n'
  cat "$work/data.b64"; printf '\n'; } >"$work/data.mme"
(cd "$work" && uuenview -x data.bin >data.xxe 2>/dev/null)
(cd "$work" && uuenview -y data.bin >data.yenc 2>/dev/null)
mkdir -p "$work/parts" && ln "$work/data.bin" "$work/parts/data.bin"
(cd "$work/parts" && "$bench/qvencode" --quiet --method uu --style 5 --size 1048576 data.bin && rm data.bin)
parts=()
for p in $(cd "$work/parts" && ls | sort -V); do ln "$work/parts/$p" "$work/$p"; parts+=("$p"); done
cat $(printf "$work/%s " "${parts[@]}") >"$work/parts.txt"
part_paths=()
for p in "${parts[@]}"; do part_paths+=("$(run_path "$p")"); done

data=$work/data.bin
# The engine is given full paths, as the program is: part files are made beside the output
# only in a folder the path names.
rows() {
  harness_rows
  measure "GNU uudecode UU"                data.uue data.bin "$data" uudecode -o data.bin data.uue
  measure "coreutils base64 -d"            data.b64 data.bin "$data" sh -c 'base64 -d data.b64 >data.bin'
  measure "uudeview UU"                    data.uue data.bin "$data" uudeview -i -o -q -p . data.uue
  measure "uudeview XX"                    data.xxe data.bin "$data" uudeview -i -o -q -p . data.xxe
  measure "uudeview base64 (MIME)"         data.mme data.bin "$data" uudeview -i -o -q -p . data.mme
  measure "engine UU (qvdecode)"           data.uue data.bin "$data" "$bench/qvdecode" --quiet "$work/run/data.uue"
  measure "engine XX (qvdecode)"           data.xxe data.bin "$data" "$bench/qvdecode" --quiet "$work/run/data.xxe"
  measure "engine base64 (qvdecode)"       data.mme data.bin "$data" "$bench/qvdecode" --quiet "$work/run/data.mme"
  measure "uudeview yEnc"                  data.yenc data.bin "$data" uudeview -i -o -q -p . data.yenc
  measure "engine yEnc (qvdecode)"         data.yenc data.bin "$data" "$bench/qvdecode" --quiet "$work/run/data.yenc"
  measure "engine UU, ${#parts[@]} parts in one input" parts.txt data.bin "$data" "$bench/qvdecode" --quiet "$work/run/parts.txt"
  measure "engine UU, ${#parts[@]} part files, join" "${parts[*]}" data.bin "$data" \
    "$bench/qvdecode" --quiet --join "${parts[@]/#/$work/run/}"
  if [ "$with_program" = 1 ]; then
    startup() { measure "$program_startup" tiny.uue tiny.bin "$work/tiny.bin" "$QV_WINE" "$program" /N "$(run_path tiny.uue)"; }
    startup
    measure "Zentp32 /N UU"                     data.uue data.bin "$data" "$QV_WINE" "$program" /N "$(run_path data.uue)"
    measure "Zentp32 /N base64 (MIME)"          data.mme data.bin "$data" "$QV_WINE" "$program" /N "$(run_path data.mme)"
    measure "Zentp32 /N yEnc"                   data.yenc data.bin "$data" "$QV_WINE" "$program" /N "$(run_path data.yenc)"
    measure "Zentp32 /N /J ${#parts[@]} part files" "${parts[*]}" data.bin "$data" "$QV_WINE" "$program" /N /J "${part_paths[@]}"
    startup  # again, the better time kept
  fi
}
in_rounds rows

echo "Ratios of work times (the harness or the program's start-up out; the engine's target is half the peer's time):"
ratio "engine UU decode / GNU uudecode" "engine UU (qvdecode)" "GNU uudecode UU" 0.5
ratio "engine base64 decode / coreutils base64 -d" "engine base64 (qvdecode)" "coreutils base64 -d" 0.5
ratio "engine yEnc decode / uudeview yEnc" "engine yEnc (qvdecode)" "uudeview yEnc" 0.5
if [ "$with_program" = 1 ]; then
  program_ratios "UU decode" "Zentp32 /N UU" "GNU uudecode UU" "engine UU (qvdecode)"
  program_ratios "base64 decode" "Zentp32 /N base64 (MIME)" "coreutils base64 -d" "engine base64 (qvdecode)"
  program_ratios "yEnc decode" "Zentp32 /N yEnc" "uudeview yEnc" "engine yEnc (qvdecode)"
  program_ratios "joined parts" "Zentp32 /N /J ${#parts[@]} part files" "GNU uudecode UU" \
    "engine UU, ${#parts[@]} part files, join"
fi

# A mailbox of mixed messages (UU, MIME base64 and XX files of 1 MiB each, with mail headers
# and signatures between them) in one input: the time, the peak memory and how many of its
# files came out exact.
box_mib=${QV_BENCH_MAILBOX_MIB:-256}
mkdir -p "$work/box"
i=0
while [ "$(stat -c %s "$work/mailbox" 2>/dev/null || echo 0)" -lt $((box_mib * 1048576)) ]; do
  i=$((i + 1))
  name=$(printf 'f%04d.bin' "$i")
  dd if="$work/data.bin" of="$work/box/$name" bs=1048576 skip=$((i % size_mib)) count=1 status=none
  printf 'From sender%d@example.org Tue Mar  3 10:00:00 1998\nFrom: sender%d@example.org\nSubject: %s\n\n' \
    "$i" "$i" "$name" >>"$work/mailbox"
  case $((i % 3)) in
    0) (cd "$work/box" && uuencode "$name" "$name") ;;
    1) printf 'Content-Type: application/octet-stream; name="%s"\nContent-Transfer-Encoding: base64\n\n' "$name"
       base64 -w 76 "$work/box/$name" ;;
    2) (cd "$work/box" && uuenview -x "$name" 2>/dev/null) ;;
  esac >>"$work/mailbox"
  printf '\n-- \nsender %d\n\n' "$i" >>"$work/mailbox"
done
box_size=$(stat -c %s "$work/mailbox")
echo "Mailbox: $((box_size / 1048576)) MiB, $i files, one run each:"
# mailbox_run NAME COMMAND...: one run of the command on the mailbox, linked into a fresh
# folder $work/run where the files come out.
mailbox_run() {
  local name=$1 secs kib exact=0 f
  shift
  rm -rf "$work/run" && mkdir -p "$work/run" && ln "$work/mailbox" "$work/run/mailbox"
  (cd "$work/run" && /usr/bin/time -f '%e %M' -o "$work/time" "$@" >/dev/null 2>"$work/stderr") || true
  read -r secs kib < <(tail -1 "$work/time")
  for f in "$work/box"/*; do cmp -s "$f" "$work/run/$(basename "$f")" && exact=$((exact + 1)); done
  printf '%-40s %7.2f s %8.1f MiB/s  peak %7.1f MiB  %s of %s exact\n' "$name" "$secs" \
    "$(echo "$box_size / 1048576 / ($secs + 0.005)" | bc -l)" "$(echo "$kib / 1024" | bc -l)" "$exact" "$i"
}
mailbox_run "engine mailbox (qvdecode)" "$bench/qvdecode" --quiet "$work/run/mailbox"
mailbox_run "uudeview mailbox" uudeview -i -o -q -p . mailbox
[ "$with_program" = 1 ] && mailbox_run "Zentp32 /N mailbox" "$QV_WINE" "$program" /N "$(run_path mailbox)"
true
