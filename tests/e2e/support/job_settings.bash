# Sourced by end-to-end scripts that run jobs from the menus, the clipboard or dropped files:
# output names without a save dialog, existing outputs replaced, summaries shown, UU in one
# file; the stored values are removed again when the script ends.
. "$(dirname "${BASH_SOURCE[0]}")/stored_values.bash"

# Megabytes of input that keep a job running long enough to be cancelled by hand (40 MB of
# UU took a minute under Wine on the 2-core machine, so this leaves seconds to spare).
long_job_megabytes=24

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
