#!/usr/bin/env bash
# Encoder benchmark (not a test): encodes 64 MiB of random bytes in UU, XX and base64 with
# the native Release build of the engine, with the program itself under Wine (Zentp32 /N,
# its start-up taken out) and, in the same run, with GNU uuencode and coreutils base64;
# prints seconds, throughput and peak memory, then the ratios against their targets.
#   scripts/bench-encode.sh      (settings: scripts/bench-common.bash)
. "$(dirname "$0")/bench-common.bash"

rows() {
  harness_rows
  measure "GNU uuencode"               data.bin data.uue "" sh -c 'uuencode data.bin data.bin >data.uue'
  measure "coreutils base64"           data.bin data.b64 "" sh -c 'base64 data.bin >data.b64'
  measure "engine UU (qvencode)"       data.bin data.uue "" "$bench/qvencode" --quiet --method uu data.bin
  measure "engine XX (qvencode)"       data.bin data.xxe "" "$bench/qvencode" --quiet --method xx data.bin
  measure "engine base64 (qvencode)"   data.bin data.mme "" "$bench/qvencode" --quiet --method mime data.bin
  measure "engine UU 1 MiB parts"      data.bin data1.uue "" \
    "$bench/qvencode" --quiet --method uu --style 4 --size 1048576 data.bin
  if [ "$with_program" = 1 ]; then
    startup() { measure "$program_startup" tiny.bin tiny.uue "" "$QV_WINE" "$program" /N /EU "$(run_path tiny.bin)"; }
    startup
    measure "Zentp32 /N /EU"                    data.bin data.uue "" "$QV_WINE" "$program" /N /EU "$(run_path data.bin)"
    measure "Zentp32 /N /EM"                    data.bin data.mme "" "$QV_WINE" "$program" /N /EM "$(run_path data.bin)"
    startup  # again, the better time kept
  fi
}
in_rounds rows

echo "Ratios of work times (the harness or the program's start-up out; the engine's target is half the peer's time):"
ratio "engine UU encode / GNU uuencode" "engine UU (qvencode)" "GNU uuencode" 0.5
ratio "engine base64 encode / coreutils base64" "engine base64 (qvencode)" "coreutils base64" 0.5
if [ "$with_program" = 1 ]; then
  program_ratios "UU encode" "Zentp32 /N /EU" "GNU uuencode" "engine UU (qvencode)"
  program_ratios "base64 encode" "Zentp32 /N /EM" "coreutils base64" "engine base64 (qvencode)"
fi
