#include "runtime/RegisteredHomes.h"

#include "framework/Array.h"
#include "runtime/MoreRegistryKeys.h"
#include "runtime/RegistryKeys.h"
#include "runtime/RegistryLookup.h"
#include "runtime/RegistryPlaces.h"

namespace {

struct Gathering {
    HKEY hive;
    REGSAM view;
    Array<FoundHome>& found;

    CString Source(const CString& keyPath) const {
        return CString(HiveName(hive)) + "\\" + keyPath + ViewSuffix(view);
    }
    void Add(const CString& keyPath, const char* valueName, const CString& versionHint) const {
        CString home = ReadRegistryString(hive, keyPath, valueName, view);
        AddFoundHome(found, home, versionHint, Source(keyPath));
    }

    void VersionKeys(const CString& keyPath, KeyLayout layout, bool exeOnly) const {
        ScopedRegKey key;
        if (!OpenRegistryKey(hive, keyPath, view, key)) return;
        ForEachRegistrySubkey(key, [&](const CString& version) {
            CString versionPath = keyPath + "\\" + version;
            if (layout == kVersionJavaHome) {
                Add(versionPath, "JavaHome", version);
                return;
            }
            ScopedRegKey versionKey;
            if (!OpenRegistryKey(hive, versionPath, view, versionKey)) return;
            ForEachRegistrySubkey(versionKey, [&](const CString& jvm) {
                if (!exeOnly) Add(versionPath + "\\" + jvm + "\\MSI", "Path", version);
                Add(versionPath + "\\" + jvm + "\\EXE", "Path", version);
            });
        });
    }

    // A named install, or a product key holding named installs.
    void NamedInstalls(const CString& keyPath, int depth) const {
        ScopedRegKey key;
        if (!OpenRegistryKey(hive, keyPath, view, key)) return;
        ForEachRegistrySubkey(key, [&](const CString& name) {
            CString path = keyPath + "\\" + name;
            CString home = ReadRegistryString(hive, path, "InstallationPath", view);
            if (!home.IsEmpty())
                AddFoundHome(found, home, CString(), Source(path));
            else if (depth > 0)
                NamedInstalls(path, depth - 1);
        });
    }

    void Places(bool furtherOnly) const {
        static const char* const kKinds[] = {"JDK", "JRE"};
        for (size_t i = 0; i < kRegistryPlaceCount; ++i) {
            const RegistryPlace& place = kRegistryPlaces[i];
            // Outside the registry step's places only the \EXE ending is new.
            bool exeOnly = furtherOnly && !place.furtherOnly;
            if (exeOnly && place.layout != kVersionJvmMsiPath) continue;
            CString vendorPath = CString("SOFTWARE\\") + place.vendorKey;
            if (place.layout == kNamedInstallationPath) {
                NamedInstalls(vendorPath, 1);
                continue;
            }
            for (const char* kind : kKinds) VersionKeys(vendorPath + "\\" + kind, place.layout, exeOnly);
        }
    }
};

}  // namespace

void GatherRegisteredHomes(bool furtherOnly, Array<FoundHome>& found) {
    auto gatherView = [&](REGSAM view) {
        for (HKEY hive : kRegistryHives) {
            if (!IsHiveOwnInView(hive, view)) continue;
            Gathering gathering = {hive, view, found};
            if (!furtherOnly) {
                gathering.VersionKeys(kRuntimeRegistryKey, kVersionJavaHome, false);
                gathering.VersionKeys(kDevelopmentKitRegistryKey, kVersionJavaHome, false);
            }
            gathering.Places(furtherOnly);
        }
    };
    // The own view, then the other one where this Windows has it.
    gatherView(0);
    REGSAM other = OtherRegistryView();
    if (other != 0) gatherView(other);
}
