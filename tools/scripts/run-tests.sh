#!/usr/bin/env bash
# Runs the whole test suite headless: a private Wine prefix under build/, one
# wineserver kept alive for the run (each test process then starts in
# milliseconds instead of seconds), and a private Xvfb display.
set -uo pipefail
build=$(cd "${1:-build}" && pwd)
export JARSTART_BUILD=$build
source "$(dirname "${BASH_SOURCE[0]}")/session.sh"
# Set before starting, so a half-started session is stopped too.
trap session_stop EXIT
session_start || exit 1
# Each test waits for the state it asserts on, so a failure is a failure:
# no test program is run twice.
cd "$build" && ctest --output-on-failure --timeout 900 -j "${CTEST_JOBS:-1}" ${CTEST_ARGS:-}
