#pragma once
// Starting the Java application and the one-second start-up watch.
#include <windows.h>

#include "framework/CString.h"
#include "process/MyConsolePipe.h"

// 0 when the application was started, -1 otherwise (the Windows error of the
// failure is then in *startError when given).
int StartApplication(CString javaPath, CString argumentLine, CMyConsolePipe* pipe, DWORD* startError = nullptr);
VOID CALLBACK StartupTimerProc(HWND window, UINT message, UINT_PTR id, DWORD time);
BOOL CALLBACK AppWindowEnumProc(HWND window, LPARAM unused);
// When the application has ended, hides the splash and waits up to
// timeoutMs for its pipe to hand over the rest of its output; returns at
// once while it is still running.
void WaitForAppOutput(DWORD timeoutMs);
void CloseAppHandles();
