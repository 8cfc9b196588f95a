#include "runtime/RegistryKeys.h"

#include "base/Globals.h"

const HKEY kRegistryHives[2] = {HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER};

namespace {

// KEY_QUERY_VALUE | KEY_ENUMERATE_SUB_KEYS (9), no view flag for the own
// view: a 32-bit launcher reads the 32-bit view, where 32-bit runtimes
// register, a 64-bit launcher the 64-bit view.
const REGSAM kKeyAccess = KEY_QUERY_VALUE | KEY_ENUMERATE_SUB_KEYS;
const DWORD kBufferSize = 1024;

}  // namespace

namespace {

const int kOwnBits = sizeof(void*) == 8 ? 64 : 32;

int SearchedBits() { return g_searchedMachineBits != 0 ? g_searchedMachineBits : kOwnBits; }

// What view 0 means: this process's own view, or, for the companion tool
// judging a launcher of the other machine, that launcher's own view.
REGSAM OwnViewFlag() {
    if (SearchedBits() == kOwnBits) return 0;
    return SearchedBits() == 64 ? KEY_WOW64_64KEY : KEY_WOW64_32KEY;
}

bool IsWindows64Bit() {
#ifdef _WIN64
    return true;
#else
    BOOL wow64 = FALSE;
    return IsWow64Process(GetCurrentProcess(), &wow64) && wow64;
#endif
}

}  // namespace

REGSAM OtherRegistryView() {
    if (SearchedBits() == 64) return KEY_WOW64_32KEY;
    return IsWindows64Bit() ? KEY_WOW64_64KEY : 0;
}

bool OpenRegistryKey(HKEY hive, const char* keyPath, REGSAM view, ScopedRegKey& key) {
    return RegOpenKeyExA(hive, keyPath, 0, kKeyAccess | (view != 0 ? view : OwnViewFlag()), key.Receive()) ==
           ERROR_SUCCESS;
}

const char* TriedKeyLabel(REGSAM view) {
    if (view == 0) return "Try registry key: ";
    return view == KEY_WOW64_32KEY ? "Try 32-bit registry key: " : "Try 64-bit registry key: ";
}

const char* ViewSuffix(REGSAM view) {
    if (view == 0) return "";
    return view == KEY_WOW64_32KEY ? " (32-bit view)" : " (64-bit view)";
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
