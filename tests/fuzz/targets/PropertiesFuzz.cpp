// The property readers over any string-table text: the exact read of
// LoadStringResource and the int / bool / string value rules, with a
// LoadStringW that hands out the text in place like the system's.
#include <climits>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include <windows.h>

#include "base/LauncherProperties.h"

namespace {

const unsigned kPresentId = 98;
const unsigned kAbsentId = 99;
std::string g_text;  // the text of kPresentId
std::wstring g_units;  // g_text as the resource holds it, in code page 1252

// The int rule written out: leading white space, an optional sign and
// decimal digits; 0 when no digit follows. Only texts whose value fits in
// an int are compared.
bool ReadNumber(const char* text, long long* value) {
    while (*text == ' ' || (*text >= '\t' && *text <= '\r')) ++text;
    bool negative = *text == '-';
    if (*text == '-' || *text == '+') ++text;
    long long result = 0;
    for (; *text >= '0' && *text <= '9'; ++text) {
        result = result * 10 + (*text - '0');
        if (result > 1LL << 40) return false;
    }
    *value = negative ? -result : result;
    return *value >= INT_MIN && *value <= INT_MAX;
}

}  // namespace

HMODULE GetModuleHandleA(const char*) { return reinterpret_cast<HMODULE>(0x400000); }

int LoadStringW(HINSTANCE, UINT id, wchar_t* buffer, int capacity) {
    if (capacity != 0 || id != kPresentId || g_units.empty()) return 0;
    *reinterpret_cast<const wchar_t**>(buffer) = g_units.data();
    return static_cast<int>(g_units.size());
}

int WideCharToMultiByte(UINT, DWORD, const wchar_t* text, int length, char* out, int capacity, const char*, BOOL*) {
    if (length < 0 || (out && capacity < length)) return 0;
    for (int i = 0; out && i < length; ++i) {
        unsigned char byte = 0;
        // The inverse of AnsiToUnit: every byte has exactly one unit.
        while (AnsiToUnit(byte) != static_cast<WCHAR>(text[i])) ++byte;
        out[i] = static_cast<char>(byte);
    }
    return length;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    g_text.assign(reinterpret_cast<const char*>(data), size);
    g_units.clear();
    for (char c : g_text) g_units += static_cast<wchar_t>(AnsiToUnit(static_cast<unsigned char>(c)));
    const std::string upToNul(g_text.c_str());

    // A string is the whole text up to its first NUL, whatever its length.
    if (std::string(ReadStringProperty(kPresentId).GetString()) != upToNul) std::abort();
    // A bool is true when anything was loaded at all.
    if (ReadBoolProperty(kPresentId) != !g_text.empty()) std::abort();
    long long value = 0;
    if (ReadNumber(upToNul.c_str(), &value) && ReadIntProperty(kPresentId) != value) std::abort();

    if (!ReadStringProperty(kAbsentId).IsEmpty() || ReadBoolProperty(kAbsentId) || ReadIntProperty(kAbsentId) != 0)
        std::abort();
    return 0;
}
