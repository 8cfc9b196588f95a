#!/usr/bin/env bash
# The Maven example end to end: "mvn -o package" of a copy of
# java/examples/desktop-app (against the plugin installed by make in
# build/m2) writes DesktopApp.jar and DesktopApp.exe; DesktopApp.exe runs
# under Wine with a stand-in runtime and must start the jar with the options
# the example's pom configures, in the launcher's folder.
# Usage: example-check.sh [build] [run-build]  (run-build: the build whose
# stand-in runtime runs here, as tools/scripts/run-build.sh prints it)
set -uo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
build=$(cd "${1:-build}" && pwd)
run=$(cd "${2:-$build}" && pwd)
export JARSTART_BUILD=$build
work=$build/example-check
rm -rf "$work" && mkdir -p "$work"
failures=0
fail() { echo "example-check: FAIL: $*" >&2; failures=$((failures + 1)); }

# A copy, so that the source tree gets no target folder; the settings and
# the local repository the example's .mvn/maven.config names, given here.
cp -r "$root/java/examples/desktop-app" "$work/desktop-app"
rm -rf "$work/desktop-app/.mvn" "$work/desktop-app/target"
(cd "$work/desktop-app" && mvn -q -o -s "$root/java/settings.xml" -Dmaven.repo.local="$build/m2" \
  -Daether.offline.protocols=file package) >"$work/mvn.out" 2>&1 \
  || { cat "$work/mvn.out" >&2; echo "example-check: FAIL: mvn -o package of the example" >&2; exit 1; }
target=$work/desktop-app/target
for f in DesktopApp.jar DesktopApp.exe; do
  [ -f "$target/$f" ] || fail "mvn package wrote no $f"
done
[ $failures = 0 ] || exit 1
echo "example-check: mvn -o package wrote DesktopApp.jar and DesktopApp.exe"

# The stand-in runtime, found through JAVA_HOME, as a Java 17 that records
# how it was started and ends at once.
runtime=$work/runtime
mkdir -p "$runtime/bin"
cp "$run/standin/java.exe" "$run/standin/javaw.exe" "$runtime/bin/" || { echo "example-check: no stand-in runtime in $run/standin" >&2; exit 1; }
printf '%s\n' 'versionText=openjdk version \"17.0.15\" 2025-04-15\nOpenJDK Runtime Environment (build 17.0.15+6)\n' \
  'exitCode=0' >"$runtime/bin/standin.cfg"

source "$root/tools/scripts/session.sh"
session_start >/dev/null || { echo "example-check: cannot start the Wine session" >&2; exit 1; }
trap session_stop EXIT
export JAVA_HOME="Z:$(printf '%s' "$runtime" | tr / '\\')"
(cd "$target" && wine DesktopApp.exe) >"$work/run.out" 2>&1; code=$?
[ "$code" = 0 ] || fail "DesktopApp.exe exited with $code: $(cat "$work/run.out")"
# The launcher does not wait for the application: wait for its record.
record=$runtime/bin/javaw.exe.record
for _ in $(seq 1 300); do
  [ -s "$record" ] && grep -q '^entryTime=' "$record" && break
  sleep 0.1
done
if [ ! -s "$record" ]; then
  fail "DesktopApp.exe started no runtime"
else
  line=$(grep '^commandLine=' "$record")
  echo "example-check: the runtime was started as: ${line#commandLine=}"
  grep -qF -- '-Xmx256m -Ddesktop.app.launcher=jarstart -jar DesktopApp.jar' <<<"$line" \
    || fail "not the configured options and jar: $line"
  grep -q '^currentDir=.*desktop-app\\\\target' "$record" || fail "not started in the launcher's folder: $(grep '^currentDir=' "$record")"
fi
[ $failures = 0 ] && echo "example-check: DesktopApp.exe started DesktopApp.jar with the configured options" || exit 1
