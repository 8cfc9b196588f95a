#pragma once
// The last bytes of the application's output, kept for the start error
// dialog. Appended to by the application pipe's reader thread, read by the
// main thread once the watch has ended.
#include "framework/Text.h"

#include <windows.h>

class OutputTail {
public:
    explicit OutputTail(size_t capacity);
    // Never deleted for the same reason as LogFile's: the reader thread may
    // outlive the exit handlers.
    ~OutputTail() {}
    OutputTail(const OutputTail&) = delete;
    OutputTail& operator=(const OutputTail&) = delete;

    void Append(const char* chunk);
    // The last lines that fit: when older output was dropped, the text
    // starts after the first line break, so no line is shown cut at its start.
    Text LastLines() const;

private:
    mutable CRITICAL_SECTION m_lock;
    size_t m_capacity;
    bool m_dropped;
    Text m_text;
};
