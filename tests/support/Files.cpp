#include "tests/support/Files.h"

#include <windows.h>

#include <aclapi.h>
#include <sddl.h>

#include "tools/jarstart-tool/FileBytes.h"

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

bool LetEveryoneChange(const std::string& path) {
    // The user keeps full control, so the test's folders can still be removed.
    HANDLE token = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token)) return false;
    BYTE buffer[sizeof(TOKEN_USER) + SECURITY_MAX_SID_SIZE];
    DWORD size = 0;
    BOOL read = GetTokenInformation(token, TokenUser, buffer, sizeof(buffer), &size);
    CloseHandle(token);
    char* user = nullptr;
    if (!read || !ConvertSidToStringSidA(reinterpret_cast<TOKEN_USER*>(buffer)->User.Sid, &user)) return false;
    std::string sddl = std::string("D:P(A;OICI;FA;;;SY)(A;OICI;FA;;;BA)(A;OICI;FA;;;") + user + ")(A;OICI;0x1301bf;;;WD)";
    LocalFree(user);
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (!ConvertStringSecurityDescriptorToSecurityDescriptorA(sddl.c_str(), SDDL_REVISION_1, &descriptor, nullptr))
        return false;
    PACL dacl = nullptr;
    BOOL present = FALSE, defaulted = FALSE;
    bool set = GetSecurityDescriptorDacl(descriptor, &present, &dacl, &defaulted) &&
               SetNamedSecurityInfoA(const_cast<char*>(path.c_str()), SE_FILE_OBJECT,
                                     DACL_SECURITY_INFORMATION | PROTECTED_DACL_SECURITY_INFORMATION, nullptr, nullptr,
                                     dacl, nullptr) == ERROR_SUCCESS;
    LocalFree(descriptor);
    return set;
}

bool WritePeHeaderFile(const std::string& path, unsigned machine) {
    std::string bytes(0x100, '\0');
    bytes[0] = 'M';
    bytes[1] = 'Z';
    bytes[0x3c] = static_cast<char>(0x80);
    bytes[0x80] = 'P';
    bytes[0x81] = 'E';
    bytes[0x84] = static_cast<char>(machine & 0xff);
    bytes[0x85] = static_cast<char>((machine >> 8) & 0xff);
    DWORD error = 0;
    return WriteFileBytes(path, bytes, &error);
}
