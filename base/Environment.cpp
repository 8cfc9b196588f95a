#include "base/Environment.h"

#include <cstring>
#include "framework/Text.h"

#include <windows.h>

namespace {

bool LookUpVariable(const Text& name, Text* value) {
    DWORD size = GetEnvironmentVariableA(name.c_str(), nullptr, 0);
    if (size == 0) return false;
    Text buffer(size, '\0');
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
    Text expanded;
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
        Text value;
        if (close > open + 1 && LookUpVariable(Text(open + 1, close), &value)) expanded += value;
        else expanded.append(open, close + 1);
        rest = close + 1;
    }
    return CString(expanded);
}

CString GetEnvironmentText(const char* name) {
    Text value;
    return LookUpVariable(name, &value) ? CString(value) : CString();
}
