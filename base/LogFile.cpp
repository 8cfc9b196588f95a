#include "base/LogFile.h"

#include <share.h>

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
    EnterCriticalSection(&m_lock);
    if (!m_file) m_file = _fsopen(name, mode, _SH_DENYNO);
    LeaveCriticalSection(&m_lock);
}

void LogFile::Write(const char* chunk) {
    if (!chunk) return;
    EnterCriticalSection(&m_lock);
    if (m_file) {
        std::fputs(chunk, m_file);
        std::fflush(m_file);
    }
    LeaveCriticalSection(&m_lock);
}

void LogFile::Close() {
    EnterCriticalSection(&m_lock);
    if (m_file) {
        std::fclose(m_file);
        m_file = nullptr;
    }
    LeaveCriticalSection(&m_lock);
}

bool LogFile::IsOpen() const {
    EnterCriticalSection(&m_lock);
    bool open = m_file != nullptr;
    LeaveCriticalSection(&m_lock);
    return open;
}
