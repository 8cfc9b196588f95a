#!/usr/bin/env bash
# Installs the Debian packages given as arguments (name or name:arch), as
# root. Mirrors are sometimes in the middle of a sync: an index that fails to
# download is retried, and then passed over if the packages can be installed
# without it. If the install still fails, apt's own error is printed with the
# command to run again, and the exit code is non-zero.
set -uo pipefail
[ $# -gt 0 ] || exit 0
export DEBIAN_FRONTEND=noninteractive
log=$(mktemp)
trap 'rm -f "$log"' EXIT

if printf '%s\n' "$@" | grep -q ':i386$' && ! dpkg --print-foreign-architectures | grep -qx i386; then
  dpkg --add-architecture i386
fi

for attempt in 1 2 3; do
  apt-get update -qq >"$log" 2>&1 && break
  echo "apt-install: apt-get update reported a failed index (attempt $attempt of 3)" >&2
  [ "$attempt" -lt 3 ] && sleep 10
done

install() { apt-get install -y -qq --no-install-recommends "$@" >>"$log" 2>&1; }
install "$@" && exit 0

# A 32-bit package installs only at the version of its 64-bit twin; when the
# index that lists that version failed its size check (the mirror was
# mid-sync), fetch the index itself and put it where apt keeps its lists.
fetched=0
for url in $(grep -o 'http[^ ]*/Packages\.xz' "$log" | sort -u); do
  list=/var/lib/apt/lists/$(sed -e 's#^[a-z]*://##' -e 's#\.xz$##' -e 's#/#_#g' <<<"$url")
  if curl -fsS "$url" | xz -dc >"$list.tmp" 2>/dev/null && [ -s "$list.tmp" ]; then
    mv "$list.tmp" "$list" && fetched=1
  else
    rm -f "$list.tmp"
  fi
done
[ "$fetched" = 1 ] && install "$@" && exit 0

echo "apt-install: cannot install: $*" >&2
grep -E '^(E|W):|Depends:|Unable' "$log" | head -n 40 >&2
echo "apt-install: run again, as root:  apt-get update && apt-get install -y --no-install-recommends $*" >&2
exit 1
