#include "base/Environment.h"

#include <cstring>
#include <string>

#include <windows.h>

namespace {

bool LookUpVariable(const std::string& name, std::string* value) {
    DWORD size = GetEnvironmentVariableA(name.c_str(), nullptr, 0);
    if (size == 0) return false;
    std::string buffer(size, '\0');
    DWORD length = GetEnvironmentVariableA(name.c_str(), &buffer[0], size);
    if (length >= size) return false;
    value->assign(buffer.c_str(), length);
    return true;
}

}  // namespace

// The system's rule, done here on the bytes: the system's own function
// converts the whole text to UTF-16 and back, which would change bytes of a
// file that are not valid in the code page although no variable is named.
// A name runs from a % to the next; an undefined one stays as written, both
// of its % included, and the scan goes on after it.
CString ExpandEnvironmentText(const char* text) {
    if (!text) return CString();
    std::string expanded;
    const char* rest = text;
    while (*rest) {
        const char* open = std::strchr(rest, '%');
        if (!open) {
            expanded += rest;
            break;
        }
        expanded.append(rest, open);
        const char* close = std::strchr(open + 1, '%');
        if (!close) {
            expanded += open;
            break;
        }
        std::string value;
        if (close > open + 1 && LookUpVariable(std::string(open + 1, close), &value)) expanded += value;
        else expanded.append(open, close + 1);
        rest = close + 1;
    }
    return CString(expanded);
}

CString GetEnvironmentText(const char* name) {
    std::string value;
    return LookUpVariable(name, &value) ? CString(value) : CString();
}
