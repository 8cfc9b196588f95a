#include "tools/jarstart-tool/AnsiText.h"

#include <windows.h>

std::u16string AnsiToUtf16(const std::string& text) {
    if (text.empty()) return std::u16string();
    int n = MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring wide(n, L'\0');
    MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), &wide[0], n);
    return std::u16string(wide.begin(), wide.end());
}

std::string Utf16ToAnsi(const std::u16string& text) {
    if (text.empty()) return std::string();
    std::wstring wide(text.begin(), text.end());
    int n = WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0, nullptr, nullptr);
    std::string narrow(n, '\0');
    WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()), &narrow[0], n, nullptr, nullptr);
    return narrow;
}
