#include "process/ConsoleCodePage.h"

#include <cstdlib>
#include <vector>

bool OwnCodePagesAreUtf8() {
    return GetOEMCP() == CP_UTF8;
}

UINT SystemOemCodePage() {
    char number[8] = {};
    if (!GetLocaleInfoA(LOCALE_SYSTEM_DEFAULT, LOCALE_IDEFAULTCODEPAGE, number, sizeof(number))) return CP_OEMCP;
    UINT page = static_cast<UINT>(std::atoi(number));
    return page ? page : CP_OEMCP;
}

std::string ConvertCodePage(const char* text, int length, UINT from, UINT to) {
    if (length <= 0) return std::string();
    int wideLength = MultiByteToWideChar(from, 0, text, length, nullptr, 0);
    if (wideLength <= 0) return std::string(text, length);
    std::vector<wchar_t> wide(wideLength);
    MultiByteToWideChar(from, 0, text, length, wide.data(), wideLength);
    int size = WideCharToMultiByte(to, 0, wide.data(), wideLength, nullptr, 0, nullptr, nullptr);
    if (size <= 0) return std::string(text, length);
    std::string converted(size, '\0');
    WideCharToMultiByte(to, 0, wide.data(), wideLength, &converted[0], size, nullptr, nullptr);
    return converted;
}
