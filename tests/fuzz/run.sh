#!/usr/bin/env bash
# Builds the decoder fuzz target with clang and runs it for a bounded time over the seed
# corpus (and the regression inputs of crashes found before). A seed's first byte 0x01 or
# 0x02 sends the rest to the BinHex decoder or the header detector alone
# (tests/fuzz/decode_fuzzer.cpp).
#   bash tests/fuzz/run.sh [BUILD_DIR] [SECONDS]
# BUILD_DIR defaults to build/fuzz, SECONDS to 60. New inputs it finds go to a scratch
# folder; a crash leaves its input in BUILD_DIR/crashes and the script fails.
set -euo pipefail

root=$(cd "$(dirname "$0")/../.." && pwd)
build=${1:-$root/build/fuzz}
seconds=${2:-60}
mkdir -p "$build"
build=$(cd "$build" && pwd)

CC=clang CXX=clang++ cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DQV_FUZZ=ON -DQV_BUILD_TESTS=OFF >/dev/null
ninja -C "$build" decode_fuzzer >/dev/null

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$build/crashes" "$work/new"
echo "fuzzing the decoder (DecodeFile, BinHex, header detection) for ${seconds}s with the seeds of tests/fuzz/corpus"
cd "$work"  # whatever the decoder might write stays in the scratch folder
ASAN_OPTIONS=detect_leaks=1 "$build/decode_fuzzer" "$work/new" "$root/tests/fuzz/corpus" \
  -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -max_len=12000 \
  -artifact_prefix="$build/crashes/" -print_final_stats=1 2>&1 | tail -25
