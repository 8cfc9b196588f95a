#pragma once
// Message boxes with no owner window and an empty caption.
void ShowErrorMessage(const char* text);
void ShowInfoMessage(const char* text);
