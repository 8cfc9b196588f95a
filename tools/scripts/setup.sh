#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need. Idempotent: when
# everything is present it only checks, which takes well under a second.
set -euo pipefail
here=$(dirname "$0")

packages=(
  cmake make g++-mingw-w64-i686-posix binutils-mingw-w64-i686 mingw-w64-i686-dev
  g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 mingw-w64-x86-64-dev
  googletest wine wine32:i386 wine64 xvfb xdotool imagemagick x11-utils
  # The Java part: Maven and, as its offline repository, Debian's own
  # (/usr/share/maven-repo) with the plugins java/ pins.
  maven libmaven-plugin-tools-java libmaven-compiler-plugin-java libmaven-resources-plugin-java
  libmaven-jar-plugin-java libmaven-install-plugin-java libsurefire-java
)

# Prints the packages of the arguments that are not installed. Compared as
# plain text, since package names hold regex characters ("g++").
missing_of() {
  local installed p
  installed=$(dpkg-query -W -f='${Package}:${Architecture} ${db:Status-Status}\n' 2>/dev/null \
    | awk '$2 == "installed" { print $1 }')
  for p in "$@"; do
    case "$p" in
      *:*) grep -qxF "$p" <<<"$installed" || echo "$p" ;;
      *)   grep -qE "^$(sed 's/[+.]/\\&/g' <<<"$p"):[a-z0-9]+$" <<<"$installed" || echo "$p" ;;
    esac
  done
}

ensure() {
  local missing
  mapfile -t missing < <(missing_of "$@")
  [ ${#missing[@]} -eq 0 ] && return 0
  if [ "$(id -u)" != 0 ]; then
    echo "setup: missing packages: ${missing[*]}" >&2
    echo "setup: run as root:  dpkg --add-architecture i386 && apt-get update && apt-get install -y ${missing[*]}" >&2
    exit 1
  fi
  echo "setup: installing ${missing[*]}"
  "$here/apt-install.sh" "${missing[@]}" || exit 1
  echo "setup: done"
}

ensure "${packages[@]}"
exit 0
