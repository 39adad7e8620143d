# GNU sharutils uudecode (and uudeview for XX) on our UU and XX output: single parts and
# split parts joined, for the edge sizes, exact multiples of a part and awkward names.
source "$(dirname "$0")/encode_common.bash" "$1"
need uudecode sharutils; need uudeview uudeview
cd "$SCRATCH"
for size in $SIZES; do
  for eol in "" --lf; do
    d=$(mktemp -d "$SCRATCH/uu.XXXX"); make_input "$d/in.bin" "$size"
    "$QV" --quiet --checksum $eol "$d/in.bin"
    uudecode -o "$d/out.bin" "$d/in.uue" 2>/dev/null || true
    check "uudecode UU single $size bytes ${eol:-crlf}" "$d/in.bin" "$d/out.bin"
  done
done
# Names with blanks and several periods: uudecode writes the name of the begin line.
d=$(mktemp -d "$SCRATCH/names.XXXX"); make_input "$d/my report.v1.2.tar.gz" 5000
"$QV" --quiet "$d/my report.v1.2.tar.gz"
mkdir "$d/out"; (cd "$d/out" && uudecode "../my report.v1.2.tar.uue")
check "uudecode UU name with blanks and periods" "$d/my report.v1.2.tar.gz" "$d/out/my report.v1.2.tar.gz"

# Joins split UU parts (given in part order): the begin line, every line of UU data shape, end.
join_uu() {
  perl -ne 's/\r?\n$//; if (/^begin 644 /) { print "$_\n"; next } if ($_ eq "end" || $_ eq "`") { print "$_\n"; next }
    next unless /^[!-M]/; my $n = (ord($_) - 32) & 63; print "$_\n" if length($_) == 1 + int((4 * $n + 2) / 3) && !/[^ -`]/' "$@"
}
# parts BASE: the part files of BASE in part order (BASE.uue alone when there is one part).
parts() { if [ -f "$1.uue" ]; then echo "$1.uue"; else local k=1; while [ -f "$1$k.uue" ]; do echo "$1$k.uue"; k=$((k + 1)); done; fi; }

part_bytes=$((45 * 71))   # style 4, LF, 4500: 71 lines of 45 bytes a part by the formula
for size in 0 1 45 46 $part_bytes $((part_bytes * 3)) $((part_bytes * 10)) 236431 300007; do
  d=$(mktemp -d "$SCRATCH/split.XXXX"); make_input "$d/in.bin" "$size"
  "$QV" --quiet --style 4 --lf --size 4500 "$d/in.bin"
  mapfile -t files < <(parts "$d/in")
  n=${#files[@]}
  join_uu "${files[@]}" > "$d/joined.uue"
  uudecode -o "$d/out.bin" "$d/joined.uue" 2>/dev/null || true
  check "uudecode UU style 4 split $size bytes, $n parts joined" "$d/in.bin" "$d/out.bin"
  # Every header announces the parts written; only the last part carries "end".
  CHECKS=$((CHECKS + 1))
  ends=$(grep -l '^end$' "${files[@]}" | wc -l)
  heads=$(grep -h '^Archive-name: in/part' "${files[@]}" | wc -l)
  if [ "$ends" -eq 1 ] && grep -q '^end$' "${files[n - 1]}" && [ "$heads" -eq "$n" ]; then
    echo "ok   $n parts: one header each, only part $n has end"
  else
    echo "FAIL $n parts: $heads headers, $ends end lines"; FAILS=$((FAILS + 1))
  fi
done

# Every splitting style, split and joined (CR LF and checksums on).
for style in 4 5 6 7 8 9 11 12 13 14 16 17 20; do
  d=$(mktemp -d "$SCRATCH/st.XXXX"); make_input "$d/pic.bin" 20000
  "$QV" --quiet --checksum --style "$style" --size 4500 "$d/pic.bin"
  mapfile -t files < <(parts "$d/pic")
  join_uu "${files[@]}" > "$d/joined.uue"
  uudecode -o "$d/out.bin" "$d/joined.uue" 2>/dev/null || true
  check "uudecode UU style $style, ${#files[@]} parts joined" "$d/pic.bin" "$d/out.bin"
done
# uudeview finds the parts itself by the headers it knows (Comp.binaries, POST).
for style in 4 14; do
  d=$(mktemp -d "$SCRATCH/uv.XXXX"); make_input "$d/pic.bin" 20000
  "$QV" --quiet --style "$style" --size 4500 "$d/pic.bin"
  mkdir "$d/out"; uudeview -i -q -o -p "$d/out/" "$d"/pic*.uue >/dev/null 2>&1 || true
  check "uudeview UU style $style in $(ls "$d" | grep -c '\.uue$') parts" "$d/pic.bin" "$d/out/pic.bin"
done
for size in 4095 20000 100003; do
  d=$(mktemp -d "$SCRATCH/xx.XXXX"); make_input "$d/x.bin" "$size"
  "$QV" --quiet --method xx "$d/x.bin"
  mkdir "$d/out"; uudeview -i -q -o -p "$d/out/" "$d/x.xxe" >/dev/null 2>&1 || true
  check "uudeview XX single $size bytes" "$d/x.bin" "$d/out/x.bin"
done
finish
