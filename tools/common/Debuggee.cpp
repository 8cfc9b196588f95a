#include "tools/common/Debuggee.h"

#include <vector>

// Reads the text of an OUTPUT_DEBUG_STRING event out of the debuggee.
static std::string ReadDebugString(HANDLE process, const OUTPUT_DEBUG_STRING_INFO& info) {
    if (info.fUnicode || info.nDebugStringLength == 0) return std::string();
    std::vector<char> buffer(info.nDebugStringLength);
    SIZE_T read = 0;
    if (!ReadProcessMemory(process, info.lpDebugStringData, buffer.data(), buffer.size(), &read)) return std::string();
    // The length counts the terminating NUL.
    size_t length = read;
    while (length > 0 && buffer[length - 1] == '\0') --length;
    return std::string(buffer.data(), length);
}

DebuggeeResult RunDebuggee(const std::string& commandLine, const char* currentDir,
                           const std::function<void(const std::string&)>& onEntry,
                           const std::function<void(DWORD processId)>& onStarted) {
    DebuggeeResult result = {false, 0, 0};
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION info = {};
    std::vector<char> line(commandLine.begin(), commandLine.end());
    line.push_back('\0');
    if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, DEBUG_ONLY_THIS_PROCESS, nullptr,
                        currentDir, &startup, &info)) {
        result.error = GetLastError();
        return result;
    }
    result.started = true;
    if (onStarted) onStarted(info.dwProcessId);

    bool running = true;
    while (running) {
        DEBUG_EVENT event = {};
        if (!WaitForDebugEvent(&event, INFINITE)) break;
        DWORD continueStatus = DBG_CONTINUE;
        switch (event.dwDebugEventCode) {
        case OUTPUT_DEBUG_STRING_EVENT:
            if (onEntry) onEntry(ReadDebugString(info.hProcess, event.u.DebugString));
            break;
        case CREATE_PROCESS_DEBUG_EVENT:
            // The file handle of the image belongs to the debugger.
            if (event.u.CreateProcessInfo.hFile) CloseHandle(event.u.CreateProcessInfo.hFile);
            break;
        case LOAD_DLL_DEBUG_EVENT:
            if (event.u.LoadDll.hFile) CloseHandle(event.u.LoadDll.hFile);
            break;
        case EXCEPTION_DEBUG_EVENT:
            // First-chance exceptions (the initial breakpoint included) go
            // back to the debuggee's own handlers unless they are breakpoints.
            if (event.u.Exception.ExceptionRecord.ExceptionCode != EXCEPTION_BREAKPOINT)
                continueStatus = DBG_EXCEPTION_NOT_HANDLED;
            break;
        case EXIT_PROCESS_DEBUG_EVENT:
            result.exitCode = event.u.ExitProcess.dwExitCode;
            running = false;
            break;
        default:
            break;
        }
        ContinueDebugEvent(event.dwProcessId, event.dwThreadId, continueStatus);
    }
    CloseHandle(info.hThread);
    CloseHandle(info.hProcess);
    return result;
}
