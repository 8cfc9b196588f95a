#include "tools/testing/bench/InProcessBench.h"

#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "base/PropertyIds.h"
#include "framework/ScopedWin.h"
#include "tests/support/FakeRuntime.h"
#include "tests/support/Files.h"
#include "tests/support/Paths.h"
#include "tools/jarstart-tool/Configure.h"
#include "tools/testing/bench/Stats.h"
#include "tools/testing/common/FileUtil.h"

namespace {

const int kWarmUpPairs = 2;
const int kPauseMs = 300;
const DWORD kTimeoutMs = 30000;

#ifdef JARSTART_STANDIN_JVM
const char kStandInJvm[] = JARSTART_STANDIN_JVM;
#else
const char kStandInJvm[] = "";
#endif

std::string FolderOf(const std::string& path) { return path.substr(0, path.find_last_of("\\/")); }

std::string WindowsPath(std::string path) {
    for (char& c : path)
        if (c == '/') c = '\\';
    return path;
}

// The stand-in VM beside the stand-in java.exe: bin\server\jvm.dll, the C
// runtime of its own it imports, and lib\jvm.cfg naming the server VM.
bool AddStandInJvm(const std::string& home) {
    std::string jvm = WindowsPath(kStandInJvm);
    std::string runtimeDll = FolderOf(jvm) + "\\standinrt.dll";
    return CreateFolders(home + "\\bin\\server") && CreateFolders(home + "\\lib") &&
           CopyFileA(jvm.c_str(), (home + "\\bin\\server\\jvm.dll").c_str(), FALSE) &&
           CopyFileA(runtimeDll.c_str(), (home + "\\bin\\standinrt.dll").c_str(), FALSE) &&
           WriteWholeFile(home + "\\lib\\jvm.cfg", "-server KNOWN\n-client IGNORE\n");
}

std::string Configure(const std::string& input, const std::string& output, bool inProcess) {
    ConfigureRequest request;
    request.input = input;
    request.output = output;
    for (int id = PROP_SPLASH; id <= PROP_SEARCH_JDK_ONLY; ++id) request.props[id] = "";
    request.props[PROP_START_JAR] = "app.jar";
    request.props[PROP_JRE_PATH] = "jre\\bin\\java.exe";
    if (inProcess) request.props[PROP_IN_PROCESS] = "true";
    std::string error;
    if (!ConfigureLauncher(request, &error)) {
        fprintf(stderr, "bench: cannot configure %s: %s\n", output.c_str(), error.c_str());
        return std::string();
    }
    return output;
}

// Milliseconds from CreateProcess to the launcher's end, or a negative
// value when it did not start, end in time or end with 0.
double TimeRun(const std::string& exe) {
    std::string commandLine = "\"" + exe + "\"";
    std::vector<char> buffer(commandLine.begin(), commandLine.end());
    buffer.push_back('\0');
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION info = {};
    LARGE_INTEGER frequency, before, after;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&before);
    if (!CreateProcessA(exe.c_str(), buffer.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr,
                        FolderOf(exe).c_str(), &startup, &info))
        return -1;
    ScopedHandle process(info.hProcess);
    ScopedHandle thread(info.hThread);
    if (WaitForSingleObject(process, kTimeoutMs) != WAIT_OBJECT_0) {
        TerminateProcess(process, 1);
        return -1;
    }
    QueryPerformanceCounter(&after);
    DWORD exitCode = 1;
    GetExitCodeProcess(process, &exitCode);
    if (exitCode != 0) return -1;
    return static_cast<double>(after.QuadPart - before.QuadPart) * 1000.0 / frequency.QuadPart;
}

std::string JsonSummary(const Summary& s) {
    char text[160];
    snprintf(text, sizeof(text), "{\"median\": %.1f, \"min\": %.1f, \"max\": %.1f}", s.median, s.min, s.max);
    return text;
}

}  // namespace

bool RunInProcessBench(const std::string& tmp, const std::string& consoleLauncher, int runs) {
    printf("\nIn-process start beside the child start (console launcher, main returns at once)\n\n");
    if (kStandInJvm[0] == '\0') {
        printf("in_process: skipped, this build has no stand-in jvm.dll (target standin_jvm)\n");
        return true;
    }
    std::string folder = tmp + "inprocess";
    std::string home = folder + "\\jre";
    MakeFakeRuntime(home);
    if (!AddStandInJvm(home)) {
        printf("in_process: cannot put the stand-in jvm.dll into %s\n", home.c_str());
        return false;
    }
    std::string child = Configure(consoleLauncher, folder + "\\child.exe", false);
    std::string inProcess = Configure(consoleLauncher, folder + "\\inprocess.exe", true);
    if (child.empty() || inProcess.empty()) return false;

    std::vector<double> childMs, inProcessMs;
    for (int i = 0; i < kWarmUpPairs + runs; ++i) {
        double c = TimeRun(child);
        Sleep(kPauseMs);
        double p = TimeRun(inProcess);
        Sleep(kPauseMs);
        if (c < 0 || p < 0) {
            printf("in_process: the %s start failed\n", c < 0 ? "child" : "in-process");
            return false;
        }
        if (i < kWarmUpPairs) continue;
        childMs.push_back(c);
        inProcessMs.push_back(p);
    }
    Summary childSummary = Summarize(childMs), inProcessSummary = Summarize(inProcessMs);
    printf("%-12s %10s %10s %10s\n", "start", "median ms", "min ms", "max ms");
    printf("%-12s %10.1f %10.1f %10.1f\n", "child", childSummary.median, childSummary.min, childSummary.max);
    printf("%-12s %10.1f %10.1f %10.1f\n", "in-process", inProcessSummary.median, inProcessSummary.min,
           inProcessSummary.max);
    std::string json = "{\"runs\": " + std::to_string(runs) + ", \"child\": " + JsonSummary(childSummary) +
                       ", \"inProcess\": " + JsonSummary(inProcessSummary) + "}\n";
    if (!WriteWholeFile(BuildDir() + "bench-inprocess.json", json)) {
        fprintf(stderr, "cannot write %sbench-inprocess.json\n", BuildDir().c_str());
        return false;
    }
    return true;
}
