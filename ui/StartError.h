#pragma once
// The start error dialog (PROP_SHOW_START_ERRORS): why the application ended
// while it was starting, in a read-only text the user can select and copy
// into a support request, and OK.
#include <windows.h>

#include "framework/Text.h"

#include "framework/CString.h"
#include "framework/ResourcelessDlg.h"

// The dialog's text: the sentence with the exit code, then, after an empty
// line, the output with its line ends made CR LF as an edit control wants.
CString ComposeStartErrorText(DWORD exitCode, const Text& output);

// Shows the dialog modally until the user closes it.
void ShowStartError(DWORD exitCode, const Text& output);

class StartErrorDialog : public ATL::CResourcelessDlg<StartErrorDialog> {
public:
    enum { IDC_TEXT = 1004 };

    explicit StartErrorDialog(const char* text) : m_text(text) {}
    BOOL ProcessWindowMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result,
                              DWORD mapId = 0) override;
    void DefineTemplate();

private:
    CString m_text;
};
