# macutils hexbin on our BinHex 4.0 output: edge sizes, runs of 0x90 (escaped as 0x90 0x00),
# CRC bytes, line ends and names with blanks and several periods.
source "$(dirname "$0")/encode_common.bash" "$1"
need hexbin macutils
cd "$SCRATCH"
run() {  # run LABEL INPUT [qvencode options]
  local label=$1 in=$2; shift 2
  local d; d=$(dirname "$in")
  "$QV" --quiet --method binhex "$@" "$in"
  local hqx="${in%.*}.hqx"
  mkdir -p "$d/hb"; rm -f "$d/hb/out.data"
  (cd "$d/hb" && hexbin -d -n out "$hqx" >/dev/null 2>&1 || true)
  check "hexbin $label" "$in" "$d/hb/out.data"
}
for size in $SIZES; do
  d=$(mktemp -d "$SCRATCH/h.XXXX"); make_input "$d/in.bin" "$size"
  run "$size random bytes" "$d/in.bin"
  run "$size random bytes, LF" "$d/in.bin" --lf
done
for size in 1 2 3 45 46 1000 100000; do
  d=$(mktemp -d "$SCRATCH/r.XXXX"); make_input "$d/runs.bin" "$size" 90
  run "$size bytes of 0x90" "$d/runs.bin"
done
d=$(mktemp -d "$SCRATCH/mix.XXXX"); { head -c 500 /dev/urandom; head -c 300 /dev/zero | tr '\0' '\220'; head -c 500 /dev/urandom; } > "$d/mix.bin"
run "random bytes around a run of 0x90" "$d/mix.bin"
d=$(mktemp -d "$SCRATCH/n.XXXX"); make_input "$d/my report.v1.2.tar.gz" 3000
run "name with blanks and periods" "$d/my report.v1.2.tar.gz"
CHECKS=$((CHECKS + 1))
if hexbin -i "$d/my report.v1.2.tar.hqx" 2>&1 | grep -q "name=\"my.report\.v1\.2\.tar\.gz\""; then
  echo "ok   hexbin reads the name from the header"
else
  echo "FAIL name in the BinHex header: $(hexbin -i "$d/my report.v1.2.tar.hqx" 2>&1 | head -3)"; FAILS=$((FAILS + 1))
fi
finish
