#include "runtime/VersionProbe.h"

#include <new>

#include "base/DiagnosticLog.h"
#include "base/Globals.h"
#include "framework/Text.h"
#include "runtime/Version.h"

namespace {

// A sound runtime answers -version well within this even on a cold start;
// past it the probe gives up rather than hold the launch.
const DWORD kProbeTimeoutMs = 3000;

}  // namespace

void SpendProbeTime(DWORD spentMs) {
    if (g_probeTimeLeftMs == INFINITE) return;
    g_probeTimeLeftMs = spentMs < g_probeTimeLeftMs ? g_probeTimeLeftMs - spentMs : 0;
}

JavaVersionLog::JavaVersionLog()
    : CConsolePipe(PIPE_KIND_PROGRAM, PIPE_KEEP_OBJECT),
      // Manual reset: once the output has ended it stays ended for every waiter.
      m_ended(CreateEventA(nullptr, TRUE, FALSE, nullptr)),
      m_endSeen(false) {}

JavaVersionLog::~JavaVersionLog() {
    // Stop a reader that may still be running before the lock and the event
    // it uses go away.
    Close();
}

void JavaVersionLog::OnOutput(const char* text) {
    if (!text) {
        if (m_ended) SetEvent(m_ended);
        return;
    }
    write(text);
    // The probing thread copies the text while this reader thread appends;
    // the lock makes every copy end on a chunk boundary.
    ScopedLock lock(m_lock);
    m_capturedText += text;
}

Text JavaVersionLog::GetOutput() {
    ScopedLock lock(m_lock);
    return m_capturedText;
}

bool JavaVersionLog::WaitForEnd(DWORD timeoutMs) {
    if (m_endSeen) return true;
    if (!m_ended) {
        Sleep(timeoutMs);
        return false;
    }
    if (WaitForSingleObject(m_ended, timeoutMs) != WAIT_OBJECT_0) return false;
    // The object outlives the probe, so the event would otherwise stay open
    // until the launcher ends, one per probe. Once it is set the reader has
    // made its only use of it.
    m_ended.Close();
    m_endSeen = true;
    return true;
}

CString ProbeJavaVersion(const CString& home) {
    JavaVersionLog* probe = nullptr;
    // An empty home would start \bin\java.exe at the root of the current
    // drive, which is no runtime anyone chose: nothing is run for it.
    if (!home.IsEmpty()) {
        // Never deleted: when the wait gives up, the reader thread may still
        // be running and using the object, so it stays alive until the
        // launcher ends.
        if (g_probeTimeLeftMs == 0) {
            g_log << "Version probes took too long, not probed: " << home << logEnd;
        } else {
            probe = new (std::nothrow) JavaVersionLog();
            if (!probe) return CString();
            // Quoted: under C:\Program Files an unquoted path makes
            // CreateProcessA try C:\Program.exe first.
            CString command = "\"" + home + "\\bin\\java.exe\" -version";
            DWORD wait = g_probeTimeLeftMs < kProbeTimeoutMs ? g_probeTimeLeftMs : kProbeTimeoutMs;
            DWORD started = GetTickCount();
            if (probe->Execute(command) == 0 && !probe->WaitForEnd(wait) && wait < kProbeTimeoutMs)
                g_log << "Version probes took too long, probe cut short: " << home << logEnd;
            SpendProbeTime(GetTickCount() - started);
        }
    }
    g_log << "Info = " << logEnd;
    g_log << (probe ? probe->GetOutput() : Text()) << logEnd;
    // Read again: after a timeout more output may have arrived since.
    return CString(ExtractVersion(probe ? probe->GetOutput() : Text()));
}

bool IsVersionSufficient(const char* version) {
    if (!VersionAtLeast(g_minJavaVersion, version)) return false;
    return g_maxJavaVersion.IsEmpty() || VersionAtMost(g_maxJavaVersion, version);
}
