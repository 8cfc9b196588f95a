#include "tools/testing/common/FileUtil.h"

#include <windows.h>

#include "tools/jarstart-tool/FileBytes.h"

bool ReadWholeFile(const std::string& path, std::string* content) {
    // The companion tool's reader: the tests see a file as the tool does.
    DWORD error = 0;
    if (ReadFileBytes(path, content, &error)) return true;
    content->clear();
    return false;
}

std::string ReadWholeFile(const std::string& path) {
    std::string content;
    ReadWholeFile(path, &content);
    return content;
}

bool WriteWholeFile(const std::string& path, const std::string& content) {
    std::string temp = path + ".tmp";
    HANDLE file = CreateFileA(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    bool ok = content.empty() ||
              (WriteFile(file, content.data(), static_cast<DWORD>(content.size()), &written, nullptr) &&
               written == content.size());
    CloseHandle(file);
    if (ok) ok = MoveFileExA(temp.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING) != FALSE;
    if (!ok) DeleteFileA(temp.c_str());
    return ok;
}

std::string GetExeFolder() {
    char path[MAX_PATH];
    DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string s(path, n);
    s.erase(s.find_last_of('\\') + 1);
    return s;
}
