#include "base/LauncherProperties.h"

#include <cstdlib>

#include <windows.h>

namespace {

HMODULE g_propertyModule = nullptr;

}  // namespace

void SetPropertyModule(HMODULE module) {
    g_propertyModule = module;
}

bool LoadStringResource(CString& target, unsigned id) {
    target.Empty();
    // With no buffer, LoadStringW hands out the text where it lies in the
    // resource, and its exact length. Guessing a buffer size and reading
    // again when the result came close to it cannot tell a whole text from a
    // cut one once a character may take up to four bytes (the UTF-8 code
    // page of the manifest).
    const wchar_t* text = nullptr;
    HMODULE module = g_propertyModule ? g_propertyModule : GetModuleHandleA(nullptr);
    int length = LoadStringW(module, id, reinterpret_cast<wchar_t*>(&text), 0);
    if (length <= 0 || !text) return false;
    int units = 0;
    while (units < length && text[units] != L'\0') ++units;
    int bytes = WideCharToMultiByte(CP_ACP, 0, text, units, nullptr, 0, nullptr, nullptr);
    if (bytes > 0) {
        char* buffer = target.GetBuffer(bytes);
        if (!buffer) return false;
        WideCharToMultiByte(CP_ACP, 0, text, units, buffer, bytes, nullptr, nullptr);
        buffer[bytes] = '\0';
        target.ReleaseBuffer();
    }
    return true;
}

bool ReadBoolProperty(unsigned id) {
    CString text;
    return LoadStringResource(text, id);
}

int ReadIntProperty(unsigned id) {
    CString text;
    if (!LoadStringResource(text, id)) return 0;
    return std::atoi(text);
}

CString ReadStringProperty(unsigned id) {
    CString text;
    LoadStringResource(text, id);
    return text;
}
