#include "runtime/RegistryLookup.h"

#include "framework/ScopedWin.h"
#include "base/DiagnosticLog.h"
#include "base/Globals.h"
#include "base/PathExists.h"
#include "runtime/JavaRelease.h"
#include "runtime/VersionProbe.h"

const char kRuntimeRegistryKey[] = "SOFTWARE\\JavaSoft\\Java Runtime Environment";
const char kDevelopmentKitRegistryKey[] = "SOFTWARE\\JavaSoft\\Java Development Kit";

namespace {

// KEY_QUERY_VALUE | KEY_ENUMERATE_SUB_KEYS (9), no view flag: a 32-bit
// launcher reads the 32-bit view, where 32-bit runtimes register.
const REGSAM kKeyAccess = KEY_QUERY_VALUE | KEY_ENUMERATE_SUB_KEYS;
const DWORD kBufferSize = 1024;

}  // namespace

CString ReadRegistryString(HKEY hive, const char* keyPath, const char* valueName, REGSAM view) {
    ScopedRegKey key;
    if (RegOpenKeyExA(hive, keyPath, 0, kKeyAccess | view, key.Receive()) != ERROR_SUCCESS) return CString();
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

CString GetCurrentJreHome(HKEY hive, REGSAM view) {
    CString version = ReadRegistryString(hive, kRuntimeRegistryKey, "CurrentVersion", view);
    return ReadRegistryString(hive, CString(kRuntimeRegistryKey) + "\\" + version, "JavaHome", view);
}

CString FindRuntimeInVersionKeys(HKEY hive, const char* keyPath, REGSAM view) {
    CString result;
    ScopedRegKey key;
    if (RegOpenKeyExA(hive, keyPath, 0, kKeyAccess | view, key.Receive()) != ERROR_SUCCESS) return result;
    // The own view logs as it always did; a key of the other view says where
    // the lines that follow come from.
    if (view != 0) g_log << "Try 64-bit registry key: " << HiveName(hive) << "\\" << keyPath << logEnd;
    for (DWORD index = 0;; ++index) {
        char name[kBufferSize];
        DWORD nameSize = kBufferSize;  // in and out: reset for every call
        if (RegEnumKeyExA(key, index, name, &nameSize, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
        // The subkey's name is its version; no version ordering beyond the
        // minimum: a later accepted subkey replaces an earlier one.
        if (!IsVersionSufficient(name)) continue;
        CString home = ReadRegistryString(hive, CString(keyPath) + "\\" + name, "JavaHome", view);
        CString candidate = JudgeRegisteredHome(name, home);
        if (!candidate.IsEmpty()) result = candidate;
    }
    return result;
}

CString JudgeRegisteredHome(const char* name, const CString& home) {
    g_log << name << logEnd;
    CString trimmed = WithoutTrailingBackslash(home);
    // Written for every subkey that meets the minimum, whether or not its
    // executable exists; the boot class path lists this home.
    g_runtimeHome = trimmed;
    CString candidate = trimmed + "\\bin\\" + g_javaExeName;
    CString result;
    // A subkey without a home would name a file at the drive root.
    if (!trimmed.IsEmpty() && PathExists(candidate)) {
        result = candidate;
        g_log << "found" << logEnd;
    }
    g_log << candidate << logEnd;
    return result;
}

const char* HiveName(HKEY hive) {
    return hive == HKEY_LOCAL_MACHINE ? "HKEY_LOCAL_MACHINE" : "HKEY_CURRENT_USER";
}

CString FindJdkInRegistry(HKEY hive, REGSAM view) {
    CString result = FindRuntimeInVersionKeys(hive, kDevelopmentKitRegistryKey, view);
    if (PathExists(result)) g_log << "Jre key found in registry" << logEnd;
    return result;
}
