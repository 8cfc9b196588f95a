#!/usr/bin/env bash
# make demo: builds build/demo/ (a configured Demo.exe, the demo application
# demo.jar and a stand-in runtime for running it here) and runs Demo.exe
# under Wine through "jarstart-tool trace", printing its diagnostic log and
# exit code. Copied to a Windows machine with Java, the folder works for real:
# there the runtime search finds the installed Java before the stand-in.
set -euo pipefail
build=$(cd "${1:-build}" && pwd)
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
demo=$build/demo
tool=$build/jarstart-tool.exe

for f in "$build/jarstart.exe" "$tool"; do
  [ -f "$f" ] || { echo "demo: $f is missing; run make first" >&2; exit 1; }
done
rm -rf "$demo" "$build/demo-classes"
mkdir -p "$demo"

# The demo application: a Swing window, compiled for Java 8 so any runtime
# from 8 on runs it.
if command -v javac >/dev/null && command -v jar >/dev/null; then
  mkdir -p "$build/demo-classes"
  javac --release 8 -d "$build/demo-classes" $(find "$root/tools/demo/src" -name '*.java')
  jar cfe "$demo/demo.jar" demo.DemoApp -C "$build/demo-classes" .
  echo "demo: built demo.jar"
else
  echo "demo: no JDK (javac and jar) on this machine: demo.jar not built"
fi

# A stand-in runtime home beside Demo.exe, found through JAVA_HOME below.
runtime_note="stand-in runtime"
if [ -f "$build/standin/java.exe" ] && [ -f "$build/standin/javaw.exe" ]; then
  mkdir -p "$demo/runtime/bin" "$demo/runtime/lib"
  cp "$build/standin/java.exe" "$build/standin/javaw.exe" "$demo/runtime/bin/"
  cp "$root/tools/demo/standin.cfg" "$demo/runtime/bin/standin.cfg"
else
  runtime_note="no stand-in runtime built yet: the launcher finds no runtime here"
  echo "demo: $runtime_note"
fi

source "$root/tools/session.sh"
# The session script is written for shells without errexit.
session_start >/dev/null || { echo "demo: cannot start the Wine session" >&2; exit 1; }
trap session_stop EXIT

wine "$tool" configure "$build/jarstart.exe" -o "$demo/Demo.exe" \
  --set PROP_START_JAR=demo.jar \
  --set PROP_MIN_VERSION=1.8 \
  --set "PROP_VM_PARAMS=-Ddemo.launcher=jarstart" \
  --set PROP_WATCH_APP_WINDOW=yes \
  --set PROP_KEEP_ALIVE= \
  --set PROP_WORK_DIR=
echo "demo: configured Demo.exe:"
wine "$tool" show "$demo/Demo.exe" >"$build/demo-show.out"
sed 's/^/  /' "$build/demo-show.out"

cat > "$demo/README.txt" <<'TXT'
Jarstart demo
Demo.exe is the jarstart launcher configured with "jarstart-tool configure"
to start demo.jar (a small Swing application) with Java 8 or later.
On Windows with Java installed, double-click Demo.exe.
To see the launcher's diagnostic log: jarstart-tool trace Demo.exe
The runtime folder holds a stand-in runtime used only for running the demo
under Wine on the build machine; it may be deleted.
TXT

# Wine hands Linux environment variables to Windows programs: point
# JAVA_HOME at the stand-in, as a Windows path (Wine's drive Z: is /).
export JAVA_HOME="Z:$(printf '%s' "$demo/runtime" | tr / '\\')"
# Output goes to files, not pipes: Wine's background services inherit the
# handles and would keep a pipe open long after the program ended.
# A launcher that finds no runtime shows a dialog and waits for the user:
# after a while take a picture of the screen and end it, so make demo ends.
wait_s=${DEMO_WAIT_SECONDS:-20}
(cd "$demo" && exec wine "$tool" trace Demo.exe) >"$build/demo-trace.out" 2>"$build/demo-trace.err" &
trace_pid=$!
for _ in $(seq 1 $((wait_s * 10))); do
  kill -0 "$trace_pid" 2>/dev/null || break
  sleep 0.1
done
ended=""
if kill -0 "$trace_pid" 2>/dev/null; then
  ended=1
  rm -f "$build/demo-screen.png"
  import -display "$DISPLAY" -window root "$build/demo-screen.png" 2>/dev/null || true
  echo "demo: Demo.exe still runs after ${wait_s} s (a window waits for the user); screen saved as $build/demo-screen.png, ending it"
  # Ends every process of the private prefix: only this demo runs in it.
  wineserver -k 2>/dev/null || true
fi
status=0
wait "$trace_pid" || status=$?
echo "demo: diagnostic log of Demo.exe ($runtime_note):"
sed 's/^/  /' "$build/demo-trace.out"
sed 's/^/  /' "$build/demo-trace.err"
if [ -n "$ended" ]; then
  echo "demo: Demo.exe was ended by the demo after ${wait_s} s"
else
  echo "demo: Demo.exe exited with $status"
fi
echo "demo: the folder is $demo"
