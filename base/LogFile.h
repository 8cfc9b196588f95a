#pragma once
// "log.txt": the application's console output in debug mode. Opened by the
// main thread, written by the application pipe's reader thread, closed at
// process exit while that thread may still be writing.
#include <cstdio>

#include <windows.h>

class LogFile {
public:
    LogFile();
    // Closes the file. The lock is never deleted: the reader thread may
    // still call Write after the exit handlers have run, and then finds the
    // file closed and does nothing.
    ~LogFile();
    LogFile(const LogFile&) = delete;
    LogFile& operator=(const LogFile&) = delete;

    // Opens name in text mode, shared deny-none, not inherited by child
    // processes: created or truncated with mode "w", appended to with "a".
    // A failed open is silent: later writes do nothing.
    void Open(const char* name, const char* mode = "w");
    // Writes the chunk up to its NUL and flushes, so the file is complete
    // after every chunk. Does nothing when the file is not open.
    void Write(const char* chunk);
    // Waits for a Write in progress, then closes; every chunk whose Write
    // took the lock first is in the file.
    void Close();
    bool IsOpen() const;
    // The file's system handle; INVALID_HANDLE_VALUE when it is not open.
    HANDLE SystemHandle() const;

private:
    // A bare section rather than an owner that would delete it: see ~LogFile.
    mutable CRITICAL_SECTION m_lock;
    FILE* m_file;
};
