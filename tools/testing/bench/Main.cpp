// make bench: what the launcher costs between CreateProcess and the
// application's first statement, compared with starting the runtime
// directly; what a version probe costs; how big the launcher is.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "base/PropertyIds.h"
#include "runtime/VersionProbe.h"
#include "tests/support/FakeRuntime.h"
#include "tests/support/Paths.h"
#include "tests/support/Registry.h"
#include "tests/support/SplashBmp.h"
#include "tools/testing/bench/InProcessBench.h"
#include "tools/testing/bench/Report.h"
#include "tools/testing/bench/StartTiming.h"
#include "tools/testing/bench/WorkCount.h"
#include "tools/testing/common/FileUtil.h"
#include "tools/jarstart-tool/Configure.h"

namespace {

const int kWarmUpPairs = 2;
// Back-to-back starts overlap the previous processes' teardown on a small
// machine and scatter the numbers.
const int kPauseMs = 300;
const int kMemoryRuns = 5;
const char kRuntimeKey[] = "SOFTWARE\\JavaSoft\\Java Runtime Environment";
const char kCurrentVersion[] = "1.6";
const char kOldVersion[] = "1.2";

struct Scenario {
    std::string key;
    std::string description;
    int probes;
    std::string folder;        // of the configured copies
    std::string jrePath;       // PROP_JRE_PATH
    std::string runtimeHome;   // whose javaw.exe the launcher starts
    std::function<void()> prepare;  // registry and environment
    std::string launcher;      // configured copy of the launcher measured
    std::string compared;      // of the --compare launcher, when given
    std::map<int, std::string> window;  // the properties that open a window, if any
};

void ClearRegistry() {
    for (HKEY hive : {HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER}) RegDeleteTreeA(hive, "SOFTWARE\\JavaSoft");
}

void RegisterCurrentVersion(HKEY hive, const std::string& version, const std::string& home) {
    WriteRegString(hive, kRuntimeKey, "CurrentVersion", version);
    WriteRegString(hive, std::string(kRuntimeKey) + "\\" + version, "JavaHome", home);
}

unsigned long long FileBytes(const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) return 0;
    return (static_cast<unsigned long long>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

// The launcher measured: build\jarstart.exe unless --launcher names another
// build of it. --compare names a second build (e.g. one kept from before a
// change), measured in the same alternation: on a busy machine only starts
// taken side by side compare fairly.
std::string g_launcherInput;
std::string g_compareInput;

std::string ConfigureLauncherIn(const std::string& folder, const std::string& jrePath, const std::string& input,
                                const std::string& name, const std::map<int, std::string>& window) {
    ConfigureRequest request;
    request.input = input;
    request.output = folder + "\\" + name;
    // Every property absent but these: no splash, so the launcher ends
    // right after starting the runtime.
    for (int id = PROP_SPLASH; id <= PROP_SEARCH_JDK_ONLY; ++id) request.props[id] = "";
    request.props[PROP_START_JAR] = "app.jar";
    request.props[PROP_JRE_PATH] = jrePath;
    // The keep-alive window, or the splash: shown for one tick of the watch,
    // after which the launcher ends.
    for (const auto& property : window) request.props[property.first] = property.second;
    if (window.count(PROP_SPLASH)) {
        request.setSplash = true;
        request.splashBytes = MakeSplashBmp(200, 100);
    }
    std::string error;
    if (!ConfigureLauncher(request, &error)) {
        fprintf(stderr, "bench: cannot configure %s: %s\n", request.output.c_str(), error.c_str());
        return std::string();
    }
    return request.output;
}

StartResult MeasureStarts(const Scenario& scenario, int runs) {
    StartResult result;
    result.scenario = scenario.key;
    result.description = scenario.description;
    result.probes = scenario.probes;
    bool comparing = !g_compareInput.empty();
    if (scenario.launcher.empty() || (comparing && scenario.compared.empty())) {
        result.error = "the launcher copy could not be configured";
        return result;
    }
    ClearRegistry();
    SetEnvironmentVariableA("JAVA_HOME", nullptr);
    scenario.prepare();
    std::string bare = scenario.runtimeHome + "\\bin\\javaw.exe";
    fprintf(stderr, "bench: %s ...\n", scenario.key.c_str());
    std::vector<double> launcherMs, bareMs, peakKb, comparedMs, comparedPeakKb;
    for (int i = 0; i < kWarmUpPairs + runs; ++i) {
        TimedStart viaLauncher = TimeStart(scenario.launcher, "", scenario.runtimeHome);
        Sleep(kPauseMs);
        TimedStart viaCompared;
        viaCompared.ok = true;
        if (comparing) {
            viaCompared = TimeStart(scenario.compared, "", scenario.runtimeHome);
            Sleep(kPauseMs);
        }
        TimedStart direct = TimeStart(bare, "-jar app.jar", scenario.runtimeHome);
        Sleep(kPauseMs);
        for (const TimedStart* start : {&viaLauncher, &viaCompared, &direct}) {
            if (!start->ok) {
                result.error = start->error;
                return result;
            }
        }
        if (i < kWarmUpPairs) continue;
        launcherMs.push_back(viaLauncher.startMs);
        bareMs.push_back(direct.startMs);
        if (comparing) comparedMs.push_back(viaCompared.startMs);
    }
    // Apart from the timed runs: sampling the memory use costs CPU.
    for (int i = 0; i < kMemoryRuns; ++i) {
        TimedStart sampled = TimeStart(scenario.launcher, "", scenario.runtimeHome, true);
        Sleep(kPauseMs);
        if (sampled.ok) peakKb.push_back(static_cast<double>(sampled.peakWorkingSet) / 1024.0);
        if (!comparing) continue;
        sampled = TimeStart(scenario.compared, "", scenario.runtimeHome, true);
        Sleep(kPauseMs);
        if (sampled.ok) comparedPeakKb.push_back(static_cast<double>(sampled.peakWorkingSet) / 1024.0);
    }
    result.comparedMs = Summarize(comparedMs);
    result.comparedPeakWorkingSetKb = Summarize(comparedPeakKb);
    result.launcherMs = Summarize(launcherMs);
    result.bareMs = Summarize(bareMs);
    result.peakWorkingSetKb = Summarize(peakKb);
    return result;
}

ProbeResult MeasureProbe(const std::string& name, const std::string& home, int answerDelayMs, int runs) {
    ProbeResult result;
    result.name = name;
    result.answerDelayMs = answerDelayMs;
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    std::vector<double> ms;
    for (int i = 0; i < 1 + runs; ++i) {
        LARGE_INTEGER before, after;
        QueryPerformanceCounter(&before);
        CString version = ProbeJavaVersion(CString(home.c_str()));
        QueryPerformanceCounter(&after);
        result.version = static_cast<const char*>(version);
        // The first probe warms the file cache and is not counted.
        if (i > 0) ms.push_back(static_cast<double>(after.QuadPart - before.QuadPart) * 1000.0 / frequency.QuadPart);
        Sleep(kPauseMs);
    }
    result.ms = Summarize(ms);
    return result;
}

std::string OptionValue(int argc, char** argv, const char* name) {
    for (int i = 1; i + 1 < argc; ++i)
        if (std::string(argv[i]) == name) return argv[i + 1];
    return std::string();
}

bool HasOption(int argc, char** argv, const char* name) {
    for (int i = 1; i < argc; ++i)
        if (std::string(argv[i]) == name) return true;
    return false;
}

}  // namespace

int main(int argc, char** argv) {
    BenchResults results;
    std::string runs = OptionValue(argc, argv, "--runs");
    results.runs = runs.empty() ? 20 : std::max(1, atoi(runs.c_str()));
    g_launcherInput = OptionValue(argc, argv, "--launcher");
    if (g_launcherInput.empty()) g_launcherInput = BuildDir() + "jarstart.exe";
    g_compareInput = OptionValue(argc, argv, "--compare");
    results.comparedPath = g_compareInput;
    results.warmUp = kWarmUpPairs;
    results.pauseMs = kPauseMs;

    std::string tmp = MakeTempFolder("bench");
    StandInBehaviour current;  // answers "1.6.0_03" at once, above the default minimum
    StandInBehaviour old;
    old.versionText = "java version \"1.2.2\"\n";

    std::string bundledHome = tmp + "bundled\\jre";
    MakeFakeRuntime(bundledHome, current);
    std::string keepAliveHome = tmp + "keepalive\\jre";
    MakeFakeRuntime(keepAliveHome, current);
    std::string splashHome = tmp + "splash\\jre";
    MakeFakeRuntime(splashHome, current);
    std::string registryHome = tmp + "registry\\runtime";
    MakeFakeRuntime(registryHome, current);
    std::string javaHome = tmp + "javahome\\runtime";
    MakeFakeRuntime(javaHome, current);
    std::string lastHome = tmp + "allprobes\\runtime";
    MakeFakeRuntime(lastHome, current);
    std::string oldHome = tmp + "allprobes\\old";
    MakeFakeRuntime(oldHome, old);

    std::vector<Scenario> scenarios = {
        {"bundled", "bundled runtime (PROP_JRE_PATH)", 0, tmp + "bundled", "jre\\bin\\javaw.exe", bundledHome, [] {}},
        // The same start with a window: the keep-alive window, the splash.
        {"keep_alive", "bundled, PROP_KEEP_ALIVE window", 0, tmp + "keepalive", "jre\\bin\\javaw.exe", keepAliveHome,
         [] {}, "", "", {{PROP_KEEP_ALIVE, "on"}}},
        {"splash", "bundled, splash (one tick)", 0, tmp + "splash", "jre\\bin\\javaw.exe", splashHome, [] {}, "", "",
         {{PROP_SPLASH, "on"}, {PROP_SPLASH_TIMEOUT, "1"}}},
        {"registry", "registry current version", 1, tmp + "registry", "", registryHome,
         [&] { RegisterCurrentVersion(HKEY_LOCAL_MACHINE, kCurrentVersion, registryHome); }},
        {"java_home", "JAVA_HOME", 1, tmp + "javahome", "", javaHome,
         [&] { SetEnvironmentVariableA("JAVA_HOME", javaHome.c_str()); }},
        // Both hives name a runtime below the default minimum of 1.3: two
        // probes refused, no version key accepted, then JAVA_HOME's probe.
        {"all_probes", "nothing found until JAVA_HOME", 3, tmp + "allprobes", "", lastHome,
         [&] {
             RegisterCurrentVersion(HKEY_LOCAL_MACHINE, kOldVersion, oldHome);
             RegisterCurrentVersion(HKEY_CURRENT_USER, kOldVersion, oldHome);
             SetEnvironmentVariableA("JAVA_HOME", lastHome.c_str());
         }},
    };
    for (Scenario& scenario : scenarios) {
        scenario.launcher =
            ConfigureLauncherIn(scenario.folder, scenario.jrePath, g_launcherInput, "launcher.exe", scenario.window);
        if (!g_compareInput.empty())
            scenario.compared =
                ConfigureLauncherIn(scenario.folder, scenario.jrePath, g_compareInput, "compared.exe", scenario.window);
    }
    if (HasOption(argc, argv, "--work")) {
        // One traced start per launcher: "work <scenario> <pid> <compared pid>".
        for (const Scenario& scenario : scenarios) {
            ClearRegistry();
            SetEnvironmentVariableA("JAVA_HOME", nullptr);
            scenario.prepare();
            DWORD launcher = StartTraced(scenario.launcher);
            DWORD compared = scenario.compared.empty() ? 0 : StartTraced(scenario.compared);
            printf("work %s %04lx %04lx\n", scenario.key.c_str(), launcher, compared);
        }
        ClearRegistry();
        return 0;
    }
    for (const Scenario& scenario : scenarios) results.starts.push_back(MeasureStarts(scenario, results.runs));
    ClearRegistry();
    SetEnvironmentVariableA("JAVA_HOME", nullptr);

    std::string quickHome = tmp + "probe\\quick";
    MakeFakeRuntime(quickHome, current);
    StandInBehaviour slow = current;
    slow.versionDelayMs = 600;
    std::string slowHome = tmp + "probe\\slow";
    MakeFakeRuntime(slowHome, slow);
    results.probes.push_back(MeasureProbe("answers at once", quickHome, 0, 10));
    results.probes.push_back(MeasureProbe("answers after 600 ms", slowHome, 600, 5));

    results.exePath = g_launcherInput;
    results.exeBytes = FileBytes(g_launcherInput);
    results.configuredBytes = FileBytes(scenarios[0].launcher);
    results.comparedBytes = FileBytes(g_compareInput);
    // Every shipped launcher: this build's and the other machine's build
    // beside it (x64\ in the 32-bit build, ..\ from the 64-bit one).
    std::string other = BuildDir() + (sizeof(void*) == 4 ? "x64\\" : "..\\");
    for (const std::string& folder : {BuildDir(), other})
        for (const char* name : {"jarstart.exe", "jarstart-console.exe"})
            results.shipped.push_back({folder + name, FileBytes(folder + name)});

    printf("%s", FormatTable(results).c_str());
    std::string json = BuildDir() + "bench.json";
    if (!WriteWholeFile(json, FormatJson(results))) {
        fprintf(stderr, "cannot write %s\n", json.c_str());
        return 2;
    }
    printf("\nwritten: %s\n", json.c_str());
    bool inProcessOk = RunInProcessBench(tmp, BuildDir() + "jarstart-console.exe", results.runs);
    for (const StartResult& start : results.starts)
        if (!start.error.empty()) return 1;
    return inProcessOk ? 0 : 1;
}
