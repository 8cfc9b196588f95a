#include "process/AppStart.h"

#include "base/DiagnosticLog.h"
#include "base/Globals.h"

int StartApplication(CString javaPath, CString argumentLine, CMyConsolePipe* pipe, DWORD* startError) {
    g_log << "execute: " << javaPath << " " << argumentLine << logEnd;
    // No fixed buffer: a line longer than CreateProcessA accepts fails the
    // start like any other start failure.
    CString commandLine = CString("\"") + javaPath + "\" " + argumentLine;
    g_log << "Full command line: " << commandLine << logEnd;

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

void CloseAppHandles() {
    if (g_appProcess.hProcess) {
        CloseHandle(g_appProcess.hProcess);
        g_appProcess.hProcess = nullptr;
    }
}
