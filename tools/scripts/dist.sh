#!/usr/bin/env bash
# Packs a release: build/dist/jarstart-<version>.tar.gz (the version from
# the VERSION file) with the launchers of both machines (x86/ and x64/:
# jarstart.exe and jarstart-console.exe each), jarstart-tool.exe, the build
# machine's jarstart-tool, the vendors' README.md (docs/VENDOR.md),
# docs/TOOL.md, LICENSE, maven/ (the Java configure library and the Maven
# plugin with their POMs, a Maven repository to copy or point a build at)
# and SHA256SUMS. The archive is reproducible: sorted
# names, no owners, the last commit's time on every file, and gzip without a
# time stamp.
set -euo pipefail
cd "$(dirname "$0")/../.."
build=${1:-build}
version=${2:-$(tr -d ' \r\n' <VERSION)}
name=jarstart-$version
stage=$build/dist/$name

for f in "$build/jarstart.exe" "$build/jarstart-console.exe" "$build/x64/jarstart.exe" \
  "$build/x64/jarstart-console.exe" "$build/jarstart-tool.exe" "$build/native/jarstart-tool"; do
  [ -f "$f" ] || { echo "dist: $f is missing; run make first" >&2; exit 1; }
done
rm -rf "$stage" "$build/dist/$name.tar.gz"
mkdir -p "$stage/x86" "$stage/x64"
cp "$build/jarstart.exe" "$build/jarstart-console.exe" "$stage/x86/"
cp "$build/x64/jarstart.exe" "$build/x64/jarstart-console.exe" "$stage/x64/"
cp "$build/jarstart-tool.exe" "$stage/"
cp "$build/native/jarstart-tool" "$stage/jarstart-tool"
strip "$stage/jarstart-tool" 2>/dev/null || true
# What a vendor needs: how to ship, configure and sign; the tool's manual;
# the licence. Building jarstart itself is no part of a release.
cp docs/VENDOR.md "$stage/README.md"
mkdir -p "$stage/docs" && cp docs/TOOL.md "$stage/docs/"
cp LICENSE "$stage/"
# From the local repository make installs them in: the artifacts and POMs,
# without the installer's own bookkeeping.
[ -d "$build/m2/org/jarstart" ] || { echo "dist: $build/m2/org/jarstart is missing; run make first" >&2; exit 1; }
maven=$(pwd)/$stage/maven
(cd "$build/m2" && find org/jarstart -type f \( -name '*.jar' -o -name '*.pom' \) | while read -r f; do
  mkdir -p "$maven/$(dirname "$f")" && cp "$f" "$maven/$f"
done)
(cd "$stage" && find . -type f ! -name SHA256SUMS | sed 's|^\./||' | LC_ALL=C sort | xargs sha256sum >SHA256SUMS)

stamp=$(git log -1 --format=%ct 2>/dev/null || echo 0)
tar --sort=name --mtime="@$stamp" --owner=0 --group=0 --numeric-owner --mode=u+rw,go+r,go-w \
  -C "$build/dist" -cf - "$name" | gzip -9n >"$build/dist/$name.tar.gz"
echo "dist: $build/dist/$name.tar.gz"
(cd "$stage" && cat SHA256SUMS)
