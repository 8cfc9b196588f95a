#pragma once
// Runs "<home>\bin\java.exe" -version and reads the version it reports.
#include <windows.h>

#include "framework/Text.h"

#include "framework/CString.h"
#include "framework/ScopedWin.h"
#include "process/ConsolePipe.h"

// Gathers the output of a -version run. OnOutput runs on the pipe's reader
// thread, GetOutput on the probing thread.
class JavaVersionLog : public CConsolePipe {
public:
    JavaVersionLog();
    ~JavaVersionLog() override;
    JavaVersionLog(const JavaVersionLog&) = delete;
    JavaVersionLog& operator=(const JavaVersionLog&) = delete;
    void OnOutput(const char* text) override;
    // A copy of the output so far; never ends inside a chunk.
    Text GetOutput();
    // Waits until the output has ended or timeoutMs passed; true when ended.
    // Probing thread only: the first wait that sees the end closes the event.
    bool WaitForEnd(DWORD timeoutMs);

private:
    CriticalSection m_lock;
    ScopedHandle m_ended;
    bool m_endSeen;
    Text m_capturedText;
};

// The version that "<home>\bin\java.exe" -version reports, or "" (empty
// home, no start, no version line, no answer within 3 s or within what is
// left of g_probeTimeLeftMs, nothing left of it). Returns as soon as the
// output has ended.
CString ProbeJavaVersion(const CString& home);

// Takes spentMs off g_probeTimeLeftMs (nothing when the search has no
// budget); also spent by lookups on network shares.
void SpendProbeTime(DWORD spentMs);

// Whether a runtime that reports version meets the launcher's minimum and,
// when one is set, its maximum (g_maxJavaVersion).
bool IsVersionSufficient(const char* version);
