// The registry places tried after the JavaSoft version keys, end to end: the
// real launcher of this build, fake runtimes registered in the private
// prefix's registry in either view, its diagnostic log read through the
// debugger. The other view is the 64-bit one for the 32-bit launcher, the
// 32-bit one for the 64-bit launcher.
#include <gtest/gtest.h>

#include <windows.h>

#include <map>
#include <string>
#include <vector>

#include "base/PropertyIds.h"
#include "runtime/RegistryLookup.h"
#include "tests/runtime/LauncherSearchFixture.h"
#include "tests/support/FakeRuntime.h"
#include "tests/support/Launcher.h"
#include "tests/support/Paths.h"
#include "tests/support/Registry.h"

namespace {

const char kJava17[] = "java version \"17.0.5\"\n";
const char kJava6[] = "java version \"1.6.0_03\"\n";
const REGSAM kOwnView = 0;
const REGSAM kOtherView = kOtherViewHere;

// "Try 64-bit registry key: " in the 32-bit launcher, "Try 32-bit ..." in
// the 64-bit one.
std::string TryOtherKey(const std::string& key) {
    return std::string("Try ") + OtherViewNameHere() + " registry key: " + key;
}

class MoreRegistryKeysTest : public LauncherSearchTest {
protected:
    // A fake runtime home; javaVersion, when given, goes into its release
    // file as a Java 9+ installer writes it.
    std::string FakeHome(const std::string& name, const std::string& javaVersion = "", bool kit = false,
                         const std::vector<std::string>& jars = {}) {
        std::string home = m_folder + name;
        StandInBehaviour behaviour;
        behaviour.versionText = javaVersion.empty() ? kJava6 : kJava17;
        MakeFakeRuntime(home, behaviour, kit, jars);
        if (!javaVersion.empty())
            WriteReleaseFile(home, "IMPLEMENTOR=\"Test\"\nJAVA_VERSION=\"" + javaVersion + "\"\n");
        return home;
    }

