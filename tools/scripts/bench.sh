#!/usr/bin/env bash
# make bench: builds the benchmark program and runs it under Wine in the
# private prefix and display. The table goes to the terminal, the numbers to
# build/bench.json. Extra arguments reach the program (e.g. --runs 40).
set -uo pipefail
build=$(cd "${1:-build}" && pwd)
shift || true
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)

cmake --build "$build" --target jarstart jarstart_console jarstart_bench standin_java standin_javaw -j "${JOBS:-2}" || exit 1

export JARSTART_BUILD=$build
source "$root/tools/scripts/session.sh"
trap session_stop EXIT
session_start || exit 1

# The machine is shared: the numbers mean little without the conditions.
echo "bench: $(date -u '+%Y-%m-%d %H:%M:%S UTC'), $(nproc) cores, load $(cut -d' ' -f1-3 /proc/loadavg), $(wine --version 2>/dev/null)"
# The objdump of the build's machine: the other one does not read the file.
for objdump in i686-w64-mingw32-objdump x86_64-w64-mingw32-objdump; do
  command -v "$objdump" >/dev/null && "$objdump" -p "$build/jarstart.exe" >/dev/null 2>&1 || continue
  echo "bench: jarstart.exe imports: $("$objdump" -p "$build/jarstart.exe" | awk '/DLL Name/ {print $3}' | tr '\n' ' ')"
  break
done
echo
wine "$build/bench/bench.exe" "$@"
status=$?

# The work of one start: Wine traces the launcher process alone (its
# environment sets WINEDEBUG) to the standard error of bench.exe, here a file;
# the lines are counted by the launcher's process id.
trace="$build/tmp/bench-trace.txt"
work="$build/tmp/bench-work.txt"
wine "$build/bench/bench.exe" --work "$@" >"$work" 2>"$trace" || status=1
count() { grep -c "^$1:[0-9a-f]*:trace:$2" "$trace"; }
# processes, paths, keys of one process id
counts() {
  echo "$(count "$1" 'process:CreateProcessInternalW app ') $(count "$1" 'file:nt_to_unix_file_name')" \
    "$(count "$1" 'reg:NtOpenKeyEx (')"
}
echo
echo "Work of one start, from Wine's traces: processes started, paths looked up, registry keys opened"
echo
printf '%-12s %10s %7s %6s | %19s %7s %6s\n' scenario processes paths keys "compared: processes" paths keys
works=()
while read -r _ scenario pid compared; do
  if [ "$pid" = 0000 ]; then echo "$scenario: the traced start failed"; status=1; continue; fi
  read -r p f k <<<"$(counts "$pid")"
  line=$(printf '%-12s %10s %7s %6s |' "$scenario" "$p" "$f" "$k")
  entry="{\"scenario\": \"$scenario\", \"processes\": $p, \"pathLookups\": $f, \"keyOpens\": $k"
  if [ "$compared" != 0000 ]; then
    read -r p f k <<<"$(counts "$compared")"
    line+=$(printf ' %19s %7s %6s' "$p" "$f" "$k")
    entry+=", \"compared\": {\"processes\": $p, \"pathLookups\": $f, \"keyOpens\": $k}"
  fi
  echo "$line"
  works+=("$entry}")
done < <(tr -d '\r' <"$work")
(IFS=,; echo "[${works[*]}]") >"$build/bench-work.json"
echo "bench: load after the run $(cut -d' ' -f1-3 /proc/loadavg)"
exit $status
