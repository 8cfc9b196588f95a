#include "tools/testing/bench/StartTiming.h"

#include <psapi.h>

#include <algorithm>
#include <vector>

#include "framework/ScopedWin.h"
#include "tests/support/FakeRuntime.h"
#include "tests/support/Files.h"

unsigned long long PreciseNow() {
    typedef VOID(WINAPI * PreciseTimeFn)(LPFILETIME);
    static PreciseTimeFn precise = reinterpret_cast<PreciseTimeFn>(
        GetProcAddress(GetModuleHandleA("kernel32.dll"), "GetSystemTimePreciseAsFileTime"));
    FILETIME time;
    if (precise) precise(&time);
    else GetSystemTimeAsFileTime(&time);
    return (static_cast<unsigned long long>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
}

namespace {

SIZE_T PeakWorkingSet(HANDLE process) {
    PROCESS_MEMORY_COUNTERS counters = {};
    counters.cb = sizeof(counters);
    return GetProcessMemoryInfo(process, &counters, sizeof(counters)) ? counters.PeakWorkingSetSize : 0;
}

}  // namespace

TimedStart TimeStart(const std::string& exePath, const std::string& args, const std::string& runtimeHome,
                     bool sampleMemory, DWORD timeoutMs) {
    TimedStart result;
    std::string record = runtimeHome + "\\bin\\javaw.exe.record";
    DeleteFileA(record.c_str());
    if (FileExists(record)) {
        result.error = "cannot remove " + record;
        return result;
    }
    std::string folder = exePath.substr(0, exePath.find_last_of('\\'));
    std::string commandLine = "\"" + exePath + "\"";
    if (!args.empty()) commandLine += " " + args;
    std::vector<char> buffer(commandLine.begin(), commandLine.end());
    buffer.push_back('\0');

    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION info = {};
    unsigned long long before = PreciseNow();
    if (!CreateProcessA(exePath.c_str(), buffer.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(),
                        &startup, &info)) {
        result.error = "cannot start " + exePath + " (error " + std::to_string(GetLastError()) + ")";
        return result;
    }
    ScopedHandle process(info.hProcess);
    ScopedHandle thread(info.hThread);

    if (sampleMemory) {
        DWORD started = GetTickCount();
        while (WaitForSingleObject(process, 2) == WAIT_TIMEOUT && GetTickCount() - started < timeoutMs)
            result.peakWorkingSet = std::max(result.peakWorkingSet, PeakWorkingSet(process));
    }
    RecordedRun run = WaitForRecordedRun(runtimeHome, "javaw.exe", timeoutMs);
    if (WaitForSingleObject(process, timeoutMs) != WAIT_OBJECT_0) {
        TerminateProcess(process, 1);
        result.error = exePath + " did not end";
        return result;
    }
    if (!run.found || run.entryTime == 0) {
        result.error = "the stand-in of " + runtimeHome + " did not start";
        return result;
    }
    // On Windows the peak stays readable after the end; take whichever is larger.
    result.peakWorkingSet = std::max(result.peakWorkingSet, PeakWorkingSet(process));
    result.startMs = static_cast<double>(static_cast<long long>(run.entryTime - before)) / 10000.0;
    result.ok = true;
    return result;
}
