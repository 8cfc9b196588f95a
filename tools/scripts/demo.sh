#!/usr/bin/env bash
# make demo: builds build/demo/ (a configured Demo.exe with a splash image,
# the demo application demo.jar and a stand-in runtime for running it here)
# and runs the launcher twice under Wine through "jarstart-tool trace",
# printing each diagnostic log and exit code:
#  1. Demo.exe shows the splash until the application's window appears;
#  2. NoJava.exe asks for a runtime newer than any here and shows the start
#     failure dialog, which the demo closes with Escape;
#  3. Broken.exe (PROP_SHOW_START_ERRORS) starts an application that dies at
#     once and shows the application error dialog with its last output.
# Then it runs Tool.exe, the console launcher configured for a command-line
# tool, with its input and output redirected to files, and prints what the
# stand-in application received and the exit code it passed back.
# Screenshots of the splash and of the dialogs are saved in build/demo/.
# Copied to a Windows machine with Java, the folder works for real: there the
# runtime search finds the installed Java before the stand-in.
set -euo pipefail
build=$(cd "${1:-build}" && pwd)
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
demo=$build/demo
tool=$build/jarstart-tool.exe

for f in "$build/jarstart.exe" "$build/jarstart-console.exe" "$tool"; do
  [ -f "$f" ] || { echo "demo: $f is missing; run make first" >&2; exit 1; }
done
rm -rf "$demo" "$build/demo-classes"
mkdir -p "$demo"

# The demo application: a Swing window, compiled for Java 8 so any runtime
# from 8 on runs it.
if command -v javac >/dev/null && command -v jar >/dev/null; then
  mkdir -p "$build/demo-classes"
  javac --release 8 -d "$build/demo-classes" $(find "$root/tools/scripts/demo/src" -name '*.java')
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
  cp "$root/tools/scripts/demo/standin.cfg" "$demo/runtime/bin/standin.cfg"
  # The command-line tool's bundled runtime: a stand-in that echoes its
  # input and ends with exit code 3.
  mkdir -p "$demo/tool-runtime/bin"
  cp "$build/standin/java.exe" "$demo/tool-runtime/bin/"
  cp "$root/tools/scripts/demo/tool-standin.cfg" "$demo/tool-runtime/bin/standin.cfg"
  # A runtime whose application dies at start, as a jar without its main
  # class does, for Broken.exe.
  mkdir -p "$demo/broken-runtime/bin"
  cp "$build/standin/java.exe" "$build/standin/javaw.exe" "$demo/broken-runtime/bin/"
  cat > "$demo/broken-runtime/bin/standin.cfg" <<'CFG'
versionText=java version \"1.8.0_202\"\n
stderrText=Error: Could not find or load main class demo.Missing\nCaused by: java.lang.ClassNotFoundException: demo.Missing\n
exitCode=1
CFG
else
  runtime_note="no stand-in runtime built yet: the launcher finds no runtime here"
  echo "demo: $runtime_note"
fi

source "$root/tools/scripts/session.sh"
# The session script is written for shells without errexit.
session_start >/dev/null || { echo "demo: cannot start the Wine session" >&2; exit 1; }
trap session_stop EXIT

# The splash image, drawn now rather than kept in the repository. BMP3 writes
# a plain BMP with its file header, which the picture loader reads.
splash_note="splash image: splash.bmp"
splash_args=()
splash_prop=yes
if command -v convert >/dev/null \
  && convert -size 400x200 xc:'#1d4f7a' -fill none -stroke '#f2b233' -strokewidth 6 \
       -draw 'rectangle 8,8 391,191' -stroke none -fill white -font DejaVu-Sans -pointsize 30 \
       -gravity center -annotate +0-10 'Demo starting…' -pointsize 14 -fill '#cfe3f5' \
       -annotate +0+34 'jarstart splash screen' BMP3:"$demo/splash.bmp" 2>"$build/demo-convert.err"; then
  splash_args=(--splash "$demo/splash.bmp")
else
  splash_prop=
  splash_note="no imagemagick convert: Demo.exe runs without a splash"
  echo "demo: $splash_note"
fi

# The splash stays until the application's window is visible, at most
# PROP_SPLASH_TIMEOUT seconds.
wine "$tool" configure "$build/jarstart.exe" -o "$demo/Demo.exe" \
  --set PROP_START_JAR=demo.jar \
  --set PROP_MIN_VERSION=1.8 \
  --set "PROP_VM_PARAMS=-Ddemo.launcher=jarstart" \
  --set "PROP_SPLASH=$splash_prop" \
  --set PROP_SPLASH_TIMEOUT=8 \
  --set PROP_WATCH_APP_WINDOW=yes \
  "${splash_args[@]}"
