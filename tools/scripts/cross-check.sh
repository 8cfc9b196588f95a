#!/usr/bin/env bash
# The build machine's jarstart-tool against jarstart-tool.exe under Wine, on
# the same files with the same relative arguments: the same bytes for the
# same configuration (the demo's among them), configuring twice equal to
# once, the same messages and exit codes for bad inputs; and a launcher
# configured natively runs under Wine. Usage: cross-check.sh [build] [native]
set -uo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
build=$(cd "${1:-build}" && pwd)
native=$(cd "$(dirname "${2:-$root/build/native/jarstart-tool}")" && pwd)/jarstart-tool
export JARSTART_BUILD=$build
source "$root/tools/scripts/wine-env.sh"
[ -x "$native" ] || { echo "cross-check: no $native; run make native" >&2; exit 1; }
work=$build/cross-check
rm -rf "$work" && mkdir -p "$work" && cd "$work"
cp "$build/jarstart.exe" launcher.exe
cp "$build/jarstart-tool.exe" tool.exe
# Both machines' launchers of both kinds are configured: make builds the
# 32-bit ones in build/, the 64-bit ones in build/x64/.
case "$build" in
  */x64) x86=$(dirname "$build") x64=$build ;;
  *) x86=$build x64=$build/x64 ;;
esac
inputs=()
for machine in x86 x64; do
  for kind in jarstart jarstart-console; do
    from=${!machine}/$kind.exe
    [ -f "$from" ] || { echo "cross-check: no $from; run make" >&2; exit 1; }
    cp "$from" "$machine-$kind.exe"
    inputs+=("$machine-$kind.exe")
  done
done
source "$root/tools/scripts/configurations.sh"
write_inputs

failures=0
fail() { echo "cross-check: FAIL: $*" >&2; failures=$((failures + 1)); }
# runs both tools; leaves exit codes in wcode/ncode, stderr in w.err/n.err.
both() {
  wine tool.exe "$@" >w.out 2>w.err; wcode=$?
  "$native" "$@" >n.out 2>n.err; ncode=$?
  tr -d '\r' <w.err >w.err.lf && mv w.err.lf w.err
  tr -d '\r' <w.out >w.out.lf && mv w.out.lf w.out
}

for input in "${inputs[@]}"; do
  for options in "${configurations[@]}"; do
    read -r -a args <<<"$options"
    wine tool.exe configure "$input" -o windows.exe "${args[@]}" >/dev/null 2>&1 || fail "windows configure: $input $options"
    start=$(date +%s%N)
    "$native" configure "$input" -o native.exe "${args[@]}" || fail "native configure: $input $options"
    took=$((($(date +%s%N) - start) / 1000000))
    "$native" configure native.exe -o twice.exe "${args[@]}" || fail "native configure twice: $input $options"
    cmp -s windows.exe native.exe || fail "different bytes: $input $options"
    cmp -s native.exe twice.exe || fail "twice differs from once: $input $options"
    both show native.exe
    cmp -s w.out n.out || fail "show differs: $input $options"
    echo "cross-check: same bytes ($(stat -c %s native.exe) bytes, native configure ${took} ms): $input ${options:0:50}"
  done
done

