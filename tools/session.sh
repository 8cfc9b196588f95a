# Sourced: starts and stops the private Xvfb display and the wineserver.
source "$(dirname "${BASH_SOURCE[0]}")/wine-env.sh"

_xvfb_pid=""

session_start() {
  if [ -z "${DISPLAY:-}" ] || [ "${JARSTART_OWN_DISPLAY:-1}" = 1 ]; then
    local n
    for n in $(seq 91 120); do
      [ -e /tmp/.X11-unix/X$n ] || [ -e /tmp/.X$n-lock ] && continue
      Xvfb :$n -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
      _xvfb_pid=$!
      local i
      for i in $(seq 1 100); do
        [ -e /tmp/.X11-unix/X$n ] && break
        kill -0 $_xvfb_pid 2>/dev/null || break
        sleep 0.05
      done
      if [ -e /tmp/.X11-unix/X$n ]; then
        export DISPLAY=:$n
        echo ":$n" > "$JARSTART_DISPLAY_FILE"
        break
      fi
    done
    [ -n "${DISPLAY:-}" ] || { echo "session: cannot start Xvfb" >&2; return 1; }
  fi
  mkdir -p "$WINEPREFIX"
  wineserver -p
  if [ ! -f "$WINEPREFIX/.jarstart-ready" ]; then
    echo "session: creating the private Wine prefix (takes a few seconds)"
    wineboot -i >/dev/null 2>&1 || { echo "session: wineboot failed" >&2; return 1; }
    touch "$WINEPREFIX/.jarstart-ready"
  fi
}

session_stop() {
  wineserver -k 2>/dev/null
  [ -n "$_xvfb_pid" ] && kill "$_xvfb_pid" 2>/dev/null
  rm -f "$JARSTART_DISPLAY_FILE"
  return 0
}
