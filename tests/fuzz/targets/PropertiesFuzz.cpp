// The property readers over any string-table text: the buffer growing of
// LoadStringResource and the int / bool / string value rules, with a
// LoadStringA that copies like the system's.
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

// Copies at most capacity - 1 characters, always terminates, returns the
// count copied; an absent string copies nothing and returns 0.
int LoadStringA(HINSTANCE, UINT id, char* buffer, int capacity) {
    if (capacity <= 0) return 0;
    if (id != kPresentId) {
        buffer[0] = '\0';
        return 0;
    }
    size_t count = g_text.size() < static_cast<size_t>(capacity - 1) ? g_text.size() : capacity - 1;
    std::memcpy(buffer, g_text.data(), count);
    buffer[count] = '\0';
    return static_cast<int>(count);
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    g_text.assign(reinterpret_cast<const char*>(data), size);
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
