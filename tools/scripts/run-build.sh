#!/usr/bin/env bash
# Prints the build folder whose programs the demo and the benchmark run on
# this machine: the given one (the 32-bit build), or, where this machine
# cannot execute 32-bit programs, the 64-bit build in <build>/x64. make
# builds both.
set -euo pipefail
build=${1:-build}
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
if "$root/tools/scripts/runs-32bit.sh"; then
  echo "$build"
else
  echo "run-build: this machine cannot execute 32-bit programs; running the 64-bit build in $build/x64" >&2
  echo "$build/x64"
fi
