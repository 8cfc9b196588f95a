#pragma once
// Message boxes with no owner window and an empty caption; in the console
// launcher, lines on standard error.
#include <windows.h>

#include "framework/CString.h"

void ShowErrorMessage(const char* text);
void ShowInfoMessage(const char* text);
// The system's message text for a Windows error, without the line end it
// comes with; "Windows error N" when the system has no text for it.
CString SystemErrorText(DWORD error);
