#pragma once
// Finding the launcher's message boxes and dialogs, reading and closing them.
#include <windows.h>

#include <string>

// Waits up to timeoutMs for a visible top-level dialog (class "#32770") of
// the process; null when none appeared.
HWND WaitForDialog(DWORD processId, DWORD timeoutMs);
std::string GetWindowTextString(HWND window);
// The message text of a message box, or the text of a rich-edit control.
std::string GetDialogText(HWND dialog);
// Presses the button with the id (IDOK, IDCANCEL) as a user would.
void PressDialogButton(HWND dialog, int id);
