#include "framework/AppModule.h"

CAppModule _Module;

BOOL CAppModule::AddMessageLoop(CMessageLoop* loop) {
    if (m_loop) return FALSE;
    m_loop = loop;
    m_loopThread = GetCurrentThreadId();
    return TRUE;
}

int CMessageLoop::Run() {
    MSG message;
    BOOL result;
    while ((result = GetMessageA(&message, nullptr, 0, 0)) != 0) {
        if (result == -1) continue;
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return static_cast<int>(message.wParam);
}
