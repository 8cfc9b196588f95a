#pragma once
// Collects this process's own diagnostic-log entries while it lives, so that
// in-process tests can assert the exact log lines of a lookup. Entries from
// every thread are kept, in the order they were written.
#include <string>
#include <vector>

class LogCapture {
public:
    LogCapture();
    ~LogCapture();
    LogCapture(const LogCapture&) = delete;
    LogCapture& operator=(const LogCapture&) = delete;

    std::vector<std::string> Entries() const;
    void Clear();

private:
    void* m_handler;
};

// The entries joined with "\n", for readable failure messages.
std::string JoinEntries(const std::vector<std::string>& entries);
