# Sourced: the private Wine environment every test and the demo run in.
# Never the user's ~/.wine; a pinned locale so the ANSI code page is 1252
# and the OEM code page 437.
_root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
export JARSTART_BUILD=${JARSTART_BUILD:-$_root/build}
export WINEPREFIX=${WINEPREFIX_JARSTART:-$JARSTART_BUILD/wineprefix}
export WINEARCH=win64
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
export WINEDEBUG=${WINEDEBUG:--all}
export LANG=C.UTF-8; unset LC_ALL
# Linux environment variables reach every Wine process; a JAVA_HOME of this
# machine would steer the launcher's runtime search. Tests set it themselves.
unset JAVA_HOME
export JARSTART_DISPLAY_FILE=$JARSTART_BUILD/xvfb.display
if [ -z "${DISPLAY:-}" ] && [ -f "$JARSTART_DISPLAY_FILE" ]; then
  export DISPLAY=$(cat "$JARSTART_DISPLAY_FILE")
fi
