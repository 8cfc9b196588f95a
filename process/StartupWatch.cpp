#include "process/StartupWatch.h"

#include <cstdlib>

#include "base/Globals.h"

VOID CALLBACK StartupTimerProc(HWND, UINT, UINT_PTR, DWORD) {
    if (g_splashActive) {
        --g_splashCountdown;
        // Ends the launcher inside the call when the application's window
        // is visible.
        if (g_watchAppWindow) EnumWindows(AppWindowEnumProc, 0);
        if (g_splashCountdown == 0) {
            KillTimer(g_splashWnd, kStartupTimerId);
            PostQuitMessage(0);
            return;
        }
    }
    // A failed query (no application was started) leaves the last value.
    if (g_appThread)
        GetExitCodeThread(g_appThread, &g_appExitCode);
    else
        GetExitCodeProcess(g_appProcess.hProcess, &g_appExitCode);
    if (g_appExitCode != STILL_ACTIVE) {
        KillTimer(g_splashWnd, kStartupTimerId);
        // The application is gone: nothing is left to watch, so the launcher
        // returns its exit code rather than showing the splash until the
        // countdown ends. Without the splash the tick comes from the modal
        // loop of the start-failure message, which must stay open.
        if (g_splashActive) PostQuitMessage(0);
    }
}

BOOL CALLBACK AppWindowEnumProc(HWND window, LPARAM) {
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    if (processId != g_appProcess.dwProcessId || !(GetWindowLongA(window, GWL_STYLE) & WS_VISIBLE)) return TRUE;
    // In-process the splash is a window of the application's process too.
    if (window == g_splashWnd) return TRUE;
    g_splashActive = 0;
    ShowWindow(g_splashWnd, SW_HIDE);
    if (g_appThread) {
        // The application lives in this process: the watch ends, the
        // launcher stays.
        KillTimer(g_splashWnd, kStartupTimerId);
        PostQuitMessage(0);
        return FALSE;
    }
    // The application runs on; exit handlers close the log file and release
    // the splash picture.
    exit(0);
}

void WaitForAppOutput(DWORD timeoutMs) {
    if (!g_appOutputEnded || !g_appProcess.hProcess) return;
    // The launcher never waits for a running application.
    if (WaitForSingleObject(g_appProcess.hProcess, 0) != WAIT_OBJECT_0) return;
    // An ended application's output is complete in the pipe, but the reader
    // may lag behind it (a slow debugger channel, a busy disk), and the last
    // lines are the ones that tell why the application ended. A grandchild
    // that inherited the output keeps the pipe open for as long as it lives,
    // hence the bound. Nothing is left to show a splash for meanwhile.
    ShowWindow(g_splashWnd, SW_HIDE);
    if (WaitForSingleObject(g_appOutputEnded, timeoutMs) != WAIT_OBJECT_0) return;
    // The reader has set it and is done with it.
    CloseHandle(g_appOutputEnded);
    g_appOutputEnded = nullptr;
}
