#include "tests/support/Files.h"

#include <windows.h>

bool WaitUntil(const std::function<bool()>& condition, unsigned timeoutMs) {
    DWORD start = GetTickCount();
    for (;;) {
        if (condition()) return true;
        if (GetTickCount() - start >= timeoutMs) return condition();
        Sleep(10);
    }
}

bool FileExists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

bool WaitForFile(const std::string& path, unsigned timeoutMs) {
    return WaitUntil([&] { return FileExists(path); }, timeoutMs);
}

bool CreateFolders(const std::string& folder) {
    std::string path = folder;
    while (!path.empty() && (path.back() == '\\' || path.back() == '/')) path.pop_back();
    if (path.empty() || FileExists(path)) return true;
    size_t slash = path.find_last_of("\\/");
    // Stop at a drive root such as "C:".
    if (slash != std::string::npos && slash > 2) CreateFolders(path.substr(0, slash));
    return CreateDirectoryA(path.c_str(), nullptr) || GetLastError() == ERROR_ALREADY_EXISTS;
}
