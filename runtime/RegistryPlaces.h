#pragma once
// Where runtime installers register a home under SOFTWARE, one line per
// vendor: the one table both the registry step and the further sources read.
#include <cstddef>

enum KeyLayout {
    // <vendor>\JDK|JRE\<version>, value "JavaHome".
    kVersionJavaHome,
    // <vendor>\JDK|JRE\<version>\<jvm>\MSI (or \EXE, newer installers),
    // value "Path" (home with a trailing backslash).
    kVersionJvmMsiPath,
    // <vendor>\<install name>, value "InstallationPath"; the key names no
    // version, the home's release file does, and its kind is the home's.
    kNamedInstallationPath,
};

struct RegistryPlace {
    const char* vendorKey;  // under SOFTWARE
    KeyLayout layout;
    // Read only after every earlier step found nothing, so that a machine
    // the registry step served is searched exactly as before.
    bool furtherOnly;
};

extern const RegistryPlace kRegistryPlaces[];
extern const size_t kRegistryPlaceCount;
