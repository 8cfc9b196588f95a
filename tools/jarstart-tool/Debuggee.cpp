#include "tools/jarstart-tool/Debuggee.h"

#include <cstring>
#include <vector>

#include "framework/ScopedWin.h"

// Reads the text of an OUTPUT_DEBUG_STRING event out of the debuggee. The
// event's length field has 16 bits, so an entry of 64 KB or more arrives
// with its length cut; the text is therefore read up to its terminating NUL,
// a page at a time so that no read crosses into memory that is not there.
static std::string ReadDebugString(HANDLE process, const OUTPUT_DEBUG_STRING_INFO& info) {
    if (info.fUnicode || info.lpDebugStringData == nullptr) return std::string();
    const SIZE_T kPage = 4096;
    const SIZE_T kLongest = 64 * 1024 * 1024;  // a runaway read ends here
    std::string text;
    std::vector<char> chunk(kPage);
    UINT_PTR address = reinterpret_cast<UINT_PTR>(info.lpDebugStringData);
    while (text.size() < kLongest) {
        SIZE_T toPageEnd = kPage - (address % kPage);
        SIZE_T read = 0;
        if (!ReadProcessMemory(process, reinterpret_cast<LPCVOID>(address), chunk.data(), toPageEnd, &read) ||
            read == 0)
            break;
        const char* end = static_cast<const char*>(std::memchr(chunk.data(), '\0', read));
        if (end) {
            text.append(chunk.data(), static_cast<size_t>(end - chunk.data()));
            break;
        }
        text.append(chunk.data(), read);
        address += read;
    }
    return text;
}

// The file name of a library the debuggee loaded, from the file handle the
// event carries; "" when the system gives none.
static std::string LibraryFileName(HANDLE file) {
    char path[MAX_PATH * 2] = {};
    if (!file || !GetFinalPathNameByHandleA(file, path, sizeof(path), 0)) return std::string();
    const char* name = std::strrchr(path, '\\');
    std::string fileName = name ? name + 1 : path;
    for (char& c : fileName)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return fileName;
}

DebuggeeResult RunDebuggee(const std::string& commandLine, const char* currentDir,
                           const std::function<void(const std::string&)>& onEntry,
                           const std::function<void(DWORD processId)>& onStarted,
                           const std::function<void(const std::string& fileName)>& onLibrary) {
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
    ScopedHandle process(info.hProcess), thread(info.hThread);
    result.started = true;
    if (onStarted) onStarted(info.dwProcessId);

    bool running = true;
    while (running) {
        DEBUG_EVENT event = {};
        if (!WaitForDebugEvent(&event, INFINITE)) break;
        DWORD continueStatus = DBG_CONTINUE;
        switch (event.dwDebugEventCode) {
        case OUTPUT_DEBUG_STRING_EVENT:
            if (onEntry) onEntry(ReadDebugString(process, event.u.DebugString));
            break;
        case CREATE_PROCESS_DEBUG_EVENT: {
            // The file handle of the image belongs to the debugger.
            ScopedHandle image(event.u.CreateProcessInfo.hFile);
            break;
        }
        case LOAD_DLL_DEBUG_EVENT: {
            ScopedHandle library(event.u.LoadDll.hFile);
            if (onLibrary) onLibrary(LibraryFileName(library));
            break;
        }
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
    return result;
}