echo "demo: configured Demo.exe:"
wine "$tool" show "$demo/Demo.exe" >"$build/demo-show.out"
sed 's/^/  /' "$build/demo-show.out"

# The same launcher asking for a runtime no machine has: the start failure.
wine "$tool" configure "$demo/Demo.exe" --keep -o "$demo/NoJava.exe" --set PROP_MIN_VERSION=99
# The same launcher with a runtime whose application dies while starting,
# telling the user why.
wine "$tool" configure "$demo/Demo.exe" --keep -o "$demo/Broken.exe" --set PROP_SPLASH= \
  --set PROP_SHOW_START_ERRORS=yes --set 'PROP_JRE_PATH=broken-runtime\bin\javaw.exe'

# The console launcher for a command-line tool, with its bundled runtime.
wine "$tool" configure "$build/jarstart-console.exe" -o "$demo/Tool.exe" \
  --set PROP_START_JAR=tool.jar \
  --set PROP_MIN_VERSION=1.8 \
  --set 'PROP_JRE_PATH=tool-runtime\bin\java.exe' \
  --set PROP_VM_PARAMS=-Xmx64m \
  --set PROP_SPLASH= \
  --set PROP_KEEP_ALIVE=
echo "demo: configured Tool.exe:"
wine "$tool" show "$demo/Tool.exe" | sed 's/^/  /'

cat > "$demo/README.txt" <<'TXT'
Jarstart demo
Demo.exe is the jarstart launcher configured with "jarstart-tool configure"
to start demo.jar (a small Swing application) with Java 8 or later, showing
splash.bmp until the application's window appears.
NoJava.exe is the same launcher asking for Java 99: it shows the dialog a
user sees when no suitable runtime is installed.
Tool.exe is the console launcher (jarstart-console.exe) configured for a
command-line tool: in a console, "Tool.exe -p args < in.txt > out.txt"
passes its input, output and exit code straight through.
Broken.exe shows why an application ended while it was starting (its
runtime, broken-runtime, is a stand-in that fails on purpose).
On Windows with Java installed, double-click Demo.exe.
To see the launcher's diagnostic log: jarstart-tool trace Demo.exe
The runtime folder holds a stand-in runtime used only for running the demo
under Wine on the build machine; it may be deleted.
TXT

# Prints the X id of a viewable top-level window of the given size, if any.
# Without a window manager on the display a window's frame is the window.
find_window_of_size() {
  local id
  for id in $(xwininfo -root -children 2>/dev/null | awk -v size=" $1+" 'index($0, size) {print $1}'); do
    if xwininfo -id "$id" 2>/dev/null | grep -q 'Map State: IsViewable'; then
      echo "$id"
      return 0
    fi
  done
  return 1
}

# Waits up to $2 seconds for process $1 to end; fails if it still runs.
wait_for_end() {
  for _ in $(seq 1 $(($2 * 10))); do
    kill -0 "$1" 2>/dev/null || return 0
    sleep 0.1
  done
  ! kill -0 "$1" 2>/dev/null
}

# Starts "jarstart-tool trace EXE" in the demo folder, in the background.
# Output goes to files, not pipes: Wine's background services inherit the
# handles and would keep a pipe open long after the program ended.
start_traced() {
  (cd "$demo" && exec wine "$tool" trace "$1") >"$build/demo-$2.out" 2>"$build/demo-$2.err" &
  trace_pid=$!
}

# Ends a run that waits for a user, prints its log and exit code.
finish_run() {
  local name=$1 exe=$2 limit=$3 status=0 ended=""
  if ! wait_for_end "$trace_pid" "$limit"; then
    ended=1
    # Ends every process of the private prefix: only this demo runs in it.
    wineserver -k 2>/dev/null || true
  fi
  wait "$trace_pid" || status=$?
  echo "demo: diagnostic log of $exe ($runtime_note):"
  sed 's/^/  /' "$build/demo-$name.out"
  sed 's/^/  /' "$build/demo-$name.err"
  if [ -n "$ended" ]; then
    echo "demo: $exe still ran after $limit s and was ended by the demo"
  else
    echo "demo: $exe exited with $status"
  fi
  last_status=$status
}

shot() {
  rm -f "$1"
  import -display "$DISPLAY" -window root "$1" 2>/dev/null && echo "$1"
}

