#!/usr/bin/env bash
# Exits 0 when this machine can execute 32-bit x86 programs. Some kernels and
# virtual machines have no IA-32 emulation: there Wine has only its 64-bit
# half, and the tests run a 64-bit build of the same sources instead.
[ -x /lib/ld-linux.so.2 ] && /lib/ld-linux.so.2 --version >/dev/null 2>&1
