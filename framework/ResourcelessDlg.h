#pragma once
// A dialog that carries no resource: the derived class T describes its
// template with the builder operations below in DefineTemplate(), which is
// called twice, once to measure the template and once to write it.
#include <windows.h>

#include "framework/Array.h"

#include "framework/DialogTemplate.h"
#include "framework/Window.h"

namespace ATL {

template <class T>
class CResourcelessDlg : public CDialogImplBaseT<CWindow> {
public:
    CResourcelessDlg()
        : m_itemCount(0), m_totalSize(0), m_writeOffset(0), m_sizeAccumulator(nullptr),
          m_template(nullptr), m_modal(false) {}

    // The dialog's EndDialog result; 0 when the template memory cannot be
    // allocated, -1 when the dialog cannot be created.
    INT_PTR RunModal(HWND owner, LPARAM initParam) {
        m_modal = true;
        if (!AllocateTemplate()) return 0;
        RegisterDialogBeingCreated(this);
        WriteTemplate();
        INT_PTR result = DialogBoxIndirectParamA(GetModuleHandleA(nullptr),
                                                 reinterpret_cast<const DLGTEMPLATE*>(m_template), owner,
                                                 StartDialogProc, initParam);
        // When creation failed before the first message, nobody took it.
        if (result == -1) TakeDialogBeingCreated();
        FreeTemplate();
        return result;
    }

    // The template exactly as RunModal passes it to the system.
    Array<BYTE> BuildTemplate() {
        Array<BYTE> bytes;
        if (AllocateTemplate()) {
            WriteTemplate();
            bytes.assign(m_template, m_template + m_writeOffset);
            FreeTemplate();
        }
        return bytes;
    }

    virtual BOOL DestroyWindow() { return ::DestroyWindow(m_hWnd); }

    // IDOK / IDCANCEL and the like: a modal dialog ends with the control's id.
    virtual LRESULT OnCloseCmd(WORD notifyCode, WORD id, HWND control) {
        if (m_modal) {
            ::EndDialog(m_hWnd, id);
        } else {
            DestroyWindow();
        }
        return 0;
    }

protected:
    void AddDialogHeader(const char* title, DWORD style, DWORD exStyle, short x, short y, short cx, short cy,
                         WORD pointSize, const char* typeface, const char* menu, const char* windowClass) {
        Advance(WriteDialogHeader(WritePosition(), title, style, exStyle, x, y, cx, cy, pointSize, typeface, menu,
                                  windowClass));
        m_itemCount = 0;
    }

    void AddControl(const char* text, DWORD style, DWORD exStyle, short x, short y, short cx, short cy, WORD id,
                    const char* windowClass) {
        DialogItemClass itemClass = {windowClass, 0};
        AddItem(text, style, exStyle, x, y, cx, cy, id, itemClass);
    }

    void AddControl(const char* text, DWORD style, DWORD exStyle, short x, short y, short cx, short cy, WORD id,
                    WORD classOrdinal) {
        DialogItemClass itemClass = {nullptr, classOrdinal};
        AddItem(text, style, exStyle, x, y, cx, cy, id, itemClass);
    }

    void AddButton(const char* text, DWORD style, DWORD exStyle, short x, short y, short cx, short cy, WORD id) {
        AddControl(text, style, exStyle, x, y, cx, cy, id, static_cast<WORD>(0x0080));
    }

    WORD m_itemCount;
    DWORD m_totalSize;
    DWORD m_writeOffset;
    DWORD* m_sizeAccumulator;
    BYTE* m_template;
    bool m_modal;

private:
    void AddItem(const char* text, DWORD style, DWORD exStyle, short x, short y, short cx, short cy, WORD id,
                 const DialogItemClass& itemClass) {
        Advance(WriteDialogItem(WritePosition(), text, style | WS_CHILD | WS_VISIBLE, exStyle, x, y, cx, cy, id,
                                itemClass));
        ++m_itemCount;
    }

    BYTE* WritePosition() const { return m_template ? m_template + m_writeOffset : nullptr; }

    void Advance(DWORD size) {
        m_totalSize += size;
        *m_sizeAccumulator += size;
    }

    // Measuring pass, then the heap block of the measured size.
    bool AllocateTemplate() {
        DWORD scratch = 0;
        m_totalSize = 0;
        m_writeOffset = 0;
        m_template = nullptr;
        m_sizeAccumulator = &scratch;
        static_cast<T*>(this)->DefineTemplate();
        m_sizeAccumulator = nullptr;
        m_template = static_cast<BYTE*>(HeapAlloc(GetProcessHeap(), 0, m_totalSize));
        return m_template != nullptr;
    }

    // Writing pass: each piece lands at the write offset, which moves on.
    void WriteTemplate() {
        m_sizeAccumulator = &m_writeOffset;
        static_cast<T*>(this)->DefineTemplate();
        m_sizeAccumulator = nullptr;
        SetDialogItemCount(m_template, m_itemCount);
    }

    void FreeTemplate() {
        HeapFree(GetProcessHeap(), 0, m_template);
        m_template = nullptr;
    }
};

}  // namespace ATL
