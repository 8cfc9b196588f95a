#include "tools/testing/bench/WorkCount.h"

#include <cstring>
#include <vector>

namespace {

// This process's environment with the traces switched on, each line
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

}  // namespace

DWORD StartTraced(const std::string& exePath, DWORD timeoutMs) {
    STARTUPINFOA startup = {sizeof(startup)};
    std::vector<char> environment = TracingEnvironment();
    std::string folder = exePath.substr(0, exePath.find_last_of('\\'));
    std::string commandLine = "\"" + exePath + "\"";
    PROCESS_INFORMATION process = {};
    if (!CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, environment.data(), folder.c_str(),
                        &startup, &process))
        return 0;
    bool ended = WaitForSingleObject(process.hProcess, timeoutMs) == WAIT_OBJECT_0;
    if (!ended) TerminateProcess(process.hProcess, 1);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return ended ? process.dwProcessId : 0;
}
