#include "runtime/MoreRegistryKeys.h"

#include "base/DiagnosticLog.h"
#include "base/PathExists.h"
#include "runtime/JavaRelease.h"
#include "runtime/RegistryKeys.h"
#include "runtime/RegistryLookup.h"
#include "runtime/RegistryPlaces.h"
#include "runtime/VersionProbe.h"

namespace {

// Lets the log say which key a candidate came from; only keys that exist are
// named, so a machine without them reads as before.
bool OpenPlaceKey(HKEY hive, const CString& keyPath, REGSAM view, ScopedRegKey& key) {
    if (!OpenRegistryKey(hive, keyPath, view, key)) return false;
    g_log << TriedKeyLabel(view) << HiveName(hive) << "\\" << keyPath << logEnd;
    return true;
}

// A candidate that meets the minimum (and, when only kits count, is one).
CString Judge(const CString& name, const CString& version, const CString& home, bool kitTestNeeded) {
    if (!IsVersionSufficient(version)) return CString();
    if (kitTestNeeded && !IsDevelopmentKitHome(home)) return CString();
    return JudgeRegisteredHome(name, home);
}

CString FindInVersionKeys(HKEY hive, const CString& keyPath, KeyLayout layout, REGSAM view) {
    ScopedRegKey key;
    if (!OpenPlaceKey(hive, keyPath, view, key)) return CString();
    return LastCandidateInVersionSubkeys(key, [&](const CString& version) {
        CString versionPath = keyPath + "\\" + version;
        if (layout == kVersionJavaHome) {
            CString home = ReadRegistryString(hive, versionPath, "JavaHome", view);
            return Judge(version, version, home, false);
        }
        CString result;
        ScopedRegKey versionKey;
        if (!OpenRegistryKey(hive, versionPath, view, versionKey)) return result;
        ForEachRegistrySubkey(versionKey, [&](const CString& jvm) {
            CString home = ReadRegistryString(hive, versionPath + "\\" + jvm + "\\MSI", "Path", view);
            CString candidate = Judge(version, version, home, false);
            if (!candidate.IsEmpty()) result = candidate;
        });
        return result;
    });
}

CString FindInNamedInstalls(HKEY hive, const CString& keyPath, bool developmentKitOnly, REGSAM view) {
    CString result;
    ScopedRegKey key;
    if (!OpenPlaceKey(hive, keyPath, view, key)) return result;
    ForEachRegistrySubkey(key, [&](const CString& name) {
        CString home = ReadRegistryString(hive, keyPath + "\\" + name, "InstallationPath", view);
        CString candidate = Judge(name, ReadReleaseVersion(home), home, developmentKitOnly);
        if (!candidate.IsEmpty()) result = candidate;
    });
    return result;
}

}  // namespace

CString FindRuntimeInMoreRegistryKeys(bool developmentKitOnly, REGSAM view) {
    static const char* const kKinds[] = {"JDK", "JRE"};
    for (size_t i = 0; i < kRegistryPlaceCount; ++i) {
        const RegistryPlace& place = kRegistryPlaces[i];
        if (place.furtherOnly) continue;
        CString vendorPath = CString("SOFTWARE\\") + place.vendorKey;
        if (place.layout == kNamedInstallationPath) {
            for (HKEY hive : kRegistryHives) {
                if (!IsHiveOwnInView(hive, view)) continue;
                CString candidate = FindInNamedInstalls(hive, vendorPath, developmentKitOnly, view);
                if (!candidate.IsEmpty()) return candidate;
            }
            continue;
        }
        for (const char* kind : kKinds) {
            // A runtime key never holds a development kit.
            if (developmentKitOnly && CString(kind) == "JRE") continue;
            for (HKEY hive : kRegistryHives) {
                if (!IsHiveOwnInView(hive, view)) continue;
                CString candidate = FindInVersionKeys(hive, vendorPath + "\\" + kind, place.layout, view);
                if (!candidate.IsEmpty()) return candidate;
            }
        }
    }
    return CString();
}
