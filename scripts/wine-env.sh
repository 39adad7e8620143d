# Sourced: prepares Wine for running the program and its tests.
#   WINEPREFIX  a throwaway prefix (default: <build>/wineprefix)
#   DISPLAY     an X display; without one a private Xvfb is started
# Starts a persistent wineserver so that every program start is fast, and sets up a
# virtual desktop so that windows come and go without waiting for a window manager.
QV_WINE=${QV_WINE:-/usr/lib/wine/wine64}
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-"mscoree,mshtml,winemenubuilder.exe="}
export WINEARCH=win64
: "${WINEPREFIX:?WINEPREFIX must be set}"
export WINEPREFIX

qv_start_xvfb() {
  local n
  for n in $(seq 90 140); do
    [ -e /tmp/.X11-unix/X$n ] || [ -e /tmp/.X$n-lock ] && continue
    # Twice the desktop's size: room for the end-to-end tests' desktop at 192 DPI.
    Xvfb ":$n" -screen 0 2048x1536x24 -nolisten tcp >/dev/null 2>&1 8>&- &
    QV_XVFB_PID=$!
    for _ in $(seq 50); do [ -e /tmp/.X11-unix/X$n ] && break; sleep 0.1; done
    export DISPLAY=":$n"
    echo "$n $QV_XVFB_PID" >"$WINEPREFIX.display"
    return 0
  done
  echo "no free X display number" >&2
  return 1
}

# One private display per prefix: a caller without a display reuses the one an earlier
# call started while it still runs, so repeated runs do not pile up X servers.
qv_reuse_xvfb() {
  local n pid
  [ -f "$WINEPREFIX.display" ] || return 1
  read -r n pid <"$WINEPREFIX.display" || return 1
  kill -0 "$pid" 2>/dev/null && [ -e "/tmp/.X11-unix/X$n" ] || return 1
  export DISPLAY=":$n"
}

if [ -z "${DISPLAY:-}" ]; then
  mkdir -p "$(dirname "$WINEPREFIX")"
  exec 8>"$WINEPREFIX.display.lock"
  flock 8
  qv_reuse_xvfb || qv_start_xvfb || { exec 8>&-; return 1; }
  exec 8>&-
fi

(
  exec 9>"$WINEPREFIX.lock"
  flock 9
  if [ ! -f "$WINEPREFIX/.qv-ready" ]; then
    mkdir -p "$WINEPREFIX"
    "$QV_WINE" wineboot -i >/dev/null 2>&1
    "$QV_WINE" reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f >/dev/null 2>&1
    "$QV_WINE" reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 1024x768 /f >/dev/null 2>&1
    /usr/lib/wine/wineserver -w
    touch "$WINEPREFIX/.qv-ready"
  fi
)
/usr/lib/wine/wineserver -p >/dev/null 2>&1 || true
