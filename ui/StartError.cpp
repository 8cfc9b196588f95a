#include "ui/StartError.h"

#include "framework/Text.h"

namespace {

// Dialog units: wide enough for a stack trace line to wrap rarely, high
// enough for about fifteen lines before the text scrolls.
const short kWidth = 337;
const short kHeight = 180;

}  // namespace

CString ComposeStartErrorText(DWORD exitCode, const Text& output) {
    Text text = "The application ended with exit code " + ToText(exitCode) + " while it was starting.";
    if (!output.empty()) {
        text += "\r\n\r\n";
        for (size_t i = 0; i < output.size(); ++i) {
            if (output[i] == '\n' && (i == 0 || output[i - 1] != '\r')) text += '\r';
            text += output[i];
        }
    }
    return CString(text);
}

void ShowStartError(DWORD exitCode, const Text& output) {
    StartErrorDialog dialog(ComposeStartErrorText(exitCode, output));
    dialog.RunModal(nullptr, 0);
}

void StartErrorDialog::DefineTemplate() {
    // Topmost and centred: the launcher has no other window for it to
    // appear over.
    AddDialogHeader("Application Error",
                    WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT | DS_FIXEDSYS | DS_CENTER,
                    WS_EX_TOPMOST, 0, 0, kWidth, kHeight, 8, "MS Shell Dlg", "", "");
    AddControl("", WS_TABSTOP | WS_BORDER | WS_VSCROLL | ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL, 0, 7, 7,
               kWidth - 14, kHeight - 30, IDC_TEXT, static_cast<WORD>(0x0081));
    AddButton("OK", BS_DEFPUSHBUTTON | WS_TABSTOP, 0, (kWidth - 50) / 2, kHeight - 21, 50, 14, IDOK);
}

BOOL StartErrorDialog::ProcessWindowMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                            LRESULT& result, DWORD mapId) {
    if (message == WM_COMMAND && (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL)) {
        result = OnCloseCmd(HIWORD(wParam), LOWORD(wParam), reinterpret_cast<HWND>(lParam));
        return TRUE;
    }
    if (message == WM_INITDIALOG) {
        SetDlgItemText(IDC_TEXT, m_text);
        // The focus on OK, not on the text: focused by the dialog, the text
        // would be selected whole, and Enter should close.
        ::SetFocus(GetDlgItem(IDOK));
        result = FALSE;
        return TRUE;
    }
    return FALSE;
}
