#include "process/AppStart.h"

#include "base/DiagnosticLog.h"
#include "base/Globals.h"
#include "framework/Array.h"
#include "framework/ScopedWin.h"
#include "framework/Text.h"

namespace {

CString ComposeCommandLine(const CString& javaPath, const CString& argumentLine) {
    g_log << "execute: " << javaPath << " " << argumentLine << logEnd;
    // No fixed buffer: a line longer than CreateProcessA accepts fails the
    // start like any other start failure.
    CString commandLine = CString("\"") + javaPath + "\" " + argumentLine;
    g_log << "Full command line: " << commandLine << logEnd;
    return commandLine;
}

// An inheritable duplicate of one of the launcher's standard handles, so the
// caller's own handle keeps its flags; the handle itself when it cannot be
// duplicated (none at all, for one), which the start then passes on as is.
HANDLE InheritableStdHandle(DWORD which, ScopedHandle* duplicate) {
    HANDLE handle = GetStdHandle(which);
    if (handle == nullptr || handle == INVALID_HANDLE_VALUE) return handle;
    HANDLE self = GetCurrentProcess();
    if (!DuplicateHandle(self, handle, self, duplicate->Receive(), 0, TRUE, DUPLICATE_SAME_ACCESS)) {
        *duplicate->Receive() = nullptr;
        return handle;
    }
    return duplicate->Get();
}

BOOL WINAPI IgnoreInterrupt(DWORD event) {
    return event == CTRL_C_EVENT || event == CTRL_BREAK_EVENT;
}

}  // namespace

int StartApplication(CString javaPath, CString argumentLine, CMyConsolePipe* pipe, DWORD* startError) {
    CString commandLine = ComposeCommandLine(javaPath, argumentLine);

    // The pipe deletes itself when the application's output ends, possibly
    // before Execute returns, so the process information is handed out by
    // Execute and the pipe is not read again after a successful start.
    PROCESS_INFORMATION started = {};
    if (pipe->Execute(commandLine, &started) == 0) {
        g_appProcess = started;
        return 0;
    }
    if (startError) *startError = pipe->GetLastStartError();
    return -1;
}

int StartConsoleApplication(CString javaPath, CString argumentLine, DWORD* startError) {
    CString commandLine = ComposeCommandLine(javaPath, argumentLine);
    if (IsCommandLineTooLong(commandLine)) {
        if (startError) *startError = ERROR_FILENAME_EXCED_RANGE;
        return -1;
    }
    ScopedHandle input, output, error;
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = InheritableStdHandle(STD_INPUT_HANDLE, &input);
    startup.hStdOutput = InheritableStdHandle(STD_OUTPUT_HANDLE, &output);
    startup.hStdError = InheritableStdHandle(STD_ERROR_HANDLE, &error);
    g_log << "CreateProcess: " << commandLine << logEnd;
    Array<char> line(static_cast<const char*>(commandLine),
                           static_cast<const char*>(commandLine) + commandLine.GetLength() + 1);
    // No flags: a new process group would keep Ctrl+C from the application.
    PROCESS_INFORMATION started = {};
    if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &started)) {
        if (startError) *startError = GetLastError();
        return -1;
    }
    CloseHandle(started.hThread);
    started.hThread = nullptr;
    g_appProcess = started;
    return 0;
}

void IgnoreConsoleInterrupts() {
    // A handler rather than SetConsoleCtrlHandler(nullptr, TRUE): that flag
    // is inherited and would make the application deaf to Ctrl+C as well.
    SetConsoleCtrlHandler(IgnoreInterrupt, TRUE);
}

DWORD WaitForAppExit() {
    WaitForSingleObject(g_appProcess.hProcess, INFINITE);
    DWORD exitCode = 0;
    GetExitCodeProcess(g_appProcess.hProcess, &exitCode);
    g_appExitCode = exitCode;
    g_log << "Application exit code: " << ToText(static_cast<unsigned long>(exitCode)) << logEnd;
    return exitCode;
}

void CloseAppHandles() {
    if (g_appProcess.hProcess) {
        CloseHandle(g_appProcess.hProcess);
        g_appProcess.hProcess = nullptr;
    }
}
