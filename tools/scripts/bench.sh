#!/usr/bin/env bash
# make bench: builds the benchmark program and runs it under Wine in the
# private prefix and display. The table goes to the terminal, the numbers to
# build/bench.json. Extra arguments reach the program (e.g. --runs 40).
set -uo pipefail
build=$(cd "${1:-build}" && pwd)
shift || true
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)

cmake --build "$build" --target jarstart jarstart_bench standin_java standin_javaw -j "${JOBS:-2}" || exit 1

export JARSTART_BUILD=$build
source "$root/tools/scripts/session.sh"
trap session_stop EXIT
session_start || exit 1

# The machine is shared: the numbers mean little without the conditions.
echo "bench: $(date -u '+%Y-%m-%d %H:%M:%S UTC'), $(nproc) cores, load $(cut -d' ' -f1-3 /proc/loadavg), $(wine --version 2>/dev/null)"
if command -v i686-w64-mingw32-objdump >/dev/null; then
  echo "bench: jarstart.exe imports: $(i686-w64-mingw32-objdump -p "$build/jarstart.exe" | awk '/DLL Name/ {print $3}' | tr '\n' ' ')"
fi
echo
wine "$build/bench/bench.exe" "$@"
status=$?
echo "bench: load after the run $(cut -d' ' -f1-3 /proc/loadavg)"
exit $status
