// Every registry layout of the installers' table on scratch keys, as the
// gathering reads it: the home, the version the key names, the key itself.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "runtime/RegisteredHomes.h"
#include "tests/support/Registry.h"

namespace {

TEST(RegisteredHomesTest, EveryLayoutNamesItsHomeVersionAndKeyAndTheFurtherOnesAreReadApart) {
    struct Case {
        HKEY hive;
        const char* key;
        const char* valueName;
        const char* version;  // the key's, "" where it names none
        bool further;         // read only where the specified steps are not
    };
    const Case cases[] = {
        {HKEY_LOCAL_MACHINE, "SOFTWARE\\JavaSoft\\Java Runtime Environment\\1.8", "JavaHome", "1.8", false},
        // Corretto 8 writes both names of one version.
        {HKEY_CURRENT_USER, "SOFTWARE\\JavaSoft\\JDK\\1.8.0.212", "JavaHome", "1.8.0.212", false},
        {HKEY_CURRENT_USER, "SOFTWARE\\JavaSoft\\JDK\\1.8.0_212", "JavaHome", "1.8.0_212", false},
        {HKEY_LOCAL_MACHINE, "SOFTWARE\\Eclipse Adoptium\\JDK\\21.0.2.13\\hotspot\\MSI", "Path", "21.0.2.13", false},
        {HKEY_LOCAL_MACHINE, "SOFTWARE\\Eclipse Adoptium\\JRE\\17.0.9.9\\hotspot\\EXE", "Path", "17.0.9.9", true},
        {HKEY_CURRENT_USER, "SOFTWARE\\Microsoft\\JDK\\11.0.21.9\\hotspot\\EXE", "Path", "11.0.21.9", true},
        {HKEY_LOCAL_MACHINE, "SOFTWARE\\AdoptOpenJDK\\JRE\\8.0.292.10\\openj9\\MSI", "Path", "8.0.292.10", false},
        {HKEY_LOCAL_MACHINE, "SOFTWARE\\Azul Systems\\Zulu\\zulu-17", "InstallationPath", "", false},
        {HKEY_LOCAL_MACHINE, "SOFTWARE\\Eclipse Foundation\\JDK\\17.0.1.12\\hotspot\\MSI", "Path", "17.0.1.12", true},
        {HKEY_LOCAL_MACHINE, "SOFTWARE\\Semeru\\JRE\\11.0.20.1\\openj9\\EXE", "Path", "11.0.20.1", true},
        {HKEY_CURRENT_USER, "SOFTWARE\\SapMachine\\JDK\\17", "JavaHome", "17", true},
        {HKEY_LOCAL_MACHINE, "SOFTWARE\\BellSoft\\Liberica JDK 17", "InstallationPath", "", true},
        {HKEY_LOCAL_MACHINE, "SOFTWARE\\BellSoft\\Liberica\\JRE 21", "InstallationPath", "", true},
    };
    RuntimeRegistryGuard registry;
    std::vector<std::string> all, further;
    for (const Case& c : cases) {
        std::string home = std::string("C:\\homes\\") + c.key;
        // Path values end in a backslash; the home is named without it.
        WriteRegString(c.hive, c.key, c.valueName, home + (std::string(c.valueName) == "Path" ? "\\" : ""));
        std::string entry = std::string(c.hive == HKEY_LOCAL_MACHINE ? "HKEY_LOCAL_MACHINE\\" : "HKEY_CURRENT_USER\\") +
                            c.key + " | " + home + " | " + c.version;
        all.push_back(entry);
        if (c.further) further.push_back(entry);
    }
    for (bool furtherOnly : {false, true}) {
        Array<FoundHome> found;
        GatherRegisteredHomes(furtherOnly, found);
        std::vector<std::string> gathered;
        for (const FoundHome& f : found)
            gathered.push_back(std::string(f.source.GetString()) + " | " + f.home.GetString() + " | " +
                               f.versionHint.GetString());
        std::vector<std::string> expected = furtherOnly ? further : all;
        std::sort(expected.begin(), expected.end());
        std::sort(gathered.begin(), gathered.end());
        EXPECT_EQ(expected, gathered) << (furtherOnly ? "further places only" : "every place");
    }
}

}  // namespace
