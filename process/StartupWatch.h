#pragma once
// The start-up watch: once a second, on the main thread, it counts the splash
// down, looks for the application's first visible window and polls the
// application's exit code.
#include <windows.h>

// The timer on the splash window that drives the watch.
const UINT_PTR kStartupTimerId = 1;
const UINT kStartupTickMs = 1000;

// The timer procedure. Ends the process with 0, inside the call, when
// PROP_WATCH_APP_WINDOW is on and the application's window is visible (see
// AppWindowEnumProc); posts WM_QUIT when the countdown runs out or the
// application has ended while the splash shows.
VOID CALLBACK StartupTimerProc(HWND window, UINT message, UINT_PTR id, DWORD time);
// EnumWindows callback. Ends the process with exit(0) when window is a
// visible window of the application (after hiding the splash); the
// application runs on. Returns TRUE (go on) for every other window, the
// splash included. In-process (g_appThread) it hides the splash, ends the
// watch (WM_QUIT) and returns FALSE instead of ending the process.
BOOL CALLBACK AppWindowEnumProc(HWND window, LPARAM unused);
// When the application has ended, hides the splash and waits up to
// timeoutMs for its pipe to hand over the rest of its output; returns at
// once while it is still running.
void WaitForAppOutput(DWORD timeoutMs);
