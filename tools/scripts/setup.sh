#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need. Idempotent: when
# everything is present it only checks, which takes well under a second.
set -euo pipefail

packages=(
  cmake make g++-mingw-w64-i686-posix binutils-mingw-w64-i686 mingw-w64-i686-dev
  googletest wine wine32:i386 wine64 xvfb xdotool imagemagick x11-utils
)

missing=()
# One line per installed package: "name:arch". Compared as plain text, since
# package names hold regex characters ("g++").
installed=$(dpkg-query -W -f='${Package}:${Architecture} ${db:Status-Status}\n' 2>/dev/null \
  | awk '$2 == "installed" { print $1 }')
for p in "${packages[@]}"; do
  case "$p" in
    *:*) grep -qxF "$p" <<<"$installed" || missing+=("$p") ;;
    *)   grep -qE "^$(sed 's/[+.]/\\&/g' <<<"$p"):[a-z0-9]+$" <<<"$installed" || missing+=("$p") ;;
  esac
done

[ ${#missing[@]} -eq 0 ] && exit 0

if [ "$(id -u)" != 0 ]; then
  echo "setup: missing packages: ${missing[*]}" >&2
  echo "setup: run as root:  dpkg --add-architecture i386 && apt-get update && apt-get install -y ${missing[*]}" >&2
  exit 1
fi

echo "setup: installing ${missing[*]}"
if ! dpkg --print-foreign-architectures | grep -qx i386; then
  dpkg --add-architecture i386
fi
export DEBIAN_FRONTEND=noninteractive
apt-get update -qq
apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
echo "setup: done"
