#!/usr/bin/env bash
# Runs a Windows program in the project's private Wine prefix (the ctest emulator).
source "$(dirname "${BASH_SOURCE[0]}")/wine-env.sh"
exec wine "$@"
