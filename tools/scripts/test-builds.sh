#!/usr/bin/env bash
# make test after the native tests: the suite of every build this machine can
# run, the 32-bit one in <build> and the 64-bit one in <build>/x64, each with
# the cross-check of its companion tool. The launchers of every build are
# checked without running them first. Says which builds ran, which could not
# and why; fails when any build that ran failed.
# Usage: test-builds.sh <build> <native jarstart-tool>
set -uo pipefail
build=${1:-build}
native=${2:-$build/native/jarstart-tool}
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)

ran=() skipped=() failed=()
passed_programs=0 failed_programs=0
for entry in "x86:32-bit:$build" "x64:64-bit:$build/x64"; do
  IFS=: read -r machine label dir <<<"$entry"
  "$here/check-launchers.sh" "$dir" "$machine" || { failed+=("$label launchers"); continue; }
  if [ "$machine" = x86 ] && ! "$here/runs-32bit.sh"; then
    skipped+=("the $label suite ($dir): this machine cannot execute 32-bit programs (no IA-32 support in its kernel)")
    continue
  fi
  echo "test: the $label suite ($dir)"
  log=$(mktemp)
  ok=1
  "$here/cross-check.sh" "$dir" "$native" || { ok=0; failed+=("the $label cross-check"); }
  "$here/run-tests.sh" "$dir" | tee "$log" || { ok=0; failed+=("the $label suite"); }
  if [ $ok = 1 ]; then ran+=("$label"); else ran+=("$label (failed)"); fi
  # ctest's own count: "90% tests passed, 1 tests failed out of 10".
  counts=$(sed -nE 's/^[0-9]+% tests passed, ([0-9]+) tests? failed out of ([0-9]+)$/\1 \2/p' "$log" | tail -1)
  if [ -n "$counts" ]; then
    read -r bad all <<<"$counts"
    passed_programs=$((passed_programs + all - bad))
    failed_programs=$((failed_programs + bad))
  else
    failed_programs=$((failed_programs + 1))
  fi
  rm -f "$log"
done

echo "test: suites run: ${ran[*]:-none}"
for line in "${skipped[@]}"; do echo "test: not run: $line"; done
for line in "${failed[@]}"; do echo "test: FAILED: $line"; done
echo "test programs: $passed_programs passed, $failed_programs failed"
[ ${#failed[@]} = 0 ] && [ ${#ran[@]} -gt 0 ]
