# Sourced: the private Wine environment every test and the demo run in.
# Never the user's ~/.wine; a pinned locale so the ANSI code page is 1252
# and the OEM code page 437.
_root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
export JARSTART_BUILD=${JARSTART_BUILD:-$_root/build}
export WINEPREFIX=${WINEPREFIX_JARSTART:-$JARSTART_BUILD/wineprefix}
export WINEARCH=win64
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
export WINEDEBUG=${WINEDEBUG:--all}
export LANG=C.UTF-8; unset LC_ALL
# Linux environment variables reach every Wine process; a JAVA_HOME of this
# machine would steer the launcher's runtime search. Tests set it themselves.
unset JAVA_HOME
# Without 32-bit support Debian's "wine" command fails in its 32-bit loader
# before it looks at the program: "wine" then means the 64-bit loader, here
# and in every script that sources this file.
if ! "$_root/tools/scripts/runs-32bit.sh"; then
  export WINELOADER=/usr/lib/wine/wine64
  mkdir -p "$JARSTART_BUILD/wine64-only"
  printf '#!/bin/sh\nexec %s "$@"\n' "$WINELOADER" >"$JARSTART_BUILD/wine64-only/wine"
  chmod +x "$JARSTART_BUILD/wine64-only/wine"
  case ":$PATH:" in *":$JARSTART_BUILD/wine64-only:"*) ;; *) export PATH="$JARSTART_BUILD/wine64-only:$PATH" ;; esac
fi
export JARSTART_DISPLAY_FILE=$JARSTART_BUILD/xvfb.display
if [ -z "${DISPLAY:-}" ] && [ -f "$JARSTART_DISPLAY_FILE" ]; then
  export DISPLAY=$(cat "$JARSTART_DISPLAY_FILE")
fi
