// The file-system layer on Windows: wide calls, so that a UTF-8 path may
// name any file whatever the ANSI code page.
#include "tools/jarstart-tool/HostFiles.h"

#include <windows.h>

#include "framework/ScopedWin.h"
#include "tools/jarstart-tool/FileBytes.h"
#include "tools/jarstart-tool/Utf8Text.h"

namespace {
std::wstring Wide(const std::string& utf8) {
    std::u16string text = Utf8ToUtf16(utf8);
    return std::wstring(text.begin(), text.end());
}

std::string Reason(DWORD error) {
    switch (error) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_NAME:
    case ERROR_DIRECTORY: return FileReason::kNotFound;
    case ERROR_ACCESS_DENIED:
    case ERROR_WRITE_PROTECT: return FileReason::kAccessDenied;
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION: return FileReason::kInUse;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL: return FileReason::kDiskFull;
    case ERROR_FILE_TOO_LARGE: return FileReason::kTooLarge;
    default: return SystemMessage(error);
    }
}

std::wstring FolderOf(const std::wstring& path) {
    size_t slash = path.find_last_of(L"\\/");
    if (slash == std::wstring::npos) return L".";
    if (slash == 0 || (slash == 2 && path[1] == L':')) return path.substr(0, slash + 1);
    return path.substr(0, slash);
}

bool IsFolder(const std::wstring& path) {
    DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}
}  // namespace

bool ReadWholeFile(const std::string& path, std::string* bytes, std::string* reason) {
    std::wstring wide = Wide(path);
    if (IsFolder(wide)) {
        *reason = FileReason::kFolder;
        return false;
    }
    DWORD error = 0;
    if (ReadFileBytesW(wide, bytes, &error)) return true;
    *reason = error == ERROR_READ_FAULT ? "the file became shorter while it was read" : Reason(error);
    return false;
}

bool ReplaceWholeFile(const std::string& path, const std::string& bytes, ReplaceStage* stage, std::string* reason) {
    std::wstring wide = Wide(path);
    // A rename replaces a read-only file on some systems; one its owner
    // marked read-only is not ours to replace.
    DWORD existing = GetFileAttributesW(wide.c_str());
    if (existing != INVALID_FILE_ATTRIBUTES && (existing & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY))) {
        *stage = ReplaceStage::Existing;
        *reason = (existing & FILE_ATTRIBUTE_DIRECTORY) ? FileReason::kFolder : FileReason::kAccessDenied;
        return false;
    }
    wchar_t temp[MAX_PATH];
    if (!GetTempFileNameW(FolderOf(wide).c_str(), L"jst", 0, temp)) {
        *stage = ReplaceStage::Temporary;
        *reason = Reason(GetLastError());
        return false;
    }
    bool written = false;
    DWORD error = 0;
    {
        ScopedHandle file(CreateFileW(temp, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
        DWORD done = 0;
        written = file.IsValid() &&
                  (bytes.empty() || WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &done, nullptr)) &&
                  done == bytes.size();
        if (!written) error = GetLastError();
    }
    if (!written) {
        DeleteFileW(temp);
        *stage = ReplaceStage::Write;
        *reason = Reason(error ? error : ERROR_WRITE_FAULT);
        return false;
    }
    if (!MoveFileExW(temp, wide.c_str(), MOVEFILE_REPLACE_EXISTING)) {
        error = GetLastError();
        DeleteFileW(temp);
        *stage = ReplaceStage::Rename;
        *reason = Reason(error);
        return false;
    }
    return true;
}

bool PathExistsOnHost(const std::string& path) {
    return !path.empty() && GetFileAttributesW(Wide(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}
