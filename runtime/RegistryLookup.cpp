#include "runtime/RegistryLookup.h"

#include "base/DiagnosticLog.h"
#include "base/Globals.h"
#include "base/PathExists.h"
#include "runtime/JavaRelease.h"
#include "runtime/RegistryKeys.h"
#include "runtime/VersionProbe.h"

const char kRuntimeRegistryKey[] = "SOFTWARE\\JavaSoft\\Java Runtime Environment";
const char kDevelopmentKitRegistryKey[] = "SOFTWARE\\JavaSoft\\Java Development Kit";

CString GetCurrentJreHome(HKEY hive, REGSAM view) {
    CString version = ReadRegistryString(hive, kRuntimeRegistryKey, "CurrentVersion", view);
    return ReadRegistryString(hive, CString(kRuntimeRegistryKey) + "\\" + version, "JavaHome", view);
}

CString FindRuntimeInVersionKeys(HKEY hive, const char* keyPath, REGSAM view) {
    ScopedRegKey key;
    if (!OpenRegistryKey(hive, keyPath, view, key)) return CString();
    // The own view logs as it always did; a key of the other view says where
    // the lines that follow come from.
    if (view != 0) g_log << TriedKeyLabel(view) << HiveName(hive) << "\\" << keyPath << logEnd;
    return LastCandidateInVersionSubkeys(key, [&](const CString& version) {
        CString home = ReadRegistryString(hive, CString(keyPath) + "\\" + version, "JavaHome", view);
        return JudgeRegisteredHome(version, home);
    });
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