# The id one past the last of the property table, wherever it ends.
past=$(($(sed -n 's/^ *PROP_[A-Z_]* = \([0-9]*\),.*/\1/p' "$root/base/PropertyIds.h" | sort -n | tail -1) + 1))
bad=(
  "configure launcher.exe -o out.exe --set PROP_NOPE=1"
  "configure launcher.exe -o out.exe --set $past=x"
  "configure launcher.exe -o out.exe --keep --set PROP_MAIN_CLASS=com.example.Main"
  "configure launcher.exe -o out.exe --set PROP_MODULE_PATH=mods"
  "configure launcher.exe --set PROP_SPLASH=1"
  "configure missing.exe -o out.exe"
  "configure notes.txt -o out.exe"
  "configure launcher.exe -o out.exe --splash none.gif"
  "configure launcher.exe -o out.exe --icon notes.txt"
  "configure launcher.exe -o out.exe --version 1.2.3.4.5"
  "configure launcher.exe -o no/such/out.exe --set PROP_START_JAR=app.jar"
  "configure launcher.exe -o out.exe --set PROP_START_JAR=app.jar --set PROP_SPLASH=yes"
  "configure launcher.exe -o out.exe --set PROP_START_JAR=app.jar --set PROP_SPLASH=yes --splash app.ico"
  "configure launcher.exe -o out.exe --set PROP_START_JAR=app.jar --set PROP_SPLASH_TIMEOUT=ten --set PROP_MIN_VERSION=eleven"
  "configure launcher.exe -o out.exe --set PROP_START_JAR=app.jar --set PROP_RUNTIME_CHOICE=latest"
  "configure launcher.exe -o out.exe --set PROP_MIN_VERSION=11"
  "configure launcher.exe -o out.exe --set PROP_MINVERSION=11"
  "configure --config missing.launcher launcher.exe -o out.exe"
  "frobnicate launcher.exe"
  "show missing.exe"
  "show notes.txt"
)
# Runs each line with both tools: the exit code given, the same messages;
# with 0 the same output too, with 2 no output file.
same_in_both() {
  local code=$1 line
  shift
  for line in "$@"; do
    read -r -a args <<<"$line"
    both "${args[@]}"
    [ "$wcode" = "$code" ] && [ "$ncode" = "$code" ] || fail "exit codes $wcode/$ncode: $line"
    cmp -s w.err n.err || fail "messages differ: $line: $(cat w.err) | $(cat n.err)"
    if [ "$code" = 0 ]; then
      cmp -s w.out n.out || fail "output differs: $line"
    else
      [ -e out.exe ] && fail "an output was written: $line"
    fi
  done
}
same_in_both 2 "${bad[@]}"
echo "cross-check: ${#bad[@]} bad inputs: same messages, exit code 2 in both"

# Settings written with a warning, and the commands that only print: the
# same lines, exit code 0 in both.
good=(
  "configure launcher.exe -o warned.exe --set PROP_START_JAR=app.jar --set PROP_KEEP_ALIVE=off --splash splash.bmp --set PROP_JRE_PATH=rt\\bin\\javaw.exe"
  "configure launcher.exe -o forced.exe --force --set PROP_SPLASH=yes"
  "properties"
  "--help"
  "configure --help"
  "--version"
)
same_in_both 0 "${good[@]}"

# A configuration file gives the same bytes as the same options.
printf '# the demo\nPROP_START_JAR=demo.jar\nPROP_SPLASH=yes\nsplash=splash.bmp\nicon=app.ico\nversion=1.2.3.4\nproduct=Quill\n' >app.launcher
wine tool.exe configure launcher.exe -o wconfig.exe --config app.launcher >/dev/null 2>&1 || fail "windows --config"
"$native" configure launcher.exe -o nconfig.exe --config app.launcher || fail "native --config"
"$native" configure launcher.exe -o options.exe --set PROP_START_JAR=demo.jar --set PROP_SPLASH=yes --splash splash.bmp \
  --icon app.ico --version 1.2.3.4 --product Quill || fail "native options"
cmp -s wconfig.exe nconfig.exe || fail "--config: different bytes"
cmp -s nconfig.exe options.exe || fail "--config differs from the same options"
echo "cross-check: ${#good[@]} warned or printing commands and a configuration file: the same in both"
"$native" trace launcher.exe 2>/dev/null; [ $? = 2 ] || fail "native trace should exit 2"

# A launcher configured natively runs: the tool stands in for the runtime.
mkdir -p bin && cp tool.exe bin/javaw.exe
"$native" configure launcher.exe -o run.exe --set PROP_START_JAR=app.jar --set 'PROP_JRE_PATH=bin\javaw.exe' \
  --set PROP_KEEP_ALIVE= --set PROP_SPLASH=
wine tool.exe trace run.exe >trace.out 2>trace.err
head -1 trace.out | grep -q '^Launcher executed with command line: ' || fail "the natively configured launcher did not run"

[ $failures = 0 ] && echo "cross-check: all equal" || exit 1
