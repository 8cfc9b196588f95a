#include "tools/testing/bench/WorkCount.h"

#include <windows.h>

#include <cstdio>
#include <vector>

#include "tools/testing/common/FileUtil.h"

namespace {

bool UnderWine() {
    HMODULE ntdll = GetModuleHandleA("ntdll.dll");
    return ntdll && GetProcAddress(ntdll, "wine_get_version");
}

// This process's environment with WINEDEBUG added: the traces, each line
// prefixed with the id of the process that wrote it.
std::vector<char> TracingEnvironment() {
    std::vector<char> block;
    char* own = GetEnvironmentStringsA();
    for (const char* entry = own; *entry; entry += strlen(entry) + 1)
        if (_strnicmp(entry, "WINEDEBUG=", 10) != 0) block.insert(block.end(), entry, entry + strlen(entry) + 1);
    FreeEnvironmentStringsA(own);
    const char kTraces[] = "WINEDEBUG=+pid,trace+file,trace+process,trace+reg";
    block.insert(block.end(), kTraces, kTraces + sizeof(kTraces));
    block.push_back('\0');
    return block;
}

int CountLines(const std::string& trace, const std::string& prefix) {
    int count = 0;
    for (size_t at = trace.find(prefix); at != std::string::npos; at = trace.find(prefix, at + 1))
        if (at == 0 || trace[at - 1] == '\n') ++count;
    return count;
}

}  // namespace

WorkCount CountWork(const std::string& exePath, const std::string& tracePath, unsigned timeoutMs) {
    WorkCount work;
    if (!UnderWine()) return work;
    SECURITY_ATTRIBUTES inherit = {sizeof(inherit), nullptr, TRUE};
    HANDLE trace = CreateFileA(tracePath.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit,
                               CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (trace == INVALID_HANDLE_VALUE) return work;
    // Wine writes its traces to the standard error a process starts with.
    STARTUPINFOA startup = {sizeof(startup)};
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdError = trace;
    std::vector<char> environment = TracingEnvironment();
    std::string folder = exePath.substr(0, exePath.find_last_of('\\'));
    std::string commandLine = "\"" + exePath + "\"";
    PROCESS_INFORMATION process = {};
    BOOL started = CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, TRUE, 0, environment.data(),
                                  folder.c_str(), &startup, &process);
    CloseHandle(trace);
    if (!started) return work;
    bool ended = WaitForSingleObject(process.hProcess, timeoutMs) == WAIT_OBJECT_0;
    if (!ended) TerminateProcess(process.hProcess, 1);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    if (!ended) return work;

    std::string text;
    if (!ReadWholeFile(tracePath, &text)) return work;
    char pid[16];
    snprintf(pid, sizeof(pid), "%04lx:", process.dwProcessId);
    // Every line of the launcher process is "<pid>:<thread>:trace:<channel>:<function> ...".
    std::string own;
    for (size_t start = 0; start < text.size();) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        if (text.compare(start, strlen(pid), pid) == 0) {
            size_t channel = text.find(":trace:", start);
            if (channel != std::string::npos && channel < end) own.append(text, channel + 7, end - channel - 6);
        }
        start = end + 1;
    }
    work.processes = CountLines(own, "process:CreateProcessInternalW app ");
    work.pathLookups = CountLines(own, "file:nt_to_unix_file_name");
    work.keyOpens = CountLines(own, "reg:NtOpenKeyEx (");
    work.counted = true;
    return work;
}
