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
make -C "$root" --no-print-directory BUILD="$build/x64" TOOLCHAIN=x86_64 build >&2
echo "$build/x64"
