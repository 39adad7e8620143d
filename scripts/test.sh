#!/usr/bin/env bash
# Builds everything and runs every test: native engine tests under ASan/UBSan, peer round
# trips, Win32 tests and end-to-end tests under Wine; builds the 32-bit deliverables.
# Ends with "N passed, N failed" and exits non-zero on any failure.
set -uo pipefail
QV_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
. "$QV_ROOT/scripts/deps.sh"
qv_install_packages $QV_BUILD_PACKAGES $QV_RUN_PACKAGES $QV_TEST_PACKAGES || exit 1
mkdir -p "$QV_ROOT/build"
. "$QV_ROOT/scripts/build.sh"
jobs=$(nproc)
started=$(date +%s)

failed_builds=0
for kind in native win64 win32; do
  echo "== building $kind"
  qv_build "$kind" -j"$jobs" >"$QV_ROOT/build/$kind.build.log" 2>&1 || {
    tail -40 "$QV_ROOT/build/$kind.build.log"; echo "build $kind FAILED"; failed_builds=$((failed_builds + 1)); }
done

# One display and one wineserver for the whole run.
export WINEPREFIX=$QV_ROOT/build/win64/wineprefix
unset DISPLAY
. "$QV_ROOT/scripts/wine-env.sh"
trap '/usr/lib/wine/wineserver -k 2>/dev/null; [ -n "${QV_XVFB_PID:-}" ] && kill "$QV_XVFB_PID" 2>/dev/null; true' EXIT

passed=0; failed=$failed_builds
for kind in native win64; do
  [ -f "$QV_ROOT/build/$kind/CTestTestfile.cmake" ] || continue
  echo "== testing $kind"
  log="$QV_ROOT/build/$kind.test.log"
  # A test that fails is run once more before it counts as failed: several Wine programs
  # share one prefix and display, and a rare clash there is not a fault of the code. The
  # log keeps the first failure for a look.
  (cd "$QV_ROOT/build/$kind" && ctest -j"$jobs" --output-on-failure --timeout 600 --repeat until-pass:2) >"$log" 2>&1
  grep -E '(\*\*\*Failed|\*\*\*Exception|\*\*\*Timeout|Not Run)' "$log" && sed -n '/The following tests FAILED/,$p' "$log"
  # What a failed test said of itself, so that a run elsewhere can be read without its log.
  grep -E '^(FAIL:|\[  FAILED  \]|.*: Failure$)' "$log" | head -40
  summary=$(grep -E 'tests passed, [0-9]+ tests failed out of [0-9]+' "$log" | tail -1)
  echo "$kind: ${summary:-no test summary}"
  if [[ $summary =~ ([0-9]+)\ tests\ failed\ out\ of\ ([0-9]+) ]]; then
    failed=$((failed + BASH_REMATCH[1])); passed=$((passed + BASH_REMATCH[2] - BASH_REMATCH[1]))
  else
    tail -20 "$log"; failed=$((failed + 1))
  fi
done
echo "== took $(( $(date +%s) - started )) s"
echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
