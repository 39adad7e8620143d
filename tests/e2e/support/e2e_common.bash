# Sourced by the end-to-end scripts: a Wine prefix of their own (so that the program's
# windows live on the display this script looks at), the driver, and checks.
#   e2e_setup BUILD_DIR   then: drive ARGS..., start_program EXE [ARGS], fail TEXT
set -Eeuo pipefail
# A step that fails with no message of its own still says which step it was.
trap 'echo "FAIL: \"$BASH_COMMAND\" exited $? (${BASH_SOURCE[0]##*/} line $LINENO)" >&2' ERR

e2e_here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
e2e_root=$(cd "$e2e_here/../../.." && pwd)

e2e_cleanup() {
  local pid
  for pid in ${e2e_programs:-}; do kill "$pid" 2>/dev/null || true; done
  /usr/lib/wine/wineserver -k >/dev/null 2>&1 || true
  if [ -n "${QV_XVFB_PID:-}" ]; then kill "$QV_XVFB_PID" 2>/dev/null || true; fi
}

e2e_setup() {
  build=$(cd "$1" && pwd)
  export WINEPREFIX="$build/wineprefix-e2e"
  unset DISPLAY
  . "$e2e_root/scripts/wine-env.sh"
  trap e2e_cleanup EXIT
  e2e_programs=""
}

fail() {
  echo "FAIL: $*" >&2
  exit 1
}

drive() { "$QV_WINE" "$build/qvdriver.exe" "$@"; }

# Starts a Windows program in the background; its process id is in $program_pid.
start_program() {
  "$QV_WINE" "$@" &
  program_pid=$!
  e2e_programs="$e2e_programs $program_pid"
}

# Waits for the started program to end and checks its exit code. A program still running
# after QV_PROGRAM_LIMIT seconds (150) fails the test with the windows it shows, so that a
# run that hangs says where.
expect_exit_code() {
  local expected=$1 code=0 tenths=0
  while kill -0 "$program_pid" 2>/dev/null; do
    if [ $tenths -ge $((${QV_PROGRAM_LIMIT:-150} * 10)) ]; then
      fail "the program did not end within ${QV_PROGRAM_LIMIT:-150} s; its windows: $(drive windows "*" | tr '\n' '|')"
    fi
    sleep 0.1
    tenths=$((tenths + 1))
  done
  wait "$program_pid" || code=$?
  [ "$code" = "$expected" ] || fail "exit code $code, expected $expected"
}