    std::vector<std::string> Start(bool jdkOnly = false) const {
        return {jdkOnly ? "Search for Jdk only..." : "Search for Jre...", "PROP_JRE_PATH: ",
                "Try bundled JRE or JDK path: " + m_app + "\\",
                jdkOnly ? "Search in registry for Jdk only..." : "Bundled Jre not found"};
    }
};

TEST_F(MoreRegistryKeysTest, RuntimeRegisteredOnlyUnderJavaSoftJdkInTheOtherViewIsFound) {
    std::string home = FakeHome("jdk17", "17.0.5", true);
    WriteRegString(HKEY_LOCAL_MACHINE, "SOFTWARE\\JavaSoft\\JDK\\17", "JavaHome", home, kOtherView);
    std::vector<std::string> log = Run();
    std::string exe = home + "\\bin\\javaw.exe";
    EXPECT_EQ((Start() + std::vector<std::string>{TryOtherKey("HKEY_LOCAL_MACHINE\\SOFTWARE\\JavaSoft\\JDK"),
                                                 "17", "found", exe, "Jre key found in registry", "Jre path: " + exe}),
              log);
    ExpectStarted();
}

// One vendor layout per case: where its installer writes, and what the log
// names the candidate.
struct VendorCase {
    const char* label;
    HKEY hive;
    REGSAM view;
    const char* key;        // the key the launcher opens
    const char* entry;      // below it, the key holding the value
    const char* valueName;
    bool trailingBackslash;
    const char* loggedName;
};

class VendorLayoutTest : public MoreRegistryKeysTest, public testing::WithParamInterface<VendorCase> {};

TEST_P(VendorLayoutTest, VendorInstallerKeyIsFoundAndItsHomeJoinedWithoutADoubleBackslash) {
    const VendorCase& c = GetParam();
    std::string home = FakeHome("vendor", "17.0.5", true);
    WriteRegString(c.hive, std::string(c.key) + "\\" + c.entry, c.valueName,
                   c.trailingBackslash ? home + "\\" : home, c.view);
    std::vector<std::string> log = Run();
    std::string exe = home + "\\bin\\javaw.exe";
    std::string key =
        (c.hive == HKEY_LOCAL_MACHINE ? "HKEY_LOCAL_MACHINE\\" : "HKEY_CURRENT_USER\\") + std::string(c.key);
    std::string tried = c.view ? TryOtherKey(key) : "Try registry key: " + key;
    EXPECT_EQ((Start() + std::vector<std::string>{tried, c.loggedName, "found", exe, "Jre key found in registry",
                                                 "Jre path: " + exe}),
              log);
    ExpectStarted();
}

INSTANTIATE_TEST_SUITE_P(
    Layouts, VendorLayoutTest,
    testing::Values(
        VendorCase{"Adoptium", HKEY_LOCAL_MACHINE, kOwnView, "SOFTWARE\\Eclipse Adoptium\\JDK",
                   "17.0.5.8\\hotspot\\MSI", "Path", true, "17.0.5.8"},
        VendorCase{"Microsoft", HKEY_CURRENT_USER, kOwnView, "SOFTWARE\\Microsoft\\JDK", "17.0.5.8\\hotspot\\MSI",
                   "Path", true, "17.0.5.8"},
        VendorCase{"AdoptOpenJdkRuntime64", HKEY_LOCAL_MACHINE, kOtherView, "SOFTWARE\\AdoptOpenJDK\\JRE",
                   "11.0.2.9\\openj9\\MSI", "Path", true, "11.0.2.9"},
        VendorCase{"ZuluByReleaseFile", HKEY_LOCAL_MACHINE, kOwnView, "SOFTWARE\\Azul Systems\\Zulu", "zulu-17",
                   "InstallationPath", false, "zulu-17"},
        VendorCase{"Zulu64", HKEY_LOCAL_MACHINE, kOtherView, "SOFTWARE\\Azul Systems\\Zulu", "zulu-17",
                   "InstallationPath", true, "zulu-17"}),
    [](const testing::TestParamInfo<VendorCase>& info) { return std::string(info.param.label); });

TEST_F(MoreRegistryKeysTest, RegisteredHomesThatDoNotExistEndInTheFailureDialogAsBefore) {
    std::string missing = m_folder + "gone";
    WriteRegString(HKEY_LOCAL_MACHINE, "SOFTWARE\\Eclipse Adoptium\\JDK\\17.0.5.8\\hotspot\\MSI", "Path",
                   missing + "\\", kOtherView);
    WriteRegString(HKEY_CURRENT_USER, "SOFTWARE\\JavaSoft\\JRE\\17", "JavaHome", missing);
    std::vector<std::string> log = Run();
    std::string exe = missing + "\\bin\\javaw.exe";
    EXPECT_EQ((Start() + std::vector<std::string>{"Try registry key: HKEY_CURRENT_USER\\SOFTWARE\\JavaSoft\\JRE", "17",
                                                 exe,
                                                 TryOtherKey("HKEY_LOCAL_MACHINE\\SOFTWARE\\Eclipse Adoptium\\JDK"),
                                                 "17.0.5.8", exe, "Jre key not found in registry",
                                                 "JAVA_HOME not found", "Try current dir.", "Jre path: javaw.exe"}),
              log);
    ExpectFailureDialog();
}

TEST_F(MoreRegistryKeysTest, TheOriginalVersionKeysStillWinOverTheFurtherKeys) {
    std::string old = FakeHome("jre6");
    std::string modern = FakeHome("jdk17", "17.0.5", true);
    WriteRegString(HKEY_CURRENT_USER, std::string(kRuntimeRegistryKey) + "\\1.6", "JavaHome", old);
    WriteRegString(HKEY_LOCAL_MACHINE, "SOFTWARE\\JavaSoft\\JDK\\17", "JavaHome", modern);
    WriteRegString(HKEY_LOCAL_MACHINE, "SOFTWARE\\Eclipse Adoptium\\JDK\\17.0.5.8\\hotspot\\MSI", "Path",
                   modern + "\\", kOtherView);
    std::vector<std::string> log = Run();
    std::string exe = old + "\\bin\\javaw.exe";
    EXPECT_EQ((Start() + std::vector<std::string>{"1.6", "found", exe, "Jre key found in registry", "Jre path: " + exe}),
              log);
    ExpectStarted();
}

// On 64-bit Windows an old 32-bit Java 8 registers only under Wow6432Node,
// which the 64-bit launcher reads as its other view; the 32-bit launcher's
// other view is the 64-bit one. Either way the steps and log lines are the
// own view's, and the view is named.
TEST_F(MoreRegistryKeysTest, AJava8RegisteredOnlyInTheOtherViewIsFoundAfterTheOwnViewByEitherChoice) {
    std::string home = FakeHome("jre8", "1.8.0_202");
    const int otherBits = sizeof(void*) == 4 ? 64 : 32;
    UseJavaExeOf(otherBits, home);
    WriteRegString(HKEY_LOCAL_MACHINE, std::string(kRuntimeRegistryKey) + "\\1.8", "JavaHome", home, kOtherView);
    std::string exe = home + "\\bin\\javaw.exe";
    std::vector<std::string> log = Run();
    EXPECT_EQ((Start() + std::vector<std::string>{TryOtherKey("HKEY_LOCAL_MACHINE\\" + std::string(kRuntimeRegistryKey)),
                                                 "1.8", "found", exe, "Jre key found in registry", "Jre path: " + exe}),
              log);
    ExpectStarted();

    m_props[PROP_RUNTIME_CHOICE] = "newest";
    log = Run();
    EXPECT_TRUE(Logged("Candidate: " + home + ", 1.8.0_202, " + std::to_string(otherBits) + "-bit, HKEY_LOCAL_MACHINE\\" +
                       kRuntimeRegistryKey + "\\1.8 (" + OtherViewNameHere() + " view): accepted"))
        << JoinLog(log);
    ASSERT_FALSE(log.empty());
    EXPECT_EQ("Jre path: " + exe, log.back());
    ExpectStarted();
}

TEST_F(MoreRegistryKeysTest, JdkOnlyModeTakesOnlyDevelopmentKitKeys) {
    std::string runtime = FakeHome("jre17", "17.0.5");
    std::string kit = FakeHome("jdk17", "17.0.5", true, {"a.jar"});
    CreateDirectoryA((kit + "\\jmods").c_str(), nullptr);
    WriteRegString(HKEY_LOCAL_MACHINE, "SOFTWARE\\JavaSoft\\JRE\\17", "JavaHome", runtime);
    WriteRegString(HKEY_LOCAL_MACHINE, "SOFTWARE\\Eclipse Adoptium\\JRE\\17.0.5.8\\hotspot\\MSI", "Path",
                   runtime + "\\");
    // Zulu's key does not tell a kit from a runtime; its home does.
    WriteRegString(HKEY_LOCAL_MACHINE, "SOFTWARE\\Azul Systems\\Zulu\\zulu-17-jre", "InstallationPath", runtime);
    WriteRegString(HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\JDK\\17.0.5.8\\hotspot\\MSI", "Path", kit + "\\",
                   kOtherView);
    m_props[PROP_SEARCH_JDK_ONLY] = "1";
    std::vector<std::string> log = Run();
    std::string exe = kit + "\\bin\\javaw.exe";
    EXPECT_EQ((Start(true) + std::vector<std::string>{"Try registry key: HKEY_LOCAL_MACHINE\\SOFTWARE\\Azul "
                                                      "Systems\\Zulu",
                                                      TryOtherKey("HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\JDK"),
                                                      "17.0.5.8", "found", exe, "Jdk key found in registry",
                                                      "Jre path: " + exe}),
              log);
    // A Java 17 kit refuses -Xbootclasspath/p:, whatever its lib folder holds.
    EXPECT_TRUE(Logged("Boot class path left out, Java 9 or later refuses -Xbootclasspath/p: " + kit))
        << JoinLog(m_result.log);
    EXPECT_EQ(std::string::npos, LoggedAfter("Full argument line: ").find("-Xbootclasspath"));
    ExpectStarted();
}

TEST_F(MoreRegistryKeysTest, JdkOnlyModeAcceptsAJava17JavaHomeKitWithoutToolsJarAndLeavesOutTheBootClassPath) {
    std::string home = FakeHome("jdk17", "17.0.5", false, {"a.jar", "b.jar"});
    CreateDirectoryA((home + "\\jmods").c_str(), nullptr);
    m_props[PROP_SEARCH_JDK_ONLY] = "1";
    m_options.env["JAVA_HOME"] = home;
    std::vector<std::string> log = Run();
    ASSERT_FALSE(log.empty());
    EXPECT_EQ("Jre path: " + home + "\\bin\\javaw.exe", log.back());
    EXPECT_TRUE(Logged("JAVA_HOME found")) << JoinLog(m_result.log);
    EXPECT_TRUE(Logged("Boot class path left out, Java 9 or later refuses -Xbootclasspath/p: " + home))
        << JoinLog(m_result.log);
    EXPECT_EQ(std::string::npos, LoggedAfter("Full argument line: ").find("-Xbootclasspath"));
    ExpectStarted();
}

TEST_F(MoreRegistryKeysTest, JdkOnlyModeRejectsAJavaHomeRuntimeOfAnyVersion) {
    // A runtime since 9 has a release file as a kit has: neither it nor the
    // Java 8 runtime has a compiler, jmods or tools.jar.
    for (const char* version : {"1.8.0_352", "17.0.5"}) {
        std::string home = FakeHome(std::string("jre-") + version, version);
        m_props[PROP_SEARCH_JDK_ONLY] = "1";
        m_options.env["JAVA_HOME"] = home;
        std::vector<std::string> log = Run();
        EXPECT_EQ((Start(true) + std::vector<std::string>{"Jre path: "}), log) << version;
        ExpectFailureDialog();
    }
}

// An old 32-bit Java 8 in the JavaSoft keys of the launcher's own view, a
// 64-bit Temurin 21 only under its vendor key in the launcher's other view,
// no other place holding anything.
class MachinePictureTest : public MoreRegistryKeysTest {
protected:
    void SetUp() override {
        MoreRegistryKeysTest::SetUp();
        std::string empty = m_folder + "empty";
        CreateDirectoryA(empty.c_str(), nullptr);
        for (const char* name : {"ProgramFiles", "ProgramFiles(x86)", "ProgramW6432", "LOCALAPPDATA", "USERPROFILE",
                                 "ProgramData", "PATH"})
            m_options.env[name] = empty;
        m_java8 = FakeHome("jre8", "1.8.0_265");
        UseJavaExeOf(32, m_java8);
        m_java21 = FakeHome("jdk21", "21.0.2", true);
        UseJavaExeOf(64, m_java21);
        WriteRegString(HKEY_LOCAL_MACHINE, std::string(kRuntimeRegistryKey) + "\\1.8", "JavaHome", m_java8);
        WriteRegString(HKEY_LOCAL_MACHINE, "SOFTWARE\\Eclipse Adoptium\\JDK\\21.0.2.13\\hotspot\\MSI", "Path",
                       m_java21 + "\\", kOtherView);
    }
    std::string Candidate(const std::string& home, const std::string& version, const char* bits,
                          const std::string& source, const char* verdict) const {
        return "Candidate: " + home + ", " + version + ", " + bits + ", HKEY_LOCAL_MACHINE\\" + source + ": " +
               verdict;
    }
    std::string Java8(const char* verdict) const {
        return Candidate(m_java8, "1.8.0_265", "32-bit", std::string(kRuntimeRegistryKey) + "\\1.8", verdict);
    }
    std::string Java21(const char* verdict) const {
        return Candidate(m_java21, "21.0.2", "64-bit",
                         std::string("SOFTWARE\\Eclipse Adoptium\\JDK\\21.0.2.13\\hotspot\\MSI (") +
                             OtherViewNameHere() + " view)",
                         verdict);
    }

