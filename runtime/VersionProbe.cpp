// Stand-in until this subsystem is built.
#include "runtime/VersionProbe.h"
JavaVersionLog::JavaVersionLog() : CConsolePipe(1, PIPE_KEEP_OBJECT), m_ended(nullptr) { InitializeCriticalSection(&m_lock); }
JavaVersionLog::~JavaVersionLog() {}
void JavaVersionLog::OnOutput(const char*) {}
std::string JavaVersionLog::GetOutput() { return m_capturedText; }
bool JavaVersionLog::WaitForEnd(DWORD) { return true; }
CString ProbeJavaVersion(const CString&) { return CString(); }
