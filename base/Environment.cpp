#include "base/Environment.h"

#include <cstring>
#include <string>

#include <windows.h>

CString ExpandEnvironmentText(const char* text) {
    if (!text || !*text) return CString(text);
    // Nothing to expand, or more than the system expands: its buffers hold
    // 32K characters, and a longer text comes back cut or garbled.
    if (!std::strchr(text, '%') || std::strlen(text) >= 32767) return CString(text);
    std::string buffer(256, '\0');
    // The first call may report a larger size; a variable changed in
    // between (by another thread) only takes another round.
    for (int attempt = 0; attempt < 4; ++attempt) {
        DWORD needed = ExpandEnvironmentStringsA(text, &buffer[0], static_cast<DWORD>(buffer.size()));
        if (needed == 0) break;
        if (needed <= buffer.size()) return CString(buffer.c_str());
        buffer.assign(needed, '\0');
    }
    // Too long for the system to expand: taken as written.
    return CString(text);
}

CString GetEnvironmentText(const char* name) {
    DWORD size = GetEnvironmentVariableA(name, nullptr, 0);
    if (size == 0) return CString();
    std::string buffer(size, '\0');
    DWORD length = GetEnvironmentVariableA(name, &buffer[0], size);
    return length < size ? CString(buffer.c_str()) : CString();
}
