#!/usr/bin/env bash
# Runs a Windows program in the project's private Wine prefix (the ctest emulator).
# The program's output goes through a file, not straight to ctest's pipe:
# Wine starts helper processes on demand (the desktop window process, COM and
# device services), they inherit the output handles of the program that
# caused them and live as long as the wineserver. Holding ctest's pipe, they
# would make ctest wait for the end of the output until its timeout.
source "$(dirname "${BASH_SOURCE[0]}")/wine-env.sh"
mkdir -p "$JARSTART_BUILD/tmp"
out=$(mktemp "$JARSTART_BUILD/tmp/wine-run.XXXXXX")
wine "$@" </dev/null >"$out" 2>&1
rc=$?
cat "$out"
rm -f "$out"
exit $rc
