#include "runtime/MoreRegistryKeys.h"

#include "framework/ScopedWin.h"
#include "base/DiagnosticLog.h"
#include "base/PathExists.h"
#include "runtime/JavaRelease.h"
#include "runtime/RegistryLookup.h"
#include "runtime/VersionProbe.h"

namespace {

const REGSAM kKeyAccess = KEY_QUERY_VALUE | KEY_ENUMERATE_SUB_KEYS;
const DWORD kNameSize = 1024;

enum KeyLayout {
    // <vendor>\JDK|JRE\<version>, value "JavaHome".
    kVersionJavaHome,
    // <vendor>\JDK|JRE\<version>\<jvm>\MSI, value "Path" (home with a
    // trailing backslash).
    kVersionJvmMsiPath,
    // <vendor>\<install name>, value "InstallationPath"; the key names no
    // version, the home's release file does, and its kind is the home's.
    kNamedInstallationPath,
};

struct RegistryPlace {
    const char* vendorKey;  // under SOFTWARE
    KeyLayout layout;
};

// Another vendor is one more line.
const RegistryPlace kPlaces[] = {
    {"JavaSoft", kVersionJavaHome},
    {"Eclipse Adoptium", kVersionJvmMsiPath},
    {"AdoptOpenJDK", kVersionJvmMsiPath},
    {"Microsoft", kVersionJvmMsiPath},
    {"Azul Systems\\Zulu", kNamedInstallationPath},
};

const HKEY kHives[] = {HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER};

// The name of subkey index of key, or false at the end or on an error.
bool EnumSubkey(HKEY key, DWORD index, CString& name) {
    char buffer[kNameSize];
    DWORD size = kNameSize;
    if (RegEnumKeyExA(key, index, buffer, &size, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) return false;
    name = CString(buffer, static_cast<int>(size));
    return true;
}

// Lets the log say which key a candidate came from; only keys that exist are
// named, so a machine without them reads as before.
bool OpenPlaceKey(HKEY hive, const CString& keyPath, REGSAM view, ScopedRegKey& key) {
    if (RegOpenKeyExA(hive, keyPath, 0, kKeyAccess | view, key.Receive()) != ERROR_SUCCESS) return false;
    g_log << (view != 0 ? "Try 64-bit registry key: " : "Try registry key: ") << HiveName(hive) << "\\" << keyPath
          << logEnd;
    return true;
}

// A candidate that meets the minimum (and, when only kits count, is one).
CString Judge(const CString& name, const CString& version, const CString& home, bool kitTestNeeded) {
    if (!IsVersionSufficient(version)) return CString();
    if (kitTestNeeded && !IsDevelopmentKitHome(home)) return CString();
    return JudgeRegisteredHome(name, home);
}

CString FindInVersionKeys(HKEY hive, const CString& keyPath, KeyLayout layout, REGSAM view) {
    CString result;
    ScopedRegKey key;
    if (!OpenPlaceKey(hive, keyPath, view, key)) return result;
    CString version;
    for (DWORD index = 0; EnumSubkey(key, index, version); ++index) {
        // The subkey's name is its version, as for the JavaSoft version keys.
        if (!IsVersionSufficient(version)) continue;
        CString versionPath = keyPath + "\\" + version;
        if (layout == kVersionJavaHome) {
            CString home = ReadRegistryString(hive, versionPath, "JavaHome", view);
            CString candidate = Judge(version, version, home, false);
            if (!candidate.IsEmpty()) result = candidate;
            continue;
        }
        ScopedRegKey versionKey;
        if (RegOpenKeyExA(hive, versionPath, 0, kKeyAccess | view, versionKey.Receive()) != ERROR_SUCCESS) continue;
        CString jvm;
        for (DWORD jvmIndex = 0; EnumSubkey(versionKey, jvmIndex, jvm); ++jvmIndex) {
            CString home = ReadRegistryString(hive, versionPath + "\\" + jvm + "\\MSI", "Path", view);
            CString candidate = Judge(version, version, home, false);
            if (!candidate.IsEmpty()) result = candidate;
        }
    }
    return result;
}

CString FindInNamedInstalls(HKEY hive, const CString& keyPath, bool developmentKitOnly, REGSAM view) {
    CString result;
    ScopedRegKey key;
    if (!OpenPlaceKey(hive, keyPath, view, key)) return result;
    CString name;
    for (DWORD index = 0; EnumSubkey(key, index, name); ++index) {
        CString home = ReadRegistryString(hive, keyPath + "\\" + name, "InstallationPath", view);
        CString candidate = Judge(name, ReadReleaseVersion(home), home, developmentKitOnly);
        if (!candidate.IsEmpty()) result = candidate;
    }
    return result;
}

}  // namespace

CString FindRuntimeInMoreRegistryKeys(bool developmentKitOnly, REGSAM view) {
    static const char* const kKinds[] = {"JDK", "JRE"};
    for (const RegistryPlace& place : kPlaces) {
        CString vendorPath = CString("SOFTWARE\\") + place.vendorKey;
        if (place.layout == kNamedInstallationPath) {
            for (HKEY hive : kHives) {
                if (!IsHiveOwnInView(hive, view)) continue;
                CString candidate = FindInNamedInstalls(hive, vendorPath, developmentKitOnly, view);
                if (!candidate.IsEmpty()) return candidate;
            }
            continue;
        }
        for (const char* kind : kKinds) {
            // A runtime key never holds a development kit.
            if (developmentKitOnly && CString(kind) == "JRE") continue;
            for (HKEY hive : kHives) {
                if (!IsHiveOwnInView(hive, view)) continue;
                CString candidate = FindInVersionKeys(hive, vendorPath + "\\" + kind, place.layout, view);
                if (!candidate.IsEmpty()) return candidate;
            }
        }
    }
    return CString();
}

bool HasOther64BitRegistryView() {
    BOOL wow64 = FALSE;
    return IsWow64Process(GetCurrentProcess(), &wow64) && wow64;
}

bool IsHiveOwnInView(HKEY hive, REGSAM view) {
    return view == 0 || hive == HKEY_LOCAL_MACHINE;
}
