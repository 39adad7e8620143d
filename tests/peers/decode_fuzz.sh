#!/usr/bin/env bash
# Runs the decoder fuzz target for a short, bounded time (QV_FUZZ_SECONDS, default 30) in a
# clang build folder beside the given native build.
#   bash decode_fuzz.sh BUILD_DIR
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
if ! command -v clang++ >/dev/null; then
  echo "clang++ is needed for the fuzz target" >&2
  exit 1
fi
bash "$here/../fuzz/run.sh" "$1/fuzz" "${QV_FUZZ_SECONDS:-30}"
