#!/usr/bin/env bash
# Checks the shipped launchers of one build without running them: each is a
# program of its machine (PE32 i386 in build/, PE32+ x86-64 in build/x64/)
# and subsystem (GUI 2, console 3) that imports only DLLs every Windows has.
# Usage: check-launchers.sh <build> <x86|x64>
set -euo pipefail
build=$1
machine=$2
case "$machine" in
  x86) format=pei-i386 objdump=i686-w64-mingw32-objdump ;;
  x64) format=pei-x86-64 objdump=x86_64-w64-mingw32-objdump ;;
  *) echo "check-launchers: unknown machine $machine" >&2; exit 2 ;;
esac
for exe in jarstart.exe:2 jarstart-console.exe:3; do
  file=$build/${exe%%:*}
  subsystem=${exe##*:}
  dump=$("$objdump" -p "$file") || { echo "check-launchers: cannot read $file" >&2; exit 1; }
  if ! grep -q "file format $format" <<<"$dump" || ! grep -qE "^Subsystem[[:space:]]+0+${subsystem}[[:space:]]" <<<"$dump"; then
    echo "check-launchers: $file is not a $machine program of subsystem $subsystem" >&2
    exit 1
  fi
  for dll in $(awk '/DLL Name:/ { print tolower($3) }' <<<"$dump"); do
    case "$dll" in
      kernel32.dll|user32.dll|gdi32.dll|advapi32.dll|shell32.dll|ole32.dll|oleaut32.dll|comctl32.dll|msvcrt.dll) ;;
      *) echo "check-launchers: $file imports $dll" >&2; exit 1 ;;
    esac
  done
  echo "check-launchers: $file: $format, subsystem $subsystem, imports $(awk '/DLL Name:/ { printf "%s ", tolower($3) }' <<<"$dump")"
done
