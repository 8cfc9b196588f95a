#include "tests/support/Dialogs.h"

#include "tests/support/Files.h"

namespace {

struct WindowSearch {
    DWORD processId;
    bool visibleOnly;
    std::vector<HWND> found;
};

BOOL CALLBACK CollectWindow(HWND window, LPARAM param) {
    WindowSearch* search = reinterpret_cast<WindowSearch*>(param);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == search->processId && (!search->visibleOnly || IsWindowVisible(window)))
        search->found.push_back(window);
    return TRUE;
}

BOOL CALLBACK CollectChild(HWND window, LPARAM param) {
    reinterpret_cast<std::vector<HWND>*>(param)->push_back(window);
    return TRUE;
}

}  // namespace

std::vector<HWND> FindProcessWindows(DWORD processId, bool visibleOnly) {
    WindowSearch search = {processId, visibleOnly, {}};
    EnumWindows(CollectWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

std::vector<HWND> FindProcessDialogs(DWORD processId) {
    std::vector<HWND> dialogs;
    for (HWND window : FindProcessWindows(processId, true))
        if (GetClassNameString(window) == "#32770") dialogs.push_back(window);
    return dialogs;
}

HWND WaitForDialog(DWORD processId, DWORD timeoutMs) {
    HWND dialog = nullptr;
    WaitUntil(
        [&] {
            std::vector<HWND> dialogs = FindProcessDialogs(processId);
            dialog = dialogs.empty() ? nullptr : dialogs.front();
            return dialog != nullptr;
        },
        timeoutMs);
    return dialog;
}

std::string GetWindowTextString(HWND window) {
    int length = GetWindowTextLengthA(window);
    if (length <= 0) return std::string();
    std::string text(static_cast<size_t>(length) + 1, '\0');
    int copied = GetWindowTextA(window, &text[0], length + 1);
    text.resize(copied > 0 ? static_cast<size_t>(copied) : 0);
    return text;
}

std::string GetClassNameString(HWND window) {
    char name[256] = "";
    int n = GetClassNameA(window, name, sizeof(name));
    return std::string(name, n > 0 ? static_cast<size_t>(n) : 0);
}

std::string GetDialogText(HWND dialog) {
    HWND richEdit = GetDlgItem(dialog, 1004);
    if (richEdit) {
        // WM_GETTEXT is marshalled across processes; GetWindowText would only
        // see the text the control was created with.
        DWORD_PTR length = 0;
        if (!SendMessageTimeoutA(richEdit, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 5000, &length)) return std::string();
        std::string text(length + 1, '\0');
        DWORD_PTR copied = 0;
        if (!SendMessageTimeoutA(richEdit, WM_GETTEXT, length + 1, reinterpret_cast<LPARAM>(&text[0]), SMTO_ABORTIFHUNG,
                                 5000, &copied))
            return std::string();
        text.resize(copied);
        return text;
    }
    std::vector<HWND> children;
    EnumChildWindows(dialog, CollectChild, reinterpret_cast<LPARAM>(&children));
    std::string longest;
    for (HWND child : children) {
        if (_stricmp(GetClassNameString(child).c_str(), "Static") != 0) continue;
        std::string text = GetWindowTextString(child);
        if (text.size() > longest.size()) longest = text;
    }
    return longest;
}

void PressDialogButton(HWND dialog, int id) {
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}
