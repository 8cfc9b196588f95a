#pragma once
// Runs "<home>\bin\java.exe" -version and reads the version it reports.
#include <windows.h>

#include <string>

#include "framework/CString.h"
#include "process/ConsolePipe.h"

class JavaVersionLog : public CConsolePipe {
public:
    JavaVersionLog();
    ~JavaVersionLog() override;
    void OnOutput(const char* text) override;
    std::string GetOutput();
    // Waits until the output has ended or timeoutMs passed; true when ended.
    bool WaitForEnd(DWORD timeoutMs);

private:
    CRITICAL_SECTION m_lock;
    HANDLE m_ended;
    std::string m_capturedText;
};

CString ProbeJavaVersion(const CString& home);
