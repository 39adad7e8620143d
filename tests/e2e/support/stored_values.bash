# Sourced by end-to-end scripts that store settings by hand: the settings key, and removing
# those values again when the script ends, so that later scripts see the defaults.
settings_key='HKCU\Software\Orvanta, Inc.\Zentrel32\2.0'

# forget_values_at_exit NAME...: deletes these values (then cleans up as usual) on exit.
forget_values_at_exit() {
  stored_values="$*"
  trap forget_stored_values EXIT
}

forget_stored_values() {
  local value
  for value in $stored_values; do
    "$QV_WINE" reg delete "$settings_key" /v "$value" /f >/dev/null 2>&1 || true
  done
  e2e_cleanup
}
