#pragma once
// Finding the launcher's message boxes and dialogs, reading and closing them,
// and the top-level windows of a process.
#include <windows.h>

#include <string>
#include <vector>

// The top-level windows of the process; only visible ones when visibleOnly.
std::vector<HWND> FindProcessWindows(DWORD processId, bool visibleOnly);
// The visible top-level dialogs (class "#32770") of the process.
std::vector<HWND> FindProcessDialogs(DWORD processId);
// Waits up to timeoutMs for a visible top-level dialog (class "#32770") of
// the process; null when none appeared.
HWND WaitForDialog(DWORD processId, DWORD timeoutMs);
std::string GetWindowTextString(HWND window);
std::string GetClassNameString(HWND window);
// The text of the rich-edit control (id 1004) when the dialog has one, else
// the message box text: the longest text of a static child (Wine does not
// give the message box text the id 0xFFFF).
std::string GetDialogText(HWND dialog);
// Presses the button with the id (IDOK, IDCANCEL) as a user would: the
// dialog gets the button's click command. Returns at once.
void PressDialogButton(HWND dialog, int id);
