#pragma once
// The smallest window and dialog classes the launcher's dialog needs: a
// window handle with a few helpers, the message-map interface, and a dialog
// base whose procedure hands every message of its window to the object.
#include <windows.h>

namespace ATL {

// A window handle; owns nothing.
class CWindow {
public:
    HWND m_hWnd;

    CWindow(HWND window = nullptr) : m_hWnd(window) {}
    operator HWND() const { return m_hWnd; }

    HWND GetDlgItem(int id) const { return ::GetDlgItem(m_hWnd, id); }
    BOOL SetDlgItemText(int id, const char* text) const { return ::SetDlgItemTextA(m_hWnd, id, text); }
    BOOL GetWindowRect(RECT* rect) const { return ::GetWindowRect(m_hWnd, rect); }
    HWND GetWindow(UINT relation) const { return ::GetWindow(m_hWnd, relation); }
    BOOL SetWindowPos(HWND insertAfter, int x, int y, int cx, int cy, UINT flags) const {
        return ::SetWindowPos(m_hWnd, insertAfter, x, y, cx, cy, flags);
    }
    LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const {
        return ::SendMessageA(m_hWnd, message, wParam, lParam);
    }
};

class CMessageMap {
public:
    // True when the message was handled; result then holds its result.
    virtual BOOL ProcessWindowMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                      LRESULT& result, DWORD mapId = 0) = 0;
};

template <class TBase = CWindow>
class CWindowImplRoot : public TBase, public CMessageMap {
public:
    CWindowImplRoot() : m_pCurrentMsg(nullptr), m_dwState(0) {}
    virtual ~CWindowImplRoot() {}

    // The message being handled, while ProcessWindowMessage runs.
    const MSG* m_pCurrentMsg;
    DWORD m_dwState;
};

template <class TBase = CWindow>
class CDialogImplBaseT : public CWindowImplRoot<TBase> {
public:
    virtual DLGPROC GetDialogProc();
    // Runs after the window's last message (WM_NCDESTROY); m_hWnd is null by then.
    virtual void OnFinalMessage(HWND window) {}

    // The procedure a new dialog starts with: attaches the window to the
    // object registered with RegisterDialogBeingCreated, then hands over.
    static INT_PTR CALLBACK StartDialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    static INT_PTR CALLBACK DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
};

// The hand-over of a dialog object to the window the system is creating for
// it. One slot per thread: dialog creation is synchronous, so the first
// message of the new window arrives on the registering thread before any
// other dialog can be created there.
void RegisterDialogBeingCreated(CDialogImplBaseT<CWindow>* dialog);
// Takes (and clears) the object registered on this thread; null when none.
CDialogImplBaseT<CWindow>* TakeDialogBeingCreated();

template <class TBase>
DLGPROC CDialogImplBaseT<TBase>::GetDialogProc() {
    return DialogProc;
}

template <class TBase>
INT_PTR CALLBACK CDialogImplBaseT<TBase>::StartDialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    CDialogImplBaseT<CWindow>* dialog = TakeDialogBeingCreated();
    if (!dialog) return FALSE;
    dialog->m_hWnd = window;
    // DWLP_USER is the dialog's own slot: it leads every later message from
    // the window back to its object.
    SetWindowLongPtrA(window, DWLP_USER, reinterpret_cast<LONG_PTR>(dialog));
    DLGPROC procedure = dialog->GetDialogProc();
    SetWindowLongPtrA(window, DWLP_DLGPROC, reinterpret_cast<LONG_PTR>(procedure));
    return procedure(window, message, wParam, lParam);
}

template <class TBase>
INT_PTR CALLBACK CDialogImplBaseT<TBase>::DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    CDialogImplBaseT<TBase>* dialog =
        reinterpret_cast<CDialogImplBaseT<TBase>*>(GetWindowLongPtrA(window, DWLP_USER));
    if (!dialog) return FALSE;
    MSG current = {window, message, wParam, lParam, 0, {0, 0}};
    const MSG* outer = dialog->m_pCurrentMsg;
    dialog->m_pCurrentMsg = &current;
    LRESULT result = 0;
    BOOL handled = dialog->ProcessWindowMessage(window, message, wParam, lParam, result, 0);
    dialog->m_pCurrentMsg = outer;
    if (handled) {
        switch (message) {
        // These return their result directly; everything else through
        // DWLP_MSGRESULT, as dialog procedures must.
        case WM_COMPAREITEM:
        case WM_VKEYTOITEM:
        case WM_CHARTOITEM:
        case WM_INITDIALOG:
        case WM_QUERYDRAGICON:
        case WM_CTLCOLORMSGBOX:
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORLISTBOX:
        case WM_CTLCOLORBTN:
        case WM_CTLCOLORDLG:
        case WM_CTLCOLORSCROLLBAR:
        case WM_CTLCOLORSTATIC:
            return static_cast<INT_PTR>(result);
        default:
            SetWindowLongPtrA(window, DWLP_MSGRESULT, result);
            return TRUE;
        }
    }
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrA(window, DWLP_USER, 0);
        dialog->m_hWnd = nullptr;
        dialog->OnFinalMessage(window);
    }
    return FALSE;
}

}  // namespace ATL
