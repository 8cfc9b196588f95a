#include "runtime/RegistryLookup.h"

#include "framework/ScopedWin.h"
#include "launcher/DiagnosticLog.h"
#include "launcher/Globals.h"
#include "launcher/PathExists.h"
#include "runtime/Version.h"

const char kRuntimeRegistryKey[] = "SOFTWARE\\JavaSoft\\Java Runtime Environment";
const char kDevelopmentKitRegistryKey[] = "SOFTWARE\\JavaSoft\\Java Development Kit";

namespace {

// KEY_QUERY_VALUE | KEY_ENUMERATE_SUB_KEYS (9), no view flag: a 32-bit
// launcher reads the 32-bit view, where 32-bit runtimes register.
const REGSAM kKeyAccess = KEY_QUERY_VALUE | KEY_ENUMERATE_SUB_KEYS;
const DWORD kBufferSize = 1024;

}  // namespace

CString ReadRegistryString(HKEY hive, const char* keyPath, const char* valueName) {
    ScopedRegKey key;
    if (RegOpenKeyExA(hive, keyPath, 0, kKeyAccess, key.Receive()) != ERROR_SUCCESS) return CString();
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

CString GetCurrentJreHome(HKEY hive) {
    CString version = ReadRegistryString(hive, kRuntimeRegistryKey, "CurrentVersion");
    return ReadRegistryString(hive, CString(kRuntimeRegistryKey) + "\\" + version, "JavaHome");
}

CString FindRuntimeInVersionKeys(HKEY hive, const char* keyPath) {
    CString result;
    ScopedRegKey key;
    if (RegOpenKeyExA(hive, keyPath, 0, kKeyAccess, key.Receive()) != ERROR_SUCCESS) return result;
    for (DWORD index = 0;; ++index) {
        char name[kBufferSize];
        DWORD nameSize = kBufferSize;  // in and out: reset for every call
        if (RegEnumKeyExA(key, index, name, &nameSize, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
        // The subkey's name is its version; no version ordering beyond the
        // minimum: a later accepted subkey replaces an earlier one.
        if (!IsVersionSufficient(name)) continue;
        g_log << name << logEnd;
        CString home = ReadRegistryString(hive, CString(keyPath) + "\\" + name, "JavaHome");
        // Written for every subkey that meets the minimum, whether or not its
        // executable exists; the boot class path lists this home.
        g_runtimeHome = home;
        CString candidate = home + "\\bin\\" + g_javaExeName;
        // A subkey without a home would name a file at the drive root.
        if (!home.IsEmpty() && PathExists(candidate)) {
            result = candidate;
            g_log << "found" << logEnd;
        }
        g_log << candidate << logEnd;
    }
    return result;
}

CString FindJdkInRegistry(HKEY hive) {
    CString result = FindRuntimeInVersionKeys(hive, kDevelopmentKitRegistryKey);
    if (PathExists(result)) g_log << "Jre key found in registry" << logEnd;
    return result;
}
