# Sourced by the mail scripts after e2e_setup: the test mail store (tests/mapi_store) as the
# default mail client of the prefix, found by the platform's MAPI library as a user's mail
# client is, with its store in a folder of the script's own.
#   mail_store_setup FOLDER   empty store, provider registered, QV_MAIL_STORE exported
#   mail_config LINE...       the store's config.txt
#   mail_setting NAME VALUE   a DWORD setting of the program, removed again at exit
mail_client_key='HKLM\Software\Clients\Mail'
mail_settings_key='HKCU\Software\Orvanta, Inc.\Zentrel32\2.0'
mail_settings_set=""
mail_client_before=""

mail_store_cleanup() {
  local value
  for value in $mail_settings_set; do
    "$QV_WINE" reg delete "$mail_settings_key" /v "$value" /f >/dev/null 2>&1 || true
  done
  # The prefix's own default mail client comes back.
  "$QV_WINE" reg delete "$mail_client_key\\QvTestStore" /f >/dev/null 2>&1 || true
  if [ -n "$mail_client_before" ]; then
    "$QV_WINE" reg add "$mail_client_key" /ve /d "$mail_client_before" /f >/dev/null 2>&1 || true
  else
    "$QV_WINE" reg delete "$mail_client_key" /ve /f >/dev/null 2>&1 || true
  fi
  e2e_cleanup
}

mail_store_setup() {
  store=$1
  rm -rf "$store"
  mkdir -p "$store/inbox"
  QV_MAIL_STORE=$(winepath -w "$store" 2>/dev/null)
  export QV_MAIL_STORE
  mail_client_before=$("$QV_WINE" reg query "$mail_client_key" /ve 2>/dev/null | tr -d '\r' |
    sed -n 's/^.*REG_SZ[[:space:]]*//p' | head -1)
  "$QV_WINE" reg add "$mail_client_key" /ve /d QvTestStore /f >/dev/null 2>&1 || fail "cannot name the mail client"
  "$QV_WINE" reg add "$mail_client_key\\QvTestStore" /v DLLPath /d "$(winepath -w "$build/qvmapistore.dll" 2>/dev/null)" \
    /f >/dev/null 2>&1 || fail "cannot register the mail client"
  trap mail_store_cleanup EXIT
}

mail_config() { printf '%s\n' "$@" >"$store/config.txt"; }

mail_setting() {
  "$QV_WINE" reg add "$mail_settings_key" /v "$1" /t REG_DWORD /d "$2" /f >/dev/null 2>&1 || fail "cannot store $1"
  mail_settings_set="$mail_settings_set $1"
}

win() { winepath -w "$1" 2>/dev/null; }

# The body of a stored message: everything after its first empty line.
mail_body() { awk 'body {print; next} /^$/ {body = 1}' "$1"; }

# mail_text_setting NAME VALUE: a string setting of the program, removed again at exit.
mail_text_setting() {
  "$QV_WINE" reg add "$mail_settings_key" /v "$1" /t REG_SZ /d "$2" /f >/dev/null 2>&1 || fail "cannot store $1"
  mail_settings_set="$mail_settings_set $1"
}
