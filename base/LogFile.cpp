#include "base/LogFile.h"

#include <io.h>
#include <share.h>

#include "framework/ScopedWin.h"

namespace {

HANDLE LogFileHandle(FILE* file) {
    return reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(file)));
}

}  // namespace

LogFile::LogFile() : m_file(nullptr) {
    InitializeCriticalSection(&m_lock);
}

LogFile::~LogFile() {
    // Runs from the exit handlers (return from WinMain or exit(0) from the
    // start-up watch) while the application's reader thread lives on until
    // the process is torn down. Deleting the lock here would hand that
    // thread a dead lock; the process reclaims it anyway.
    Close();
}

void LogFile::Open(const char* name, const char* mode) {
    ScopedLock lock(m_lock);
    if (!m_file) {
        m_file = _fsopen(name, mode, _SH_DENYNO);
        // The C runtime opens files inheritable, and every child is started
        // with inheritance on (it must receive its pipe ends): each version
        // probe and the application itself would hold log.txt open for as
        // long as they run.
        if (m_file) SetHandleInformation(LogFileHandle(m_file), HANDLE_FLAG_INHERIT, 0);
    }
}

void LogFile::Write(const char* chunk) {
    if (!chunk) return;
    ScopedLock lock(m_lock);
    if (m_file) {
        std::fputs(chunk, m_file);
        std::fflush(m_file);
    }
}

void LogFile::Close() {
    ScopedLock lock(m_lock);
    if (m_file) {
        std::fclose(m_file);
        m_file = nullptr;
    }
}

bool LogFile::IsOpen() const {
    ScopedLock lock(m_lock);
    return m_file != nullptr;
}

HANDLE LogFile::SystemHandle() const {
    ScopedLock lock(m_lock);
    return m_file ? LogFileHandle(m_file) : INVALID_HANDLE_VALUE;
}
