#pragma once
// Starting the Java application.
#include <windows.h>

#include "framework/CString.h"
#include "process/MyConsolePipe.h"

// 0 when the application was started, -1 otherwise (the Windows error of the
// failure is then in *startError when given). On success g_appProcess holds
// the launcher's own process handle of the application.
int StartApplication(CString javaPath, CString argumentLine, CMyConsolePipe* pipe, DWORD* startError = nullptr);
// Closes the launcher's handle of the application, once.
void CloseAppHandles();
