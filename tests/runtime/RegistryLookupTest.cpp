// The registry lookups against real registry keys: HKEY_LOCAL_MACHINE and
// HKEY_CURRENT_USER of this process are redirected to scratch keys, so each
// case sees exactly the JavaSoft entries it wrote.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/Globals.h"
#include "runtime/RegistryLookup.h"
#include "tests/runtime/DriveRoot.h"
#include "tests/support/LogCapture.h"
#include "tests/support/RegistryLookupFixture.h"
#include "tests/support/ScratchRegistry.h"
#include "tests/support/Paths.h"

namespace {

const std::string kRuntimeKey = kRuntimeRegistryKey;
const std::string kKitKey = kDevelopmentKitRegistryKey;

class RegistryLookupTest : public RegistryLookupFixture {
protected:
    RegistryLookupTest() : RegistryLookupFixture("registry-lookup") {}

    // A version subkey whose home holds bin\javaw.exe and bin\java.exe when
    // installed is set; returns the home.
    std::string AddVersion(HKEY hive, const std::string& key, const std::string& name, bool installed) {
        std::string home = m_folder + (hive == HKEY_LOCAL_MACHINE ? "m-" : "u-") + name;
        m_registry.WriteString(hive, key + "\\" + name, "JavaHome", home);
        if (installed) {
            MakeEmptyFile(home + "\\bin\\javaw.exe");
            MakeEmptyFile(home + "\\bin\\java.exe");
        }
        return home;
    }

};

std::vector<std::string> Lines(std::initializer_list<std::string> lines) { return lines; }

TEST_F(RegistryLookupTest, WithoutJavaSoftKeysEveryLookupIsEmptyAndSilent) {
    std::vector<std::string> results;
    for (HKEY hive : {HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER}) {
        results.push_back(GetCurrentJreHome(hive).GetString());
        results.push_back(FindRuntimeInVersionKeys(hive, kRuntimeRegistryKey).GetString());
        results.push_back(FindJdkInRegistry(hive).GetString());
    }
    EXPECT_TRUE(m_log.Entries().empty()) << JoinEntries(m_log.Entries());
    EXPECT_EQ(std::vector<std::string>(6), results);
    EXPECT_STREQ("untouched", g_runtimeHome);
}

TEST_F(RegistryLookupTest, CurrentVersionNamesTheSubkeyWhoseHomeIsReturned) {
    m_registry.WriteString(HKEY_LOCAL_MACHINE, kRuntimeKey, "CurrentVersion", "1.6");
    m_registry.WriteString(HKEY_LOCAL_MACHINE, kRuntimeKey + "\\1.6", "JavaHome", "C:\\Java\\jre6");
    m_registry.WriteString(HKEY_LOCAL_MACHINE, kRuntimeKey + "\\1.5", "JavaHome", "C:\\Java\\jre5");
    EXPECT_STREQ("C:\\Java\\jre6", GetCurrentJreHome(HKEY_LOCAL_MACHINE));
    EXPECT_STREQ("", GetCurrentJreHome(HKEY_CURRENT_USER));
    EXPECT_TRUE(m_log.Entries().empty());
    EXPECT_STREQ("untouched", g_runtimeHome);
}

TEST_F(RegistryLookupTest, MissingCurrentVersionGivesNoHome) {
    m_registry.WriteString(HKEY_CURRENT_USER, kRuntimeKey + "\\1.6", "JavaHome", "C:\\Java\\jre6");
    EXPECT_STREQ("", GetCurrentJreHome(HKEY_CURRENT_USER));
    m_registry.WriteString(HKEY_CURRENT_USER, kRuntimeKey, "CurrentVersion", "1.7");
    EXPECT_STREQ("", GetCurrentJreHome(HKEY_CURRENT_USER)) << "a current version without its subkey";
}

TEST_F(RegistryLookupTest, ValuesAreTextUpToTheFirstNulWhateverTheirType) {
    std::string key = kRuntimeKey + "\\1.6";
    m_registry.WriteValue(HKEY_LOCAL_MACHINE, key, "Binary", REG_BINARY, std::string("C:\\J\0tail", 9));
    m_registry.WriteValue(HKEY_LOCAL_MACHINE, key, "Unterminated", REG_BINARY, std::string(1024, 'x'));
    m_registry.WriteString(HKEY_LOCAL_MACHINE, key, "TooLarge", std::string(1024, 'y'));
    EXPECT_STREQ("C:\\J", ReadRegistryString(HKEY_LOCAL_MACHINE, key.c_str(), "Binary"));
    EXPECT_EQ(std::string(1024, 'x'), ReadRegistryString(HKEY_LOCAL_MACHINE, key.c_str(), "Unterminated").GetString())
        << "1024 bytes fill the buffer exactly";
    EXPECT_STREQ("", ReadRegistryString(HKEY_LOCAL_MACHINE, key.c_str(), "TooLarge")) << "1025 bytes do not fit";
    EXPECT_STREQ("", ReadRegistryString(HKEY_LOCAL_MACHINE, key.c_str(), "Missing"));
    EXPECT_STREQ("", ReadRegistryString(HKEY_LOCAL_MACHINE, (key + "\\none").c_str(), "Binary"));
}

TEST_F(RegistryLookupTest, EverySubkeyMeetingTheMinimumIsLoggedAndTheLastOneWins) {
    std::string h15 = AddVersion(HKEY_LOCAL_MACHINE, kRuntimeKey, "1.5", true);
    std::string h16 = AddVersion(HKEY_LOCAL_MACHINE, kRuntimeKey, "1.6", true);
    std::string h1603 = AddVersion(HKEY_LOCAL_MACHINE, kRuntimeKey, "1.6.0_03", true);
    CString result = FindRuntimeInVersionKeys(HKEY_LOCAL_MACHINE, kRuntimeRegistryKey);
    std::vector<std::string> log = m_log.Entries();
    EXPECT_EQ(h1603 + "\\bin\\javaw.exe", result.GetString());
    EXPECT_EQ(h1603, g_runtimeHome.GetString());
    EXPECT_EQ(Lines({"1.5", "found", h15 + "\\bin\\javaw.exe", "1.6", "found", h16 + "\\bin\\javaw.exe", "1.6.0_03",
                     "found", h1603 + "\\bin\\javaw.exe"}),
              log);
}

TEST_F(RegistryLookupTest, RuntimeHomeFollowsTheLastSubkeyEvenWhenItsExecutableIsMissing) {
    std::string h16 = AddVersion(HKEY_CURRENT_USER, kRuntimeKey, "1.6", true);
    std::string h1603 = AddVersion(HKEY_CURRENT_USER, kRuntimeKey, "1.6.0_03", false);
    CString result = FindRuntimeInVersionKeys(HKEY_CURRENT_USER, kRuntimeRegistryKey);
    std::vector<std::string> log = m_log.Entries();
    EXPECT_EQ(h16 + "\\bin\\javaw.exe", result.GetString());
    EXPECT_EQ(h1603, g_runtimeHome.GetString());
    EXPECT_EQ(Lines({"1.6", "found", h16 + "\\bin\\javaw.exe", "1.6.0_03", h1603 + "\\bin\\javaw.exe"}),
              log);
}

TEST_F(RegistryLookupTest, SubkeysBelowTheMinimumAreSkippedWithoutALogLine) {
    AddVersion(HKEY_LOCAL_MACHINE, kRuntimeKey, "1.3.1", true);
    std::string h14 = AddVersion(HKEY_LOCAL_MACHINE, kRuntimeKey, "1.4", true);
    CString result = FindRuntimeInVersionKeys(HKEY_LOCAL_MACHINE, kRuntimeRegistryKey);
    std::vector<std::string> log = m_log.Entries();
    EXPECT_EQ(h14 + "\\bin\\javaw.exe", result.GetString()) << "a name equal to the minimum meets it";
    EXPECT_EQ(h14, g_runtimeHome.GetString());
    EXPECT_EQ(Lines({"1.4", "found", h14 + "\\bin\\javaw.exe"}), log);
}

TEST_F(RegistryLookupTest, TwoDigitComponentsCompareAsNumbers) {
    std::string h110 = AddVersion(HKEY_LOCAL_MACHINE, kRuntimeKey, "1.10", true);
    CString result = FindRuntimeInVersionKeys(HKEY_LOCAL_MACHINE, kRuntimeRegistryKey);
    std::vector<std::string> log = m_log.Entries();
    EXPECT_EQ(h110 + "\\bin\\javaw.exe", result.GetString());
    EXPECT_EQ(Lines({"1.10", "found", h110 + "\\bin\\javaw.exe"}), log);
}

TEST_F(RegistryLookupTest, ModernVersionNamesMeetALegacyMinimum) {
    g_minJavaVersion = "11";
    AddVersion(HKEY_LOCAL_MACHINE, kRuntimeKey, "1.8.0_202", true);
    std::string h17 = AddVersion(HKEY_LOCAL_MACHINE, kRuntimeKey, "17.0.15", true);
    CString result = FindRuntimeInVersionKeys(HKEY_LOCAL_MACHINE, kRuntimeRegistryKey);
    std::vector<std::string> log = m_log.Entries();
    EXPECT_EQ(h17 + "\\bin\\javaw.exe", result.GetString());
    EXPECT_EQ(Lines({"17.0.15", "found", h17 + "\\bin\\javaw.exe"}), log);
}

TEST_F(RegistryLookupTest, SubkeyWithoutAHomeIsNoCandidateButStillSetsTheRuntimeHome) {
    DriveRootFile executableAtRoot("bin\\javaw.exe");
    m_registry.CreateKey(HKEY_LOCAL_MACHINE, kRuntimeKey + "\\1.6");
    CString result = FindRuntimeInVersionKeys(HKEY_LOCAL_MACHINE, kRuntimeRegistryKey);
    std::vector<std::string> log = m_log.Entries();
    EXPECT_STREQ("", result);
    EXPECT_STREQ("", g_runtimeHome);
    EXPECT_EQ(Lines({"1.6", "\\bin\\javaw.exe"}), log);
}

TEST_F(RegistryLookupTest, ConsoleModeCandidatesEndInJavaExe) {
    g_javaExeName = "java.exe";
    std::string h16 = AddVersion(HKEY_LOCAL_MACHINE, kRuntimeKey, "1.6", true);
    EXPECT_EQ(h16 + "\\bin\\java.exe", FindRuntimeInVersionKeys(HKEY_LOCAL_MACHINE, kRuntimeRegistryKey).GetString());
}

TEST_F(RegistryLookupTest, DevelopmentKitLookupReadsOnlyTheKitKeyAndReportsAFind) {
    AddVersion(HKEY_CURRENT_USER, kRuntimeKey, "1.6", true);
    std::string kit = AddVersion(HKEY_CURRENT_USER, kKitKey, "1.6.0_03", true);
    m_registry.WriteString(HKEY_CURRENT_USER, kKitKey, "CurrentVersion", "1.6.0_03");
    EXPECT_STREQ("", FindJdkInRegistry(HKEY_LOCAL_MACHINE));
    ASSERT_TRUE(m_log.Entries().empty());
    CString result = FindJdkInRegistry(HKEY_CURRENT_USER);
    std::vector<std::string> log = m_log.Entries();
    EXPECT_EQ(kit + "\\bin\\javaw.exe", result.GetString());
    EXPECT_EQ(kit, g_runtimeHome.GetString());
    EXPECT_EQ(Lines({"1.6.0_03", "found", kit + "\\bin\\javaw.exe", "Jre key found in registry"}), log);
}

TEST_F(RegistryLookupTest, DevelopmentKitWithoutExecutableIsNotReported) {
    std::string kit = AddVersion(HKEY_LOCAL_MACHINE, kKitKey, "1.6", false);
    CString result = FindJdkInRegistry(HKEY_LOCAL_MACHINE);
    std::vector<std::string> log = m_log.Entries();
    EXPECT_STREQ("", result);
    EXPECT_EQ(kit, g_runtimeHome.GetString());
    EXPECT_EQ(Lines({"1.6", kit + "\\bin\\javaw.exe"}), log);
}

TEST_F(RegistryLookupTest, HivesAreReadSeparately) {
    std::string machine = AddVersion(HKEY_LOCAL_MACHINE, kRuntimeKey, "1.5", true);
    std::string user = AddVersion(HKEY_CURRENT_USER, kRuntimeKey, "1.6", true);
    EXPECT_EQ(machine + "\\bin\\javaw.exe",
              FindRuntimeInVersionKeys(HKEY_LOCAL_MACHINE, kRuntimeRegistryKey).GetString());
    EXPECT_EQ(user + "\\bin\\javaw.exe", FindRuntimeInVersionKeys(HKEY_CURRENT_USER, kRuntimeRegistryKey).GetString());
}

}  // namespace
