#include "runtime/RegistryPlaces.h"

// Another vendor is one more line. Corretto and Oracle since 11 write the
// JavaSoft line; Corretto 8 names its subkeys 1.8.0.212 as well as 1.8.0_212,
// which compare alike.
const RegistryPlace kRegistryPlaces[] = {
    {"JavaSoft", kVersionJavaHome, false},
    {"Eclipse Adoptium", kVersionJvmMsiPath, false},
    {"AdoptOpenJDK", kVersionJvmMsiPath, false},
    {"Microsoft", kVersionJvmMsiPath, false},
    {"Azul Systems\\Zulu", kNamedInstallationPath, false},
    {"Eclipse Foundation", kVersionJvmMsiPath, true},
    {"Semeru", kVersionJvmMsiPath, true},
    {"SapMachine", kVersionJavaHome, true},
    {"BellSoft", kNamedInstallationPath, true},
};
const size_t kRegistryPlaceCount = sizeof(kRegistryPlaces) / sizeof(kRegistryPlaces[0]);
