# sh running the parts of our "UNIX shell (shar)" output in a scratch folder must rebuild
# the original file with uudecode: in part order, in reverse order, with ten or more
# parts (part 10 must not be joined before part 2), with data lines that start with END.
source "$(dirname "$0")/encode_common.bash" "$1"
need sh dash; need uudecode sharutils
cd "$SCRATCH"
run_parts() {  # run_parts DIR ORDER(forward|reverse) NAME
  local d=$1 order=$2 name=$3
  mkdir -p "$d/run"
  local files; mapfile -t files < <(cd "$d" && ls | grep '\.uue$' | sed 's/\.uue$//' | awk '{ n = $0; sub(/.*[^0-9]/, "", n); print n "\t" $0 }' | sort -n | cut -f2)
  [ "$order" = reverse ] && mapfile -t files < <(printf '%s\n' "${files[@]}" | tac)
  local f
  for f in "${files[@]}"; do (cd "$d/run" && sh "../$f.uue" >/dev/null 2>&1) || true; done
  check "sh shar $name, ${#files[@]} parts, $order" "$d/$name" "$d/run/$name"
  CHECKS=$((CHECKS + 1))
  if [ -z "$(cd "$d/run" && ls | grep -F "$name.uue.")" ]; then echo "ok   pieces removed"; else echo "FAIL pieces left"; FAILS=$((FAILS + 1)); fi
}
for size in 0 1 45 46 3195 9000 40000 70000; do
  for order in forward reverse; do
    d=$(mktemp -d "$SCRATCH/s.XXXX"); make_input "$d/data.bin" "$size"
    "$QV" --quiet --style 10 --lf --size 4500 "$d/data.bin"
    run_parts "$d" "$order" data.bin
  done
done
# A name with blanks and several periods.
d=$(mktemp -d "$SCRATCH/n.XXXX"); make_input "$d/my report.v1.2.tar.gz" 30000
"$QV" --quiet --style 10 --size 4500 "$d/my report.v1.2.tar.gz"
run_parts "$d" forward "my report.v1.2.tar.gz"
# Data lines that start with "END" and "BEGIN": a last line of 37 bytes whose encoding
# begins with "ND" ("E" is the length character of 37 bytes), built from the UU alphabet.
d=$(mktemp -d "$SCRATCH/e.XXXX")
printf '\272\100' > "$d/tail"   # 0xBA 0x40 encode to "ND" (values 46 and 36)
{ head -c 45 /dev/urandom; cat "$d/tail"; head -c 35 /dev/urandom; } > "$d/end.bin"
"$QV" --quiet --style 10 --size 4500 "$d/end.bin"
CHECKS=$((CHECKS + 1))
if grep -q '^END[^-]' "$d/end.uue"; then echo "ok   a data line starts with END"; else echo "FAIL no data line starting with END"; FAILS=$((FAILS + 1)); fi
rm -f "$d/tail"
run_parts "$d" forward end.bin
finish
