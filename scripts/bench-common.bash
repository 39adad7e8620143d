# Sourced by the benchmark scripts (not tests): the native Release build of the engine
# drivers, the program itself under Wine, timing with the best of several runs, and the
# ratios of the figures.
#   QV_BENCH_MIB      input size in MiB (64)
#   QV_BENCH_REPEATS  rounds, each running every command once; a command's fastest run
#                     counts, since other work on the machine only ever slows a run down (3)
#   QV_BENCH_PROGRAM  0 leaves out the program under Wine (1)
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
size_mib=${QV_BENCH_MIB:-64}
repeats=${QV_BENCH_REPEATS:-3}
with_program=${QV_BENCH_PROGRAM:-1}
bench=$root/build/bench
program=$root/build/win64/Zentp32.exe
for tool in /usr/bin/time uuencode uudecode base64 bc; do
  command -v "$tool" >/dev/null || { echo "needs $tool (scripts/deps.sh installs it)"; exit 1; }
done

work=$(mktemp -d)
bench_cleanup() {
  if [ "$with_program" = 1 ]; then
    /usr/lib/wine/wineserver -k 2>/dev/null || true
    [ -n "${QV_XVFB_PID:-}" ] && kill "$QV_XVFB_PID" 2>/dev/null
  fi
  rm -rf "$work"
}
trap bench_cleanup EXIT

cmake -S "$root" -B "$bench" -G Ninja -DCMAKE_BUILD_TYPE=Release -DQV_SANITIZERS=OFF -DQV_BUILD_TESTS=OFF >/dev/null
ninja -C "$bench" qvencode qvdecode >/dev/null
if [ "$with_program" = 1 ]; then
  . "$root/scripts/build.sh"
  qv_build win64 Zentp32 >/dev/null
  # A prefix of its own: the program's settings stay the compiled-in defaults.
  export WINEPREFIX=$root/build/win64/bench-wineprefix
  . "$root/scripts/wine-env.sh"
fi

head -c $((size_mib * 1048576)) /dev/urandom >"$work/data.bin"
head -c 1000 /dev/urandom >"$work/tiny.bin"
if [ "$with_program" = 1 ]; then  # the first starts on a fresh X server take up to seconds: not figures
  mkdir -p "$work/warm" && cp "$work/tiny.bin" "$work/warm/"
  for _ in 1 2 3 4 5; do
    "$QV_WINE" "$program" /N /EU "Z:${work//\//\\}\\warm\\tiny.bin" >/dev/null 2>&1 || true
  done
fi
echo "Input ${size_mib} MiB of random bytes; best of $repeats rounds, every row once a round. Machine: $(nproc) CPUs," \
  "$(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ //'), load $(cut -d' ' -f1-3 /proc/loadavg)"

declare -A best_secs best_cpu peak_kib verdicts row_harness
last_round=1
# Whether a verdict of measure is a row that ran and made its output (a harness row makes none).
ran() { case $1 in equal | *bytes | "no output wanted") return 0 ;; *) return 1 ;; esac; }

# The harness alone: a row's time holds the start of a subshell, of time(1) and of the
# command's process, 18-19 ms a row in the runs on the 2-core test machine (21-25 ms through
# sh -c), the same for every row and no part of any tool's work. measure notes which of the two rows below
# measures a row's harness, and the ratios take it out of the native rows' times.
harness_exec="harness alone (/bin/true)"
harness_sh="harness alone (sh -c true)"
harness_rows() {
  measure "$harness_exec" "" - "" /bin/true
  measure "$harness_sh" "" - "" sh -c '/bin/true >/dev/null'
}

# in_rounds FUNCTION: calls FUNCTION, whose measure calls are the rows, $repeats times. Each
# round runs every row once, so that a slow spell of the machine (they last seconds to
# minutes on the shared test machine) falls on the rows of one round alike rather than on
# every run of one row; each row keeps its best, and the rows print in the last round.
in_rounds() {
  local round
  for round in $(seq 1 "$repeats"); do
    last_round=$([ "$round" = "$repeats" ] && echo 1 || echo 0)
    "$1"
  done
}

