#include "runtime/RegistryKeys.h"

const HKEY kRegistryHives[2] = {HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER};

namespace {

// KEY_QUERY_VALUE | KEY_ENUMERATE_SUB_KEYS (9), no view flag: a 32-bit
// launcher reads the 32-bit view, where 32-bit runtimes register.
const REGSAM kKeyAccess = KEY_QUERY_VALUE | KEY_ENUMERATE_SUB_KEYS;
const DWORD kBufferSize = 1024;

}  // namespace

bool OpenRegistryKey(HKEY hive, const char* keyPath, REGSAM view, ScopedRegKey& key) {
    return RegOpenKeyExA(hive, keyPath, 0, kKeyAccess | view, key.Receive()) == ERROR_SUCCESS;
}

bool IsHiveOwnInView(HKEY hive, REGSAM view) {
    return view == 0 || hive == HKEY_LOCAL_MACHINE;
}

bool EnumRegistrySubkey(HKEY key, DWORD index, CString& name) {
    char buffer[kBufferSize];
    DWORD size = kBufferSize;  // in and out: reset for every call
    if (RegEnumKeyExA(key, index, buffer, &size, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) return false;
    name = CString(buffer, static_cast<int>(size));
    return true;
}

CString ReadRegistryString(HKEY hive, const char* keyPath, const char* valueName, REGSAM view) {
    ScopedRegKey key;
    if (!OpenRegistryKey(hive, keyPath, view, key)) return CString();
    char buffer[kBufferSize] = {};
    DWORD size = kBufferSize;
    DWORD type = 0;
    if (RegQueryValueExA(key, valueName, nullptr, &type, reinterpret_cast<BYTE*>(buffer), &size) != ERROR_SUCCESS)
        return CString();
    // The type is not checked and the data need not end in a NUL: the text
    // runs to the first NUL or to the end of the buffer.
    int length = 0;
    while (length < static_cast<int>(kBufferSize) && buffer[length] != '\0') ++length;
    return CString(buffer, length);
}
