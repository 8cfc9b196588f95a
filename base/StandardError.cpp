#include "base/StandardError.h"

#include <windows.h>

#include "framework/Array.h"

#include "base/LauncherFolder.h"
#include "framework/Text.h"

Text PrefixLines(const Text& programName, const char* text) {
    Text out;
    Text rest = text ? text : "";
    size_t start = 0;
    while (start < rest.size()) {
        size_t end = rest.find('\n', start);
        if (end == Text::npos) end = rest.size();
        size_t lineEnd = end > start && rest[end - 1] == '\r' ? end - 1 : end;
        out += programName + ": " + rest.substr(start, lineEnd - start) + "\r\n";
        start = end + 1;
    }
    return out;
}

void WriteStandardError(const Text& text) {
    HANDLE handle = GetStdHandle(STD_ERROR_HANDLE);
    if (text.empty() || handle == nullptr || handle == INVALID_HANDLE_VALUE) return;
    DWORD mode = 0;
    if (GetConsoleMode(handle, &mode)) {
        int length = MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
        if (length > 0) {
            Array<wchar_t> wide(length);
            MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), wide.data(), length);
            DWORD written = 0;
            WriteConsoleW(handle, wide.data(), static_cast<DWORD>(length), &written, nullptr);
            return;
        }
    }
    // One call per text, so lines written by two threads do not interleave
    // inside a line.
    DWORD written = 0;
    WriteFile(handle, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
}

Text LauncherFileName() {
    char path[MAX_PATH];
    int lastBackslash = GetLauncherFolder(path);
    return Text(path + lastBackslash + 1);
}
