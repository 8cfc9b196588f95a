#!/usr/bin/env bash
# Prints the build folder whose programs can run on this machine: the given
# one (the shipped 32-bit build), or, where this machine cannot execute
# 32-bit programs, its 64-bit twin in <build>/x64 of the same sources, built
# first (its build output goes to standard error).
set -euo pipefail
build=${1:-build}
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
if "$root/tools/scripts/runs-32bit.sh"; then
  echo "$build"
  exit 0
fi
echo "run-build: this machine cannot execute 32-bit programs; running the 64-bit build in $build/x64" >&2
# The shipped launchers cannot run here, but they are still checked: 32-bit
# programs of their subsystem (GUI 2, console 3) that need no DLL beyond the
# system's.
for exe in jarstart.exe:2 jarstart-console.exe:3; do
  file=$build/${exe%%:*}
  dump=$(i686-w64-mingw32-objdump -p "$file") || exit 1
  if ! grep -q 'file format pei-i386' <<<"$dump" || ! grep -qE "^Subsystem[[:space:]]+0+${exe##*:}[[:space:]]" <<<"$dump"; then
    echo "run-build: $file is not a 32-bit program of subsystem ${exe##*:}" >&2
    exit 1
  fi
  for dll in $(awk '/DLL Name:/ { print tolower($3) }' <<<"$dump"); do
    case "$dll" in
      kernel32.dll|user32.dll|gdi32.dll|advapi32.dll|shell32.dll|ole32.dll|oleaut32.dll|comctl32.dll|msvcrt.dll) ;;
      *) echo "run-build: $file imports $dll" >&2; exit 1 ;;
    esac
  done
done
[ -f "$build/x64/Makefile" ] || cmake -S "$root" -B "$build/x64" \
  -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-x86_64.cmake" -DCMAKE_BUILD_TYPE=Release >&2
cmake --build "$build/x64" -j "${JOBS:-2}" >&2
echo "$build/x64"
