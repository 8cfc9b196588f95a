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

for options in "${configurations[@]}"; do
  read -r -a args <<<"$options"
  wine tool.exe configure launcher.exe -o windows.exe "${args[@]}" >/dev/null 2>&1 || fail "windows configure: $options"
  start=$(date +%s%N)
  "$native" configure launcher.exe -o native.exe "${args[@]}" || fail "native configure: $options"
  took=$((($(date +%s%N) - start) / 1000000))
  "$native" configure native.exe -o twice.exe "${args[@]}" || fail "native configure twice: $options"
  cmp -s windows.exe native.exe || fail "different bytes: $options"
  cmp -s native.exe twice.exe || fail "twice differs from once: $options"
  both show native.exe
  cmp -s w.out n.out || fail "show differs: $options"
  echo "cross-check: same bytes ($(stat -c %s native.exe) bytes, native configure ${took} ms): ${options:0:60}"
done

bad=(
  "configure launcher.exe -o out.exe --set PROP_NOPE=1"
  "configure launcher.exe -o out.exe --set 112=x"
  "configure launcher.exe --set PROP_SPLASH=1"
  "configure missing.exe -o out.exe"
  "configure notes.txt -o out.exe"
  "configure launcher.exe -o out.exe --splash none.gif"
  "configure launcher.exe -o out.exe --icon notes.txt"
  "configure launcher.exe -o out.exe --version 1.2.3.4.5"
  "configure launcher.exe -o no/such/out.exe"
  "frobnicate launcher.exe"
  "show missing.exe"
  "show notes.txt"
)
for line in "${bad[@]}"; do
  read -r -a args <<<"$line"
  both "${args[@]}"
  [ "$wcode" = 2 ] && [ "$ncode" = 2 ] || fail "exit codes $wcode/$ncode: $line"
  cmp -s w.err n.err || fail "messages differ: $line: $(cat w.err) | $(cat n.err)"
  [ -e out.exe ] && fail "an output was written: $line"
done
echo "cross-check: ${#bad[@]} bad inputs: same messages, exit code 2 in both"
"$native" trace launcher.exe 2>/dev/null; [ $? = 2 ] || fail "native trace should exit 2"

# A launcher configured natively runs: the tool stands in for the runtime.
mkdir -p bin && cp tool.exe bin/javaw.exe
"$native" configure launcher.exe -o run.exe --set PROP_START_JAR=app.jar --set 'PROP_JRE_PATH=bin\javaw.exe' \
  --set PROP_KEEP_ALIVE= --set PROP_SPLASH=
wine tool.exe trace run.exe >trace.out 2>trace.err
head -1 trace.out | grep -q '^Launcher executed with command line: ' || fail "the natively configured launcher did not run"

[ $failures = 0 ] && echo "cross-check: all equal" || exit 1