    std::string m_java8, m_java21;
};

TEST_F(MachinePictureTest, FirstTakesTheJavaSoftJava8ExactlyAsBefore) {
    std::vector<std::string> log = Run();
    std::string exe = m_java8 + "\\bin\\javaw.exe";
    EXPECT_EQ((Start() + std::vector<std::string>{"1.8", "found", exe, "Jre key found in registry", "Jre path: " + exe}),
              log);
    ExpectStarted();
}

TEST_F(MachinePictureTest, NewestTakesTheVendorKeysJava21AndLogsEveryCandidate) {
    m_props[PROP_RUNTIME_CHOICE] = "newest";
    std::vector<std::string> log = Run();
    std::string exe = m_java21 + "\\bin\\javaw.exe";
    EXPECT_EQ((std::vector<std::string>{"Search every place for the newest runtime...", Java8("accepted"),
                                        Java21("accepted"), "Runtime chosen: " + m_java21, "Jre path: " + exe}),
              std::vector<std::string>(log.begin() + 3, log.end()));
    ExpectStarted();
}

TEST_F(MachinePictureTest, NeitherFitsBetweenMinimumAndMaximumSoTheFailureDialogShows) {
    m_props[PROP_MIN_VERSION] = "11";
    m_props[PROP_MAX_VERSION] = "17";
    for (const char* choice : {"first", "newest"}) {
        m_props[PROP_RUNTIME_CHOICE] = choice;
        std::vector<std::string> log = Run();
        ASSERT_FALSE(log.empty());
        EXPECT_EQ("Jre path: javaw.exe", log.back()) << choice;
        if (std::string(choice) == "newest") {
            EXPECT_TRUE(Logged(Java8("below minimum")) && Logged(Java21("above maximum"))) << JoinLog(log);
        }
        ExpectFailureDialog();
    }
}

}  // namespace