# Waits for the traced launcher's window titled $1, keeps a screenshot of it
# as $2 (the $3), and answers it with the key $4, as a user would.
answer_dialog() {
  local title=$1 png=$2 what=$3 key=$4 id=""
  for _ in $(seq 1 $((wait_s * 10))); do
    kill -0 "$trace_pid" 2>/dev/null || break
    id=$(xdotool search --onlyvisible --name "^$title\$" 2>/dev/null | head -1) && [ -n "$id" ] && break
    sleep 0.1
  done
  if [ -z "$id" ]; then
    echo "demo: no $what was seen"
    return
  fi
  sleep 0.3
  local s
  s=$(shot "$demo/$png") && screenshots+=("$s  (the $what)")
  xdotool windowfocus --sync "$id" 2>/dev/null || true
  xdotool key --clearmodifiers "$key" 2>/dev/null || true
  echo "demo: the $what is up; the demo pressed $key"
}

wait_s=${DEMO_WAIT_SECONDS:-20}
screenshots=()

# Run 1: the splash, then the application's window. Wine hands Linux
# environment variables to Windows programs: point JAVA_HOME at the stand-in,
# as a Windows path (Wine's drive Z: is /).
echo "demo: run 1: Demo.exe with the splash ($splash_note)"
export JAVA_HOME="Z:$(printf '%s' "$demo/runtime" | tr / '\\')"
start_traced Demo.exe splash
t0=$(date +%s%N)
splash_id=""
for _ in $(seq 1 $((wait_s * 10))); do
  kill -0 "$trace_pid" 2>/dev/null || break
  splash_id=$(find_window_of_size 400x200) && break
  sleep 0.1
done
if [ -n "$splash_id" ]; then
  echo "demo: the splash is up after $(( ($(date +%s%N) - t0) / 1000000 )) ms"
  # A moment for the picture to be drawn into the mapped window.
  sleep 0.3
  s=$(shot "$demo/splash.png") && screenshots+=("$s  (the splash)")
else
  echo "demo: no splash window was seen"
fi
finish_run splash Demo.exe "$wait_s"
t1=$(date +%s%N)
if [ -n "$splash_id" ] && [ "$last_status" = 0 ]; then
  splash_left=""
  find_window_of_size 400x200 >/dev/null && splash_left=" (but a 400x200 window is still up)"
  if app_id=$(xdotool search --onlyvisible --name '^Jarstart Demo$' 2>/dev/null | head -1) && [ -n "$app_id" ]; then
    echo "demo: the launcher ended $(( (t1 - t0) / 1000000 )) ms after its start, with exit 0: the application's window \"Jarstart Demo\" is visible, the splash is gone$splash_left"
    s=$(shot "$demo/application.png") && screenshots+=("$s  (the application's window, the splash gone)")
  else
    echo "demo: the launcher ended with exit 0 but no application window is visible"
  fi
fi
# The stand-in application lives on a few seconds after the launcher ends;
# the next screenshot is taken without its window.
for _ in $(seq 1 100); do
  xdotool search --onlyvisible --name '^Jarstart Demo$' >/dev/null 2>&1 || break
  sleep 0.1
done

# Run 2: no suitable runtime, so the start failure dialog.
echo "demo: run 2: NoJava.exe, which asks for Java 99"
unset JAVA_HOME
start_traced NoJava.exe failure
# Escape is the user's way out, as the OK button is.
answer_dialog 'Application Cannot Start' failure-dialog.png 'start failure dialog' Escape
finish_run failure NoJava.exe 10

# Run 3: the application dies at start; its error is shown.
echo "demo: run 3: Broken.exe, whose application ends with exit code 1 at once"
start_traced Broken.exe broken
answer_dialog 'Application Error' error-dialog.png 'application error dialog' Return
finish_run broken Broken.exe 10

# Run 4: the command-line tool, as a script would run it.
echo "demo: run 4: Tool.exe -p --input data.csv < tool-in.txt > tool-out.txt 2> tool-err.txt"
printf 'first line of input\r\nsecond line\r\n' >"$demo/tool-in.txt"
tool_status=0
(cd "$demo" && exec wine Tool.exe -p --input data.csv <tool-in.txt >tool-out.txt 2>tool-err.txt) || tool_status=$?
record="$demo/tool-runtime/bin/java.exe.record"
if [ -f "$record" ]; then
  echo "demo: the stand-in application was started as:"
  # The record escapes quotes and backslashes.
  sed -n 's/^commandLine=/  /p' "$record" | sed 's/\\"/"/g; s/\\\\/\\/g'
else
  echo "demo: the stand-in application did not start"
fi
echo "demo: its standard output (tool-out.txt):"
sed 's/^/  /' "$demo/tool-out.txt"
echo "demo: its standard error (tool-err.txt):"
sed 's/^/  /' "$demo/tool-err.txt"
echo "demo: Tool.exe exited with $tool_status, the application's exit code"

echo "demo: screenshots:"
for s in "${screenshots[@]}"; do echo "  $s"; done
echo "demo: the folder is $demo"
