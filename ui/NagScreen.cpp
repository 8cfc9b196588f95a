#include "ui/NagScreen.h"

#include <richedit.h>

#include "ui/SystemLibrary.h"

NagScreen::NagScreen(const char* caption, const char* linkTarget, const char* message, int height)
    : m_caption(caption), m_linkTarget(linkTarget), m_message(message), m_height(height) {}

void NagScreen::DefineTemplate() {
    // No WS_SYSMENU: the title bar has no close box; Escape still closes.
    AddDialogHeader(m_caption, WS_POPUP | WS_CAPTION | DS_MODALFRAME | DS_SETFONT | DS_FIXEDSYS, WS_EX_TOPMOST,
                    0, 0, 337, static_cast<short>(m_height), 8, "MS Shell Dlg", "", "");
    AddControl("", WS_TABSTOP | ES_READONLY | ES_MULTILINE | ES_CENTER, 0, 7, 7, 323,
               static_cast<short>(m_height - 30), IDC_MESSAGE, "RichEdit20A");
    AddButton("OK", BS_DEFPUSHBUTTON, 0, 141, static_cast<short>(m_height - 21), 50, 14, IDOK);
}

BOOL NagScreen::ProcessWindowMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result,
                                     DWORD mapId) {
    if (message == WM_COMMAND && (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL)) {
        result = OnCloseCmd(HIWORD(wParam), LOWORD(wParam), reinterpret_cast<HWND>(lParam));
        return TRUE;
    }
    if (message == WM_INITDIALOG) {
        result = OnInitDialog();
        return TRUE;
    }
    if (message == WM_NOTIFY) {
        OnNotify(lParam);
        result = 0;
        return TRUE;
    }
    return FALSE;
}

LRESULT NagScreen::OnInitDialog() {
    HWND text = GetDlgItem(IDC_MESSAGE);
    // Key events too: a keyboard user tabs to the text and opens the link.
    ::SendMessageA(text, EM_SETEVENTMASK, 0, ENM_LINK | ENM_KEYEVENTS);
    // The text lies on the dialog's own background, not on the edit white.
    ::SendMessageA(text, EM_SETBKGNDCOLOR, 0, static_cast<LPARAM>(GetSysColor(COLOR_BTNFACE)));
    ::SendMessageA(text, EM_AUTOURLDETECT, TRUE, 0);
    SetDlgItemText(IDC_MESSAGE, m_message);
    // Posted, not sent: the system selects the whole text when it gives the
    // control the focus after WM_INITDIALOG; this runs after that.
    ::PostMessageA(text, EM_SETSEL, static_cast<WPARAM>(-1), -1);
    CentreInOwnerOrWorkArea();
    // The text is a message, not a field to type in: with the focus it
    // would blink a caret after its last word. OK takes the focus instead.
    ::SetFocus(GetDlgItem(IDOK));
    return FALSE;
}

void NagScreen::CentreInOwnerOrWorkArea() {
    RECT dialog;
    GetWindowRect(&dialog);
    RECT workArea;
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &workArea, 0);
    RECT centreArea = workArea;
    HWND owner = GetWindow(GW_OWNER);
    if (owner && ::IsWindowVisible(owner) && !::IsIconic(owner)) ::GetWindowRect(owner, &centreArea);

    int width = dialog.right - dialog.left;
    int height = dialog.bottom - dialog.top;
    int left = (centreArea.left + centreArea.right) / 2 - width / 2;
    int top = (centreArea.top + centreArea.bottom) / 2 - height / 2;
    if (left < workArea.left) {
        left = workArea.left;
    } else if (left + width > workArea.right) {
        left = workArea.right - width;
    }
    if (top < workArea.top) {
        top = workArea.top;
    } else if (top + height > workArea.bottom) {
        top = workArea.bottom - height;
    }
    SetWindowPos(nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void NagScreen::OnNotify(LPARAM lParam) {
    // Only the rich-edit control sends notifications: links under the mouse,
    // and its key events.
    const NMHDR* header = reinterpret_cast<const NMHDR*>(lParam);
    if (!header) return;
    bool open = false;
    if (header->code == EN_LINK) {
        open = reinterpret_cast<const ENLINK*>(lParam)->msg == WM_LBUTTONDOWN;
    } else if (header->code == EN_MSGFILTER) {
        const MSGFILTER* key = reinterpret_cast<const MSGFILTER*>(lParam);
        open = key->msg == WM_KEYDOWN && (key->wParam == VK_SPACE || key->wParam == VK_RETURN);
    }
    if (open) {
        // The target, not the text under the mouse: the two are one address.
        typedef HINSTANCE(WINAPI * ShellExecuteFn)(HWND, LPCSTR, LPCSTR, LPCSTR, LPCSTR, INT);
        ShellExecuteFn shellExecute =
            reinterpret_cast<ShellExecuteFn>(GetSystemLibraryFunction("shell32.dll", "ShellExecuteA"));
        if (shellExecute) shellExecute(nullptr, "open", m_linkTarget, nullptr, nullptr, SW_SHOWNORMAL);
    }
}
