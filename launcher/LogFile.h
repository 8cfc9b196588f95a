#pragma once
// "log.txt": the application's console output in debug mode. Opened by the
// main thread, written by the application pipe's reader thread, closed at
// process exit. A lock keeps the close from racing a write.
#include <cstdio>

#include <windows.h>

class LogFile {
public:
    LogFile();
    ~LogFile();
    LogFile(const LogFile&) = delete;
    LogFile& operator=(const LogFile&) = delete;

    // Creates or truncates name in text mode, shared deny-none. A failed
    // open is silent: later writes do nothing.
    void Open(const char* name);
    // Writes the chunk up to its NUL and flushes.
    void Write(const char* chunk);
    void Close();
    bool IsOpen() const { return m_file != nullptr; }

private:
    CRITICAL_SECTION m_lock;
    FILE* m_file;
};
