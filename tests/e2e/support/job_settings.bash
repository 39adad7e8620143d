# Sourced by end-to-end scripts that run jobs from the menus, the clipboard or dropped files:
# output names without a save dialog, existing outputs replaced, summaries shown, UU in one
# file; the stored values are removed again when the script ends.
. "$(dirname "${BASH_SOURCE[0]}")/stored_values.bash"

# make_long_input PATH [MEGABYTES]: an input that keeps a job running long enough to be
# cancelled by hand. Jobs run at a few hundred MB a second, so an encode needs gigabytes: a
# sparse file of zeros, which takes no room on disk (2000 MB by default, under the 2 GB that
# a signed 32-bit size holds).
make_long_input() {
  rm -f "$1"
  truncate -s "${2:-2000}M" "$1"
}

store_value() {
  "$QV_WINE" reg add "$settings_key" /v "$1" /t REG_DWORD /d "$2" /f >/dev/null 2>&1 || fail "could not store $1"
}

use_job_settings() {
  forget_values_at_exit usedefaultnames overwriteexisting nostatusmessages encodemethod encodetype \
    decodemethod decodejoin decodetestchecksum "$@"
  store_value usedefaultnames 1
  store_value overwriteexisting 1
  store_value nostatusmessages 0
  store_value encodemethod 182
  store_value encodetype 3
  store_value decodetestchecksum 0
}
