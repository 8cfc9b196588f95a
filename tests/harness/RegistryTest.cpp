// Scratch registry entries land where the launcher of this build reads them
// and are gone after the guard.
#include <windows.h>

#include <gtest/gtest.h>

#include "tests/support/Registry.h"

namespace {

const char kKey[] = "SOFTWARE\\JavaSoft\\Java Runtime Environment\\1.6";

// The value's text in the given view; "<absent>" when the key or value is missing.
std::string ReadView(HKEY hive, REGSAM view) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(hive, kKey, 0, KEY_QUERY_VALUE | view, &key) != ERROR_SUCCESS) return "<absent>";
    char data[256] = "";
    DWORD size = sizeof(data);
    LONG status = RegQueryValueExA(key, "JavaHome", nullptr, nullptr, reinterpret_cast<BYTE*>(data), &size);
    RegCloseKey(key);
    return status == ERROR_SUCCESS ? std::string(data) : "<absent>";
}

}  // namespace

TEST(RegistryTest, WritesTheOwnViewOfBothHivesAndTheGuardRemovesIt) {
    // The 32-bit view for the 32-bit build, the 64-bit one for the 64-bit
    // build: the view the launcher under test reads as its own.
    const REGSAM ownView = kOwnViewHere;
    const REGSAM otherView = kOtherViewHere;
    for (HKEY hive : {HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER}) {
        {
            JavaSoftRegistryGuard guard;
            EXPECT_EQ(ReadView(hive, 0), "<absent>");
            WriteRegString(hive, kKey, "JavaHome", "C:\\Program Files\\Java\\j\xE9");
            EXPECT_EQ(ReadView(hive, 0), "C:\\Program Files\\Java\\j\xE9");
            EXPECT_EQ(ReadView(hive, ownView), "C:\\Program Files\\Java\\j\xE9");
            if (hive == HKEY_LOCAL_MACHINE) {
                EXPECT_EQ(ReadView(hive, otherView), "<absent>");
            }
        }
        EXPECT_EQ(ReadView(hive, 0), "<absent>");
        HKEY javaSoft = nullptr;
        EXPECT_NE(RegOpenKeyExA(hive, "SOFTWARE\\JavaSoft", 0, KEY_READ, &javaSoft), ERROR_SUCCESS);
        if (javaSoft) RegCloseKey(javaSoft);
    }
}
