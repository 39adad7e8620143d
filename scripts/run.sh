#!/usr/bin/env bash
# Builds the program and starts it under Wine: scripts/run.sh [PROGRAM ARGUMENTS...]
# Arguments that name existing files are handed over as Windows paths, so a command-line
# job such as `scripts/run.sh /N /EU photo.jpg` works. Without a display a private Xvfb is
# started, so such jobs also run on a headless machine.
set -euo pipefail
QV_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
. "$QV_ROOT/scripts/deps.sh"
qv_install_packages $QV_BUILD_PACKAGES $QV_RUN_PACKAGES
mkdir -p "$QV_ROOT/build"
. "$QV_ROOT/scripts/build.sh"
qv_build win64 Zentp32 >/dev/null

export WINEPREFIX=${WINEPREFIX:-$QV_ROOT/build/win64/wineprefix}
. "$QV_ROOT/scripts/wine-env.sh"
trap '[ -n "${QV_XVFB_PID:-}" ] && kill "$QV_XVFB_PID" 2>/dev/null; true' EXIT

args=()
for a in "$@"; do
  if [ -e "$a" ]; then args+=("$("$QV_WINE" winepath -w "$a" 2>/dev/null)"); else args+=("$a"); fi
done
"$QV_WINE" "$QV_ROOT/build/win64/Zentp32.exe" "${args[@]}"
