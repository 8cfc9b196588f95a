// Stand-in until this subsystem is built.
#include "process/AppStart.h"
int StartApplication(CString, CString, CMyConsolePipe*, DWORD*) { return -1; }
VOID CALLBACK StartupTimerProc(HWND, UINT, UINT_PTR, DWORD) {}
BOOL CALLBACK AppWindowEnumProc(HWND, LPARAM) { return TRUE; }
void CloseAppHandles() {}
