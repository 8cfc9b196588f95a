#pragma once
// The start failure dialog: a caption, a centred read-only rich-edit text
// whose web address is a link, and an OK button. It has no resource; its
// template is built in memory.
#include <windows.h>

#include "framework/CString.h"
#include "framework/ResourcelessDlg.h"

class NagScreen : public ATL::CResourcelessDlg<NagScreen> {
public:
    enum { IDC_MESSAGE = 1004 };

    // height: of the dialog in dialog units; the controls are laid out from it.
    NagScreen(const char* caption, const char* linkTarget, const char* message, int height);

    BOOL ProcessWindowMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result,
                              DWORD mapId = 0) override;

    // Called by the base, once to measure and once to write.
    void DefineTemplate();

private:
    LRESULT OnInitDialog();
    void CentreInOwnerOrWorkArea();
    void OnNotify(LPARAM lParam);

    CString m_caption;
    CString m_linkTarget;
    CString m_message;
    int m_height;
};
