#pragma once
// The smallest application-module and message-loop objects the launcher uses.
#include <windows.h>

class CMessageLoop {
public:
    // Runs GetMessage / TranslateMessage / DispatchMessage until WM_QUIT.
    int Run();
};

class CAppModule {
public:
    CAppModule() : m_instance(nullptr), m_loopThread(0), m_loop(nullptr) {}
    HRESULT Init(HINSTANCE instance) { m_instance = instance; return S_OK; }
    // Registers loop as the message loop of the calling thread.
    BOOL AddMessageLoop(CMessageLoop* loop);
    void RemoveMessageLoop() { m_loop = nullptr; m_loopThread = 0; }
    CMessageLoop* GetMessageLoop() const { return m_loopThread == GetCurrentThreadId() ? m_loop : nullptr; }
    HINSTANCE GetModuleInstance() const { return m_instance; }

private:
    HINSTANCE m_instance;
    DWORD m_loopThread;
    CMessageLoop* m_loop;
};

extern CAppModule _Module;
