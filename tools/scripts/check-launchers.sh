#!/usr/bin/env bash
# Checks the shipped launchers of one build without running them: each is a
# program of its machine (PE32 i386 in build/, PE32+ x86-64 in build/x64/)
# and subsystem (GUI 2, console 3) that imports only DLLs every Windows has,
# at most 128 KB (131072 bytes), and imports neither the libraries only the
# splash and the dialogs use (loaded on first use) nor, in the console
# launcher, anything of the splash or the dialogs.
# Usage: check-launchers.sh <build> <x86|x64>
set -euo pipefail
build=$1
machine=$2
case "$machine" in
  x86) format=pei-i386 objdump=i686-w64-mingw32-objdump ;;
  x64) format=pei-x86-64 objdump=x86_64-w64-mingw32-objdump ;;
  *) echo "check-launchers: unknown machine $machine" >&2; exit 2 ;;
esac
limit=131072
for exe in jarstart.exe:2 jarstart-console.exe:3; do
  file=$build/${exe%%:*}
  subsystem=${exe##*:}
  dump=$("$objdump" -p "$file") || { echo "check-launchers: cannot read $file" >&2; exit 1; }
  if ! grep -q "file format $format" <<<"$dump" || ! grep -qE "^Subsystem[[:space:]]+0+${subsystem}[[:space:]]" <<<"$dump"; then
    echo "check-launchers: $file is not a $machine program of subsystem $subsystem" >&2
    exit 1
  fi
  bytes=$(stat -c %s "$file")
  if [ "$bytes" -gt "$limit" ]; then
    echo "check-launchers: $file has $bytes bytes, more than $limit" >&2
    exit 1
  fi
  for dll in $(awk '/DLL Name:/ { print tolower($3) }' <<<"$dump"); do
    case "$dll" in
      kernel32.dll|user32.dll|gdi32.dll|advapi32.dll|msvcrt.dll) ;;
      *) echo "check-launchers: $file imports $dll" >&2; exit 1 ;;
    esac
  done
  # The console launcher shows neither the splash nor a dialog: the texts
  # and names only their code holds must not be in it.
  if [ "$subsystem" = 3 ]; then
    for mark in "Cannot load splash screen" OleLoadPicture RichEdit20A; do
      if grep -aq "$mark" "$file"; then
        echo "check-launchers: $file carries splash or dialog code ($mark)" >&2
        exit 1
      fi
    done
  fi
  echo "check-launchers: $file: $format, subsystem $subsystem, $bytes bytes, imports $(awk '/DLL Name:/ { printf "%s ", tolower($3) }' <<<"$dump")"
done
