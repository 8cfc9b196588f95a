#include "base/CodePages.h"

#include <cstdlib>
#include "framework/Array.h"
#include "framework/Text.h"

bool OwnCodePagesAreUtf8() {
    return GetOEMCP() == CP_UTF8;
}

namespace {

UINT SystemCodePage(LCTYPE which, UINT fallback) {
    char number[8] = {};
    if (!GetLocaleInfoA(LOCALE_SYSTEM_DEFAULT, which, number, sizeof(number))) return fallback;
    UINT page = static_cast<UINT>(std::atoi(number));
    return page ? page : fallback;
}

}  // namespace

UINT SystemOemCodePage() {
    return SystemCodePage(LOCALE_IDEFAULTCODEPAGE, CP_OEMCP);
}

UINT SystemAnsiCodePage() {
    return SystemCodePage(LOCALE_IDEFAULTANSICODEPAGE, CP_ACP);
}

bool IsValidUtf8(const char* text, int length) {
    return length <= 0 || MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text, length, nullptr, 0) > 0;
}

Text ConvertCodePage(const char* text, int length, UINT from, UINT to) {
    if (length <= 0) return Text();
    int wideLength = MultiByteToWideChar(from, 0, text, length, nullptr, 0);
    if (wideLength <= 0) return Text(text, length);
    Array<wchar_t> wide(wideLength);
    MultiByteToWideChar(from, 0, text, length, wide.data(), wideLength);
    int size = WideCharToMultiByte(to, 0, wide.data(), wideLength, nullptr, 0, nullptr, nullptr);
    if (size <= 0) return Text(text, length);
    Text converted(size, '\0');
    WideCharToMultiByte(to, 0, wide.data(), wideLength, &converted[0], size, nullptr, nullptr);
    return converted;
}
