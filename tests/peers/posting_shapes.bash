# Postings shaped like real news and mail, in our own words, that the decoder must decode
# exactly (sourced; not a test of its own). Each shape is a folder of articles as saved from
# a newsreader: art*.txt, given together (and joined) in the order that their names list in
# `order`; `expect/NAME` is the file they carry; `damaged` marks a shape whose data has a
# damaged character, where the right output has the original's size and differs only in
# the bytes of that one group.
#   make_posting_shapes FOLDER   (needs uuencode, uuenview and sum from the peer tools)
#   posting_shape_names          the shapes in a fixed order

posting_shape_names() {
  echo "1-cut-touching 1-cut-touching-xx 2-frames-contradict 2-fourteen-parts 3-style-not-followed 4-blank-lines-crlf"
  echo "5-invalid-lines"
}

# Pseudo-random bytes, the same on every run.
shape_bytes() { LC_ALL=C awk -v n="$1" -v seed="$2" 'BEGIN { srand(seed); for (i = 0; i < n; i++) printf "%c", int(rand() * 256) }'; }

shape_head() {  # FROM SUBJECT ID [EXTRA-HEADER]
  printf 'Path: news.example.net!feed.example.com!not-for-mail\nFrom: %s\nNewsgroups: alt.binaries.misc\n' "$1"
  printf 'Subject: %s\nDate: Tue, 14 Mar 1995 21:07:%02d GMT\nMessage-ID: <%s@example.com>\n' "$2" ${#3} "$3"
  [ -z "${4:-}" ] || printf '%s\n' "$4"
  printf 'Lines: %d\n\n' $((${#2} * 7))
}

shape_sig() { printf -- '-- \n%s    | no one speaks for the company\n' "$1"; }

# lines FILE FROM TO: lines FROM..TO (1-based, inclusive) of FILE.
lines() { sed -n "$2,$3p" "$1"; }

encode_uu() { uuencode "$1" "$1"; }
encode_xx() { uuenview -x "$1" 2>/dev/null; }

shape_1_cut_touching() { cut_touching "$1" encode_uu; }
shape_1_cut_touching_xx() { cut_touching "$1" encode_xx; }

# Two parts saved in one piece; a cut line touches the last data line of part 1 and the
# first data line of part 2.
cut_touching() {
  local d=$1 uu=$1/enc
  shape_bytes 6210 11 >"$d/expect/toolkit.zip"
  (cd "$d/expect" && "$2" toolkit.zip) >"$uu"
  local n half
  n=$(wc -l <"$uu"); half=$((n / 2))
  {
    shape_head 'Rolf Brandt <rolf@example.de>' 'toolkit.zip part 1/2' 'tk1.rb'
    printf 'Here is the toolkit that was asked for last week, in two parts.\n\n'
    lines "$uu" 1 "$half"
    printf -- '---cut here---\n'
    shape_sig 'Rolf'
    printf '\n'
    shape_head 'Rolf Brandt <rolf@example.de>' 'toolkit.zip part 2/2' 'tk2.rb'
    printf 'And the rest of it.\n\n---cut here---\n'
    lines "$uu" $((half + 1)) "$n"
    shape_sig 'Rolf'
  } >"$d/art1.txt"
  echo art1.txt >"$d/order"
}

# Three parts with identical subjects; the first one's frame wrongly says 01/01.
shape_2_frames_contradict() {
  local d=$1 uu=$1/enc
  shape_bytes 7020 22 >"$d/expect/sunset.gif"
  (cd "$d/expect" && uuencode sunset.gif sunset.gif) >"$uu"
  local n third p from to label
  n=$(wc -l <"$uu"); third=$((n / 3 + 1))
  for p in 1 2 3; do
    from=$(( (p - 1) * third + 1 )); to=$((p * third)); [ "$p" = 3 ] && to=$n
    label="0$p/03"; [ "$p" = 1 ] && label='01/01'
    {
      shape_head 'kim@example.net (Kim Lee)' 'sunset.gif - the bay at dusk' "sun$p.kl"
      [ "$p" = 1 ] && printf 'Taken from the pier with the old camera.\n\n'
      printf -- '---------- cut here ---------- part %s\n' "$label"
      lines "$uu" "$from" "$to"
      printf -- '---------- cut here ----------\n'
      shape_sig 'Kim'
    } >"$d/art$p.txt"
  done
  echo art3.txt art1.txt art2.txt >"$d/order"
}

# Fourteen parts framed with twelve dashes; the subjects alternate between two names, and in
# part 9 the opening frame sits at the end of the subject line.
shape_2_fourteen_parts() {
  local d=$1 uu=$1/enc
  shape_bytes 14800 33 >"$d/expect/harbor.bmp"
  (cd "$d/expect" && uuencode harbor.bmp harbor.bmp) >"$uu"
  local n per p from to subject frame
  n=$(wc -l <"$uu"); per=$((n / 14 + 1))
  for p in $(seq 1 14); do
    from=$(( (p - 1) * per + 1 )); to=$((p * per)); [ "$p" = 14 ] && to=$n
    subject=$(printf 'harbor.bmp %02d/14' "$p"); [ $((p % 2)) = 0 ] && subject=$(printf 'harbor %02d/14' "$p")
    frame="------------ Part $p of 14 ------------"
    {
      if [ "$p" = 9 ]; then
        shape_head 'Ola Nordmann <ola@example.no>' "$subject$frame" "hb$p.on"
      else
        shape_head 'Ola Nordmann <ola@example.no>' "$subject" "hb$p.on"
        printf '%s\n' "$frame"
      fi
      lines "$uu" "$from" "$to"
      printf -- '-------- End of part %d of 14 --------\n' "$p"
    } >"$d/art$(printf %02d "$p").txt"
  done
  echo art05.txt art01.txt art14.txt art02.txt art09.txt art03.txt art04.txt art06.txt art07.txt art08.txt \
    art10.txt art11.txt art12.txt art13.txt >"$d/order"
}

# A source-group article whose header promises a multi-part archive; the body is one
# begin ... end block with mode 0.
shape_3_style_not_followed() {
  local d=$1 uu=$1/enc
  shape_bytes 3100 44 >"$d/expect/sao.dat"
  (cd "$d/expect" && uuencode sao.dat sao.dat) | sed '1s/^begin [0-7]*/begin 0/' >"$uu"
  {
    shape_head 'Pat Moreau <pat@example.fr>' 'v12i034: sao - star catalogue tools, Part02/49' 'sao02.pm' \
      'Archive-name: sao/part02'
    printf 'Submitted-by: pat@example.fr\nEnvironment: UNIX\n\n'
    printf 'The catalogue data for part 2. Uudecode the block below.\n\n'
    cat "$uu"
    printf '\n'
    shape_sig 'Pat'
  } >"$d/art1.txt"
  echo art1.txt >"$d/order"
}

# A mail in an 8-bit code page with CR LF line ends: a Pascal program full of lines starting
# with begin and end, then the real block (mode 660), with blank lines that a gateway put
# into the data, and the section and whole-file sum -r lines after it.
shape_4_blank_lines_crlf() {
  local d=$1 uu=$1/enc
  shape_bytes 5500 55 >"$d/expect/grid.exe"
  (cd "$d/expect" && uuencode grid.exe grid.exe) | sed '1s/^begin [0-7]*/begin 660/' >"$uu"
  local section whole size
  section=$(sum -r <"$uu" | awk '{print $1}'); size=$(wc -c <"$uu")
  whole=$(sum -r <"$d/expect/grid.exe" | awk '{print $1}')
  {
    printf 'From: J\xf6rg M\xfcller <jm@example.de>\nTo: pascal-list@example.org\nSubject: Re: Gitter f\xfcr Turbo Pascal\n'
    printf 'Content-Type: text/plain; charset=ISO-8859-1\nContent-Transfer-Encoding: 8bit\n\n'
    printf 'Hallo zusammen, hier das Programm, danach die \xfcbersetzte Fassung.\n\n'
    printf 'program Gitter;\nvar i, j: integer;\nbegin\n  for i := 1 to 10 do\n  begin\n'
    printf '    for j := 1 to 10 do\n    begin\n      write(i * j:4);\n    end;\n    writeln;\n'
    printf '  end;\nbegin of the second half: gr\xf6\xdfer\nend\nend.\n\n'
    printf 'Die \xfcbersetzte Fassung:\n\n'
    awk -v last="$(wc -l <"$uu")" 'NR == 2 || NR % 9 == 0 || NR == last { print "" } { print }' "$uu"
    printf '\nsum -r/size %s/%s section (from "begin" to "end")\n\n' "$section" "$size"
    printf 'sum -r/size %s/%s entire input file\n' "$whole" "$(wc -c <"$d/expect/grid.exe")"
    printf '\nGr\xfc\xdfe, J\xf6rg\n'
  } | sed 's/$/\r/' >"$d/art1.txt"
  echo art1.txt >"$d/order"
}

# One data line with a character no UU line holds (the line's length still agrees), one line
# of prose and one short stray line inside the data: the first is decoded, the others skipped.
shape_5_invalid_lines() {
  local d=$1 uu=$1/enc
  shape_bytes 4500 66 >"$d/expect/notes.doc"
  (cd "$d/expect" && uuencode notes.doc notes.doc) >"$uu"
  {
    shape_head 'Sam Okafor <sam@example.org>' 'notes.doc (meeting notes)' 'nd.so'
    awk 'NR == 12 { $0 = substr($0, 1, 20) "~" substr($0, 22) }
         NR == 30 { print "this line was added by a relay on its way here" }
         NR == 50 { print "M0Q" }
         { print }' "$uu"
    shape_sig 'Sam'
  } >"$d/art1.txt"
  echo art1.txt >"$d/order"
  : >"$d/damaged"
}

make_posting_shapes() {
  local root=$1 name
  for name in $(posting_shape_names); do
    mkdir -p "$root/$name/expect"
    "shape_$(echo "$name" | tr - _)" "$root/$name"
    rm -f "$root/$name/enc"
  done
}

# right_output EXPECTED MADE [damaged]: the made file is the expected one (or, for damaged
# data, has its size and differs in at most the three bytes of one group).
right_output() {
  [ -f "$2" ] || return 1
  if [ -z "${3:-}" ]; then cmp -s "$1" "$2"; return; fi
  [ "$(wc -c <"$1")" = "$(wc -c <"$2")" ] || return 1
  local differing
  differing=$(cmp -l "$1" "$2" | awk 'NR == 1 { first = $1 } { last = $1 } END { print NR ? last - first : 0 }')
  [ "$differing" -le 2 ]
}
