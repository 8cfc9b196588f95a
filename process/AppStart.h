#pragma once
// Starting the Java application.
#include <windows.h>

#include "framework/CString.h"
#include "process/MyConsolePipe.h"

// 0 when the application was started, -1 otherwise (the Windows error of the
// failure is then in *startError when given). On success g_appProcess holds
// the launcher's own process handle of the application.
int StartApplication(CString javaPath, CString argumentLine, CMyConsolePipe* pipe, DWORD* startError = nullptr);
// The console launcher's start: the application shares the launcher's
// console and process group and gets the launcher's own standard handles,
// so its input, output and Ctrl+C are the caller's. Same results as
// StartApplication.
int StartConsoleApplication(CString javaPath, CString argumentLine, DWORD* startError = nullptr);
// Lets Ctrl+C and Ctrl+Break reach the application alone: the launcher
// outlives them and keeps waiting. Not inherited by the application.
void IgnoreConsoleInterrupts();
// Waits for the application to end; its exit code, also kept in
// g_appExitCode.
DWORD WaitForAppExit();
// Closes the launcher's handle of the application, once.
void CloseAppHandles();
