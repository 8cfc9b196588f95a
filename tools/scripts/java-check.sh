#!/usr/bin/env bash
# The Java configure library (java -jar jarstart-configure.jar configure)
# against the build machine's jarstart-tool, on the same files with the same
# arguments: the same bytes for every configuration of the cross-check on
# all four launchers (32- and 64-bit, GUI and console), from a signed input
# too, configuring a configured copy again with --keep; the same messages and
# exit code 2 for bad inputs, and nothing written for them.
# Usage: java-check.sh [build] [native]
set -uo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
build=$(cd "${1:-build}" && pwd)
native=$(cd "$(dirname "${2:-$root/build/native/jarstart-tool}")" && pwd)/jarstart-tool
jar=$(ls "$build"/java/jarstart-configure/jarstart-configure-*.jar 2>/dev/null | grep -v -e sources -e javadoc | head -1)
[ -x "$native" ] || { echo "java-check: no $native; run make native" >&2; exit 1; }
[ -n "$jar" ] || { echo "java-check: no jarstart-configure jar; run make" >&2; exit 1; }
# The arguments reach Java as UTF-8 whatever the caller's locale.
export LANG=C.UTF-8; unset LC_ALL
work=$build/java-check
rm -rf "$work" && mkdir -p "$work" && cd "$work"
source "$root/tools/scripts/configurations.sh"
write_inputs

failures=0
fail() { echo "java-check: FAIL: $*" >&2; failures=$((failures + 1)); }
configure_java() { java -jar "$jar" configure "$@"; }

# A copy of $1 as a signed file would be: 16 bytes after the sections, named
# by the security directory (a file offset and a size).
make_signed() {
  local pe magic dirs size
  cp "$1" "$2"
  pe=$(od -An -tu4 -j60 -N4 "$2" | tr -d ' ')
  magic=$(od -An -tu2 -j$((pe + 24)) -N2 "$2" | tr -d ' ')
  dirs=$((pe + 24 + (magic == 267 ? 96 : 112)))
  size=$(stat -c %s "$2")
  printf 'not a signature!' >>"$2"
  le32() { printf "\\x$(printf %02x $(($1 & 255)))\\x$(printf %02x $((($1 >> 8) & 255)))\\x$(printf %02x $((($1 >> 16) & 255)))\\x$(printf %02x $((($1 >> 24) & 255)))"; }
  { le32 "$size"; le32 16; } | dd of="$2" bs=1 seek=$((dirs + 32)) conv=notrunc status=none
}

launchers=("$build/jarstart.exe" "$build/jarstart-console.exe" "$build/x64/jarstart.exe" "$build/x64/jarstart-console.exe")
compared=0
for launcher in "${launchers[@]}"; do
  [ -f "$launcher" ] || { fail "no $launcher"; continue; }
  name=${launcher#$build/}
  cp "$launcher" launcher.exe
  make_signed launcher.exe signed.exe
  for options in "${configurations[@]}"; do
    read -r -a args <<<"$options"
    for input in launcher.exe signed.exe; do
      "$native" configure "$input" -o native.exe "${args[@]}" 2>n.err || fail "native configure $name: $options"
      configure_java "$input" -o java.exe "${args[@]}" 2>j.err || fail "java configure $name: $options: $(cat j.err)"
      cmp -s native.exe java.exe || fail "different bytes ($name, $input): $options"
      # The tool's configure-time warnings (a bundled runtime not beside the
      # output, a boolean set to "no") are not the library's yet.
      [ "$(grep -v '^jarstart-tool: warning: ' n.err | sed 's/^[a-z-]*: //; s/native\.exe/OUT/')" = "$(sed 's/^[a-z-]*: //; s/java\.exe/OUT/' j.err)" ] || fail "different notes ($name, $input): $(cat n.err) | $(cat j.err)"
      [ "$input" = launcher.exe ] || [ -s j.err ] || fail "no note on a signed input ($name)"
      compared=$((compared + 1))
    done
    "$native" configure native.exe --keep -o native-again.exe --set PROP_MIN_VERSION=17 || fail "native --keep $name"
    configure_java java.exe --keep -o java-again.exe --set PROP_MIN_VERSION=17 || fail "java --keep $name"
    cmp -s native-again.exe java-again.exe || fail "different bytes after --keep ($name): $options"
    compared=$((compared + 1))
  done
  echo "java-check: same bytes as jarstart-tool: $name"
done

bad=(
  "launcher.exe -o out.exe --set PROP_NOPE=1"
  "launcher.exe -o out.exe --set 95=x"
  "launcher.exe --set PROP_SPLASH=1"
  "missing.exe -o out.exe"
  "notes.txt -o out.exe"
  "launcher.exe -o out.exe --splash none.gif"
  "launcher.exe -o out.exe --set PROP_START_JAR=app.jar --icon notes.txt"
  "launcher.exe -o out.exe --version 1.2.3.4.5"
  "launcher.exe -o out.exe --version 1.65536"
  "launcher.exe -o no/such/out.exe --set PROP_START_JAR=app.jar"
  "launcher.exe -o out.exe --set PROP_VM_PARAMS"
)
for line in "${bad[@]}"; do
  read -r -a args <<<"$line"
  rm -f out.exe
  "$native" configure "${args[@]}" >/dev/null 2>n.err; ncode=$?
  configure_java "${args[@]}" >/dev/null 2>j.err; jcode=$?
  [ "$ncode" = 2 ] && [ "$jcode" = 2 ] || fail "exit codes $ncode/$jcode: $line"
  [ "$(sed 's/^[a-z-]*: //' n.err)" = "$(sed 's/^[a-z-]*: //' j.err)" ] || fail "messages differ: $line: $(cat n.err) | $(cat j.err)"
  [ -e out.exe ] && fail "an output was written: $line"
done
echo "java-check: ${#bad[@]} bad inputs: same messages, exit code 2 in both"
# Only the library refuses a splash the launcher cannot show.
configure_java launcher.exe -o out.exe --splash notes.txt 2>j.err; jcode=$?
[ "$jcode" = 2 ] && grep -q 'no BMP, GIF or JPEG' j.err && [ ! -e out.exe ] || fail "a splash that is no image was taken"

[ $failures = 0 ] && echo "java-check: all equal ($compared launchers compared)" || exit 1
