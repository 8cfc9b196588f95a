#include "tools/jarstart-tool/FileBytes.h"

#include "framework/ScopedWin.h"

bool ReadFileBytes(const std::string& path, std::string* bytes, DWORD* error) {
    int length = MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, nullptr, 0);
    std::wstring wide(length > 0 ? length : 1, L'\0');
    if (length <= 0 || !MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, &wide[0], length)) {
        *error = GetLastError();
        return false;
    }
    wide.resize(length - 1);
    return ReadFileBytesW(wide, bytes, error);
}

bool ReadFileBytesW(const std::wstring& path, std::string* bytes, DWORD* error) {
    ScopedHandle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.IsValid()) {
        *error = GetLastError();
        return false;
    }
    LARGE_INTEGER size = {};
    if (!GetFileSizeEx(file, &size)) {
        *error = GetLastError();
        return false;
    }
    if (size.QuadPart > 0x7FFFFFFF) {
        *error = ERROR_FILE_TOO_LARGE;
        return false;
    }
    bytes->assign(static_cast<size_t>(size.QuadPart), '\0');
    DWORD read = 0;
    if (!bytes->empty() && !ReadFile(file, &(*bytes)[0], static_cast<DWORD>(bytes->size()), &read, nullptr)) {
        *error = GetLastError();
        return false;
    }
    if (read != bytes->size()) {
        *error = ERROR_READ_FAULT;
        return false;
    }
    return true;
}

bool WriteFileBytes(const std::string& path, const std::string& bytes, DWORD* error) {
    ScopedHandle file(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.IsValid()) {
        *error = GetLastError();
        return false;
    }
    DWORD written = 0;
    if (!bytes.empty() && !WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr)) {
        *error = GetLastError();
        return false;
    }
    if (written != bytes.size()) {
        *error = ERROR_WRITE_FAULT;
        return false;
    }
    return true;
}

std::string SystemText(DWORD error) {
    char* text = nullptr;
    DWORD n = FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                             nullptr, error, 0, reinterpret_cast<char*>(&text), 0, nullptr);
    std::string message = n && text ? std::string(text, n) : std::string();
    if (text) LocalFree(text);
    while (!message.empty() && (message.back() == '\r' || message.back() == '\n' || message.back() == ' '))
        message.pop_back();
    return message;
}

std::string SystemMessage(DWORD error) {
    std::string message = SystemText(error);
    while (!message.empty() && (message.back() == '\r' || message.back() == '\n' || message.back() == ' ' ||
                                message.back() == '.'))
        message.pop_back();
    for (char& c : message)
        if (c == '\r' || c == '\n') c = ' ';
    if (message.empty()) message = "error " + std::to_string(error);
    return message;
}
