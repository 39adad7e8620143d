# Shared by the encoder's peer round trips (sourced; not a test of its own).
# Usage in a script: source "$(dirname "$0")/encode_common.bash" "$1"
set -euo pipefail
BUILD=$(cd "${1:?usage: $0 NATIVE_BUILD_DIR}" && pwd)
QV=$BUILD/qvencode
[ -x "$QV" ] || { echo "missing $QV (build the native tools first)"; exit 1; }
# need COMMAND PACKAGE...: stops with a clear message when a peer tool is missing.
need() { command -v "$1" >/dev/null || { echo "missing peer tool $1 (Debian package $2)"; exit 1; }; }
need perl perl-base; need cmp diffutils
SCRATCH=$(mktemp -d)
trap 'rm -rf "$SCRATCH"' EXIT
FAILS=0
CHECKS=0

# make_input PATH SIZE [BYTE]: random bytes, or SIZE copies of the byte given in hex.
make_input() {
  if [ $# -ge 3 ]; then
    head -c "$2" /dev/zero | tr '\0' "\\$(printf '%03o' "0x$3")" > "$1"
  else
    head -c "$2" /dev/urandom > "$1"
  fi
}

# check NAME ORIGINAL DECODED
check() {
  CHECKS=$((CHECKS + 1))
  if [ -f "$3" ] && cmp -s "$2" "$3"; then
    echo "ok   $1"
  else
    echo "FAIL $1"
    FAILS=$((FAILS + 1))
  fi
}

finish() {
  echo "$CHECKS checks, $FAILS failed"
  [ "$FAILS" -eq 0 ]
}

# The sizes every script covers: empty, 1 byte, 45 and 46 bytes, random binary.
SIZES="0 1 2 3 44 45 46 47 90 1000 4095 65536 100003"