# measure NAME INPUTS OUTPUT EXPECTED COMMAND...: runs the command once in a fresh folder
# $work/run that holds links to INPUTS (files of $work, blank-separated), and keeps the
# fastest elapsed time of the row's runs in best_secs[NAME], taken from the shell's
# microsecond clock (the 10 ms steps of time(1) were a tenth of the shortest rows). OUTPUT is
# the file the command makes in that folder (- for none); with EXPECTED given it must equal
# that file, else its size is shown; a row that once failed stays failed. In the last round prints
# seconds, throughput, the CPU time of the fastest run (for the program without the
# wineserver's share), the largest peak RSS and the verdict.
measure() {
  local name=$1 inputs=$2 output=$3 expected=$4 verdict="" secs kib user sys f start
  shift 4
  rm -rf "$work/run" && mkdir -p "$work/run"
  for f in $inputs; do ln "$work/$f" "$work/run/$f"; done
  sync  # the writing back of earlier runs' outputs must not land on this run
  start=$EPOCHREALTIME
  (cd "$work/run" && /usr/bin/time -f '%e %M %U %S' -o "$work/time" "$@" >/dev/null 2>"$work/stderr") ||
    verdict="FAILED ($(head -c 200 "$work/stderr"))"
  secs=$(echo "$EPOCHREALTIME - $start" | bc -l)
  read -r _ kib user sys < <(tail -1 "$work/time")
  if [ -z "${best_secs[$name]:-}" ] || [ "$(echo "$secs < ${best_secs[$name]}" | bc -l)" = 1 ]; then
    best_secs[$name]=$secs
    best_cpu[$name]=$(echo "$user + $sys" | bc -l)
  fi
  [ "$kib" -gt "${peak_kib[$name]:-0}" ] && peak_kib[$name]=$kib
  row_harness[$name]=$([ "$1" = sh ] && echo "$harness_sh" || echo "$harness_exec")
  if [ -n "$verdict" ]; then :
  elif [ "$output" = - ]; then verdict="no output wanted"
  elif [ ! -f "$work/run/$output" ]; then verdict="NO OUTPUT"
  elif [ -n "$expected" ] && ! cmp -s "$expected" "$work/run/$output"; then verdict="DIFFERENT"
  elif [ -n "$expected" ]; then verdict="equal"
  else verdict="$(stat -c %s "$work/run/$output") bytes"
  fi
  if ran "${verdicts[$name]:-equal}"; then verdicts[$name]=$verdict; fi
  [ "$last_round" = 1 ] || return 0
  printf '%-40s %7.3f s %8.1f MiB/s  cpu %5.2f s  peak %7.1f MiB  %s\n' "$name" "${best_secs[$name]}" \
    "$(echo "$size_mib / ${best_secs[$name]}" | bc -l)" "${best_cpu[$name]}" "$(echo "${peak_kib[$name]} / 1024" | bc -l)" \
    "${verdicts[$name]}"
}

# run_path NAME: the Windows path of a file in the run folder.
run_path() { printf 'Z:%s' "${work//\//\\}\\run\\$1"; }

# work_time NAME STARTUP: a row's seconds with its start-up or harness taken out.
work_time() { echo "${best_secs[$1]} - ${best_secs[$2]}" | bc -l; }

# ratio WHAT MINE THEIRS TARGET [STARTUP]: MINE's work time over THEIRS', checked against
# TARGET: a native row's harness is taken out of its time; with STARTUP, MINE's start-up
# (which holds its harness) is taken out instead.
ratio() {
  local what=$1 target=$4 startup=${5:-} row mine theirs
  local mineHarness=${row_harness[$2]:-$harness_exec} theirHarness=${row_harness[$3]:-$harness_exec}
  for row in "$2" "$3" "$mineHarness" "$theirHarness" ${startup:+"$startup"}; do
    ran "${verdicts[$row]:-}" && continue
    printf '  %-58s not judged: "%s" %s\n' "$what" "$row" "${verdicts[$row]:-not run}"
    return
  done
  theirs=$(work_time "$3" "$theirHarness")
  mine=$(work_time "$2" "${startup:-$mineHarness}")
  if [ "$(echo "$mine <= 0" | bc -l)" = 1 ]; then
    printf '  %-58s %6.3f s: the start-up or harness varied more than the work took; not judged\n' "$what" "$mine"
    return
  fi
  local r
  r=$(echo "$mine / $theirs" | bc -l)
  printf '  %-58s %6.3f s / %6.3f s = %5.2fx  (target %sx) %s\n' "$what" "$mine" "$theirs" "$r" "$target" \
    "$( [ "$(echo "$r <= $target" | bc -l)" = 1 ] && echo met || echo MISSED)"
}

# program_ratios WHAT PROGRAM PEER ENGINE: the program's work time (start-up out) against the
# peer's (target 1.2) and against our native engine's on the same input (target 1.1).
program_startup="Zentp32 start-up (1000 bytes, UU)"
program_ratios() {
  ratio "Zentp32 $1, start-up out / $3" "$2" "$3" 1.2 "$program_startup"
  ratio "Zentp32 $1, start-up out / $4" "$2" "$4" 1.1 "$program_startup"
}
