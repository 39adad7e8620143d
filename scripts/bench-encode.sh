#!/usr/bin/env bash
# Encoder benchmark (not a test): encodes a 64 MiB random file in UU, XX and base64 with a
# native Release build of the engine (no sanitizers) and, in the same run, with GNU
# uuencode and coreutils base64; prints throughput and peak memory (GNU time).
#   scripts/bench-encode.sh [BUILD_DIR]     (default build/bench-release)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build/bench-release}
size_mib=${QV_BENCH_MIB:-64}
[ -x /usr/bin/time ] || { echo "needs GNU time (package time)"; exit 1; }
command -v uuencode >/dev/null || { echo "needs uuencode (package sharutils)"; exit 1; }
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DQV_SANITIZERS=OFF -DQV_BUILD_TESTS=OFF >/dev/null
ninja -C "$build" qvencode >/dev/null
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
head -c $((size_mib * 1048576)) /dev/urandom > "$work/input.bin"
cat "$work/input.bin" > /dev/null   # warm the page cache

# measure LABEL OUTPUT COMMAND...: runs the command three times (the machine may be busy) and
# prints the best elapsed time, its throughput, the CPU time (user + system) and the peak RSS.
measure() {
  local label=$1 output=$2; shift 2
  local best="" run secs user sys kib
  for run in 1 2 3; do
    rm -f "$output"
    /usr/bin/time -f '%e %U %S %M' -o "$work/time" "$@" > "$work/stdout"
    [ -s "$work/stdout" ] && mv "$work/stdout" "$output"
    read -r secs user sys kib < "$work/time"
    if [ -z "$best" ] || awk -v a="$secs" -v b="${best%% *}" 'BEGIN { exit !(a < b) }'; then
      best="$secs $user $sys $kib"
    fi
  done
  read -r secs user sys kib <<< "$best"
  awk -v l="$label" -v s="$secs" -v u="$user" -v y="$sys" -v k="$kib" -v m="$size_mib" -v b="$(stat -c %s "$output")" \
    'BEGIN { printf "%-26s %6.2f s %7.1f MiB/s  cpu %5.2f s  peak %6.1f MiB  output %d bytes\n", l, s, (s > 0 ? m / s : 0), u + y, k / 1024, b }'
}
echo "Encoding ${size_mib} MiB of random bytes ($(nproc) CPUs, $(uname -m))"
measure "Quorvane UU (style 3)"   "$work/input.uue" "$build/qvencode" --quiet --method uu "$work/input.bin"
measure "Quorvane XX (style 3)"   "$work/input.xxe" "$build/qvencode" --quiet --method xx "$work/input.bin"
measure "Quorvane MIME base64"    "$work/input.mme" "$build/qvencode" --quiet --method mime "$work/input.bin"
measure "Quorvane UU 1 MiB parts"  "$work/input1.uue" "$build/qvencode" --quiet --method uu --style 4 --size 1048576 "$work/input.bin"
measure "GNU uuencode"            "$work/gnu.uue" uuencode "$work/input.bin" input.bin
measure "GNU uuencode -m (base64)" "$work/gnu.b64" uuencode -m "$work/input.bin" input.bin
measure "coreutils base64"        "$work/core.b64" base64 "$work/input.bin"
