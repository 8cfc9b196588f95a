#!/usr/bin/env bash
# Runs a Windows program in the project's private Wine prefix (the ctest emulator).
# The program's output goes through a file, not straight to ctest's pipe:
# Wine starts helper processes on demand (the desktop window process, COM and
# device services), they inherit the output handles of the program that
# caused them and live as long as the wineserver. Holding ctest's pipe, they
# would make ctest wait for the end of the output until its timeout.
# The file stays (build/tmp/<program>.out), so the output of a program that
# hung and was killed can still be read.
source "$(dirname "${BASH_SOURCE[0]}")/wine-env.sh"
mkdir -p "$JARSTART_BUILD/tmp"
out="$JARSTART_BUILD/tmp/$(basename "$1" .exe).out"
: >"$out"
wine "$@" </dev/null >"$out" 2>&1 &
pid=$!
trap 'kill $pid 2>/dev/null; cat "$out"; echo "wine-run: stopped; output kept in $out"; exit 143' TERM INT HUP
wait $pid
rc=$?
cat "$out"
exit $rc
