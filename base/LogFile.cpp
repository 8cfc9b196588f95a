#include "base/LogFile.h"

#include <share.h>

#include "framework/ScopedWin.h"

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

void LogFile::Open(const char* name) {
    ScopedLock lock(m_lock);
    if (!m_file) m_file = _fsopen(name, "w", _SH_DENYNO);
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
