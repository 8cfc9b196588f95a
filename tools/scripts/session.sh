# Sourced: starts and stops the private Xvfb display and the wineserver.
source "$(dirname "${BASH_SOURCE[0]}")/wine-env.sh"

_xvfb_pid=""

# Xvfb chooses a free display number itself and writes it to the file given
# by -displayfd, so sessions starting at the same moment never share one.
_start_xvfb() {
  local numfile i
  mkdir -p "$JARSTART_BUILD"
  numfile=$(mktemp "$JARSTART_BUILD/xvfb-number.XXXXXX")
  Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$numfile" >/dev/null 2>&1 &
  _xvfb_pid=$!
  for i in $(seq 1 200); do
    [ -s "$numfile" ] && break
    kill -0 "$_xvfb_pid" 2>/dev/null || break
    sleep 0.05
  done
  local n
  n=$(tr -dc '0-9' <"$numfile")
  rm -f "$numfile"
  if [ -z "$n" ]; then
    kill "$_xvfb_pid" 2>/dev/null
    _xvfb_pid=""
    return 1
  fi
  export DISPLAY=:$n
  echo ":$n" >"$JARSTART_DISPLAY_FILE"
}

session_start() {
  if [ -z "${DISPLAY:-}" ] || [ "${JARSTART_OWN_DISPLAY:-1}" = 1 ]; then
    _start_xvfb || { echo "session: cannot start Xvfb" >&2; return 1; }
  fi
  mkdir -p "$WINEPREFIX"
  # A wineserver left over from an interrupted run of this prefix goes first.
  wineserver -k 2>/dev/null
  wineserver -w 2>/dev/null
  wineserver -p
  if [ ! -f "$WINEPREFIX/.jarstart-ready" ]; then
    echo "session: creating the private Wine prefix (takes a few seconds)"
    wine wineboot -i </dev/null >/dev/null 2>&1 || { echo "session: wineboot failed" >&2; return 1; }
    touch "$WINEPREFIX/.jarstart-ready"
  fi
  # With no window manager on the display, Wine waits 2 s for one whenever a
  # visible top-level window is hidden (every dialog and splash closing);
  # unmanaged windows skip that wait. Run each session, this also starts
  # Wine's services now, with no pipe of anyone's as their output.
  wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f </dev/null >/dev/null 2>&1
  return 0
}

session_stop() {
  wineserver -k 2>/dev/null
  [ -n "$_xvfb_pid" ] && kill "$_xvfb_pid" 2>/dev/null
  _xvfb_pid=""
  rm -f "$JARSTART_DISPLAY_FILE"
  return 0
}
