#!/usr/bin/env bash
# Builds the native sanitizer fuzzers of the launcher's pure text logic into
# build/fuzz/ and runs each for FUZZ_SECONDS (default 60) from its seed corpus
# in tests/fuzz/corpus/<target>/. Leaves the cross build in build/ alone.
# Exits non-zero when a fuzzer finds a fault; the input that caused it is in
# build/fuzz/crashes/<target>/.
set -euo pipefail
cd "$(dirname "$0")/../.."

seconds=${FUZZ_SECONDS:-60}
out=build/fuzz
only=${1:-}

# Debian's clang with its libFuzzer and sanitizer runtimes, and the 32-bit C
# and C++ libraries: the fuzzers are built for i386, so that long, size_t and
# pointers have the widths they have in the launcher and the tool.
# Where this machine cannot execute 32-bit programs they are built for x86-64.
if tools/scripts/runs-32bit.sh; then
  arch=(-m32)
  packages=(clang-14 libclang-rt-14-dev libc6-dev-i386 lib32stdc++-12-dev lib32gcc-12-dev linux-libc-dev:i386)
else
  arch=()
  packages=(clang-14 libclang-rt-14-dev)
fi
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${db:Status-Status}\n' "$p" 2>/dev/null | grep -qx installed || missing+=("$p")
done
if [ ${#missing[@]} -ne 0 ]; then
  if [ "$(id -u)" != 0 ]; then
    echo "fuzz: missing packages: ${missing[*]}; run as root: apt-get install -y ${missing[*]}" >&2
    exit 1
  fi
  echo "fuzz: installing ${missing[*]}"
  tools/scripts/apt-install.sh "${missing[@]}" || exit 1
fi
cxx=clang++-14

# target name, its source in tests/fuzz/targets/, the product sources it
# exercises, and the longest input it is given.
targets=(
  "launcher_options LauncherOptionsFuzz.cpp launcher/LauncherOptions.cpp,framework/Text.cpp,framework/Memory.cpp 4096"
  "vm_options VmOptionsFuzz.cpp launcher/VmOptions.cpp,base/DiagnosticLog.cpp,framework/CString.cpp,framework/Text.cpp,framework/Memory.cpp 12000"
  "version VersionFuzz.cpp runtime/Version.cpp,framework/CString.cpp,framework/Text.cpp,framework/Memory.cpp 4096"
  "properties PropertiesFuzz.cpp base/LauncherProperties.cpp,framework/CString.cpp,framework/Text.cpp,framework/Memory.cpp 33000"
  "dialog_template DialogTemplateFuzz.cpp framework/DialogTemplate.cpp 8192"
  "pe_image PeImageFuzz.cpp tools/jarstart-tool/PeImage.cpp,tools/jarstart-tool/ResourceWriter.cpp 65536"
  "string_block StringBlockFuzz.cpp tools/jarstart-tool/StringBlock.cpp 8192"
  "bitmap_file BitmapFileFuzz.cpp ui/BitmapFile.cpp 65536"
  "show_text ShowTextFuzz.cpp tools/jarstart-tool/VersionInfo.cpp,tools/jarstart-tool/IconFile.cpp,tools/jarstart-tool/ConfigureChecks.cpp,tools/jarstart-tool/ConfigFile.cpp,tools/jarstart-tool/PropertyNames.cpp,tools/jarstart-tool/ToolArgs.cpp,tools/jarstart-tool/Utf8Text.cpp,tools/jarstart-tool/StartProperties.cpp 16384"
)

flags=("${arch[@]}" -std=c++17 -g -O1 -fno-omit-frame-pointer
       -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=all
       -D_GLIBCXX_ASSERTIONS -Wall -Wno-unused-function
       -I tests/fuzz/shim -I .)

mkdir -p "$out"
failed=()
printf '%-18s %10s %8s %8s %8s %s\n' target runs exec/s seconds corpus result
for entry in "${targets[@]}"; do
  read -r name main sources maxLen <<<"$entry"
  [ -n "$only" ] && [ "$only" != "$name" ] && continue
  IFS=, read -r -a productSources <<<"$sources"
  inputs=("tests/fuzz/targets/$main" "${productSources[@]}")
  binary=$out/$name
  # Rebuilt when any of its sources, their headers, the shim or this script
  # is newer.
  rebuild=0
  [ -x "$binary" ] || rebuild=1
  for f in "${inputs[@]}" "${productSources[@]/%.cpp/.h}" tests/fuzz/shim/* "$0"; do
    [ -e "$f" ] && [ "$f" -nt "$binary" ] && rebuild=1
  done
  if [ $rebuild = 1 ]; then
    "$cxx" "${flags[@]}" "${inputs[@]}" -o "$binary"
  fi

  seeds=tests/fuzz/corpus/$name
  work=$out/corpus/$name
  crashes=$out/crashes/$name
  mkdir -p "$work" "$crashes"
  log=$out/$name.log
  status=0
  "$binary" "$work" "$seeds" -max_total_time="$seconds" -max_len="$maxLen" -timeout=10 \
    -rss_limit_mb=2048 -artifact_prefix="$crashes/" -print_final_stats=1 >"$log" 2>&1 || status=$?
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
  took=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log" | tail -1)
  size=$(ls "$work" | wc -l)
  if [ $status -eq 0 ]; then
    result=clean
  else
    result="FAULT (see $log, input in $crashes/)"
    failed+=("$name")
  fi
  printf '%-18s %10s %8s %8s %8s %s\n' "$name" "${runs:-?}" "${took:-?}" "$seconds" "$size" "$result"
done

if [ ${#failed[@]} -ne 0 ]; then
  echo "fuzz: faults in: ${failed[*]}" >&2
  for name in "${failed[@]}"; do
    grep -m1 -A12 "ERROR\|SUMMARY\|deadly signal\|runtime error" "$out/$name.log" >&2 || true
  done
  exit 1
fi
echo "fuzz: all targets run were clean"
