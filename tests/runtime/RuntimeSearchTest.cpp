// The runtime search in-process, for the steps that need no running runtime:
// registry version keys, hive order, the two modes, JAVA_HOME unset or
// without an executable. The test program has no launcher properties, so
// PROP_JRE_PATH is empty and the minimum is the default 1.3.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "base/Globals.h"
#include "runtime/RegistryLookup.h"
#include "runtime/RuntimeSearch.h"
#include "tests/runtime/DriveRoot.h"
#include "tests/support/LogCapture.h"
#include "tests/support/ScratchRegistry.h"
#include "tests/support/Paths.h"

namespace {

const std::string kRuntimeKey = kRuntimeRegistryKey;
const std::string kKitKey = kDevelopmentKitRegistryKey;

class RuntimeSearchTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_registry.IsReady());
        m_folder = MakeTempFolder("runtime-search");
        m_launcherFolder = m_folder + "app";
        CreateDirectoryA(m_launcherFolder.c_str(), nullptr);
        m_savedExeName = g_javaExeName;
        m_savedHome = g_runtimeHome;
        m_savedJdkOnly = g_searchJdkOnly;
        m_savedMinimum = g_minJavaVersion;
        g_javaExeName = "javaw.exe";
        g_runtimeHome = "";
        g_searchJdkOnly = 0;
        char value[32768];
        DWORD length = GetEnvironmentVariableA("JAVA_HOME", value, sizeof(value));
        m_hadJavaHome = length > 0 && length < sizeof(value);
        if (m_hadJavaHome) m_savedJavaHome = value;
        SetEnvironmentVariableA("JAVA_HOME", nullptr);
    }
    void TearDown() override {
        g_javaExeName = m_savedExeName;
        g_runtimeHome = m_savedHome;
        g_searchJdkOnly = m_savedJdkOnly;
        g_minJavaVersion = m_savedMinimum;
        SetEnvironmentVariableA("JAVA_HOME", m_hadJavaHome ? m_savedJavaHome.c_str() : nullptr);
    }

    // A registered version whose home holds both executables (and tools.jar
    // for a development kit); returns the home.
    std::string Register(HKEY hive, const std::string& key, const std::string& name) {
        std::string home = m_folder + (hive == HKEY_LOCAL_MACHINE ? "m-" : "u-") + name;
        m_registry.WriteString(hive, key + "\\" + name, "JavaHome", home);
        MakeEmptyFile(home + "\\bin\\javaw.exe");
        MakeEmptyFile(home + "\\bin\\java.exe");
        if (key == kKitKey) MakeEmptyFile(home + "\\lib\\tools.jar");
        return home;
    }

    // Runs the search; returns its log.
    std::vector<std::string> Search(CString& result) {
        LogCapture capture;
        result = FindJavaRuntime(m_launcherFolder.c_str());
        return capture.Entries();
    }

    std::vector<std::string> JreModeStart() const {
        return {"Search for Jre...", "PROP_JRE_PATH: ", "Try bundled JRE or JDK path: " + m_launcherFolder + "\\",
                "Bundled Jre not found"};
    }
    std::vector<std::string> JdkModeStart() const {
        return {"Search for Jdk only...", "PROP_JRE_PATH: ", "Try bundled JRE or JDK path: " + m_launcherFolder + "\\",
                "Search in registry for Jdk only..."};
    }

    ScratchRegistry m_registry;
    std::string m_folder;
    std::string m_launcherFolder;
    CString m_savedExeName, m_savedHome, m_savedMinimum;
    int m_savedJdkOnly = 0;
    bool m_hadJavaHome = false;
    std::string m_savedJavaHome;
};

std::vector<std::string> operator+(std::vector<std::string> a, const std::vector<std::string>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

TEST_F(RuntimeSearchTest, SetsTheDefaultMinimumWhenThePropertyIsAbsent) {
    g_minJavaVersion = "99";
    CString result;
    Search(result);
    EXPECT_STREQ("1.3", g_minJavaVersion);
}

TEST_F(RuntimeSearchTest, RuntimeVersionKeyIsAcceptedByItsName) {
    std::string home = Register(HKEY_LOCAL_MACHINE, kRuntimeKey, "1.6.0_03");
    CString result;
    std::vector<std::string> log = Search(result);
    std::string exe = home + "\\bin\\javaw.exe";
    EXPECT_EQ(exe, result.GetString());
    EXPECT_EQ(home, g_runtimeHome.GetString());
    EXPECT_EQ((JreModeStart() + std::vector<std::string>{"1.6.0_03", "found", exe, "Jre key found in registry"}), log);
}

TEST_F(RuntimeSearchTest, MachineHiveIsAskedBeforeTheUserHive) {
    std::string machine = Register(HKEY_LOCAL_MACHINE, kRuntimeKey, "1.6");
    Register(HKEY_CURRENT_USER, kRuntimeKey, "1.7");
    CString result;
    Search(result);
    EXPECT_EQ(machine + "\\bin\\javaw.exe", result.GetString());
}

TEST_F(RuntimeSearchTest, UserHiveIsAskedWhenTheMachineHiveHasNothing) {
    std::string user = Register(HKEY_CURRENT_USER, kRuntimeKey, "1.7");
    CString result;
    Search(result);
    EXPECT_EQ(user + "\\bin\\javaw.exe", result.GetString());
}

TEST_F(RuntimeSearchTest, DevelopmentKitFoundInJreModeWritesTheFoundLineTwice) {
    std::string kit = Register(HKEY_CURRENT_USER, kKitKey, "1.6.0_03");
    CString result;
    std::vector<std::string> log = Search(result);
    std::string exe = kit + "\\bin\\javaw.exe";
    EXPECT_EQ(exe, result.GetString());
    EXPECT_EQ((JreModeStart() + std::vector<std::string>{"1.6.0_03", "found", exe, "Jre key found in registry",
                                                        "Jre key found in registry"}),
              log);
}

TEST_F(RuntimeSearchTest, JdkOnlyModeReadsOnlyTheDevelopmentKitKey) {
    g_searchJdkOnly = 1;
    Register(HKEY_LOCAL_MACHINE, kRuntimeKey, "1.6");
    std::string kit = Register(HKEY_CURRENT_USER, kKitKey, "1.6.0_03");
    CString result;
    std::vector<std::string> log = Search(result);
    std::string exe = kit + "\\bin\\javaw.exe";
    EXPECT_EQ(exe, result.GetString());
    EXPECT_EQ(kit, g_runtimeHome.GetString());
    EXPECT_EQ((JdkModeStart() + std::vector<std::string>{"1.6.0_03", "found", exe, "Jre key found in registry",
                                                        "Jdk key found in registry"}),
              log);
}

TEST_F(RuntimeSearchTest, JdkOnlyModeWithOnlyARuntimeAndJavaHomeWithoutToolsJarFindsNothing) {
    g_searchJdkOnly = 1;
    std::string runtime = Register(HKEY_LOCAL_MACHINE, kRuntimeKey, "1.6");
    SetEnvironmentVariableA("JAVA_HOME", runtime.c_str());
    CString result;
    std::vector<std::string> log = Search(result);
    EXPECT_STREQ("", result);
    EXPECT_EQ(JdkModeStart(), log) << "no probe and no line after the registry step";
}

TEST_F(RuntimeSearchTest, UnsetJavaHomeFallsBackToTheBareNameWithoutTouchingTheDriveRoot) {
    DriveRootFile executableAtRoot("bin\\javaw.exe");
    CString result;
    std::vector<std::string> log = Search(result);
    EXPECT_STREQ("javaw.exe", result);
    EXPECT_EQ((JreModeStart() + std::vector<std::string>{"Jre key not found in registry", "JAVA_HOME not found",
                                                        "Try current dir."}),
              log);
}

TEST_F(RuntimeSearchTest, JavaHomeWithoutExecutableFallsBackToTheBareName) {
    SetEnvironmentVariableA("JAVA_HOME", (m_folder + "empty-home").c_str());
    g_javaExeName = "java.exe";
    CString result;
    std::vector<std::string> log = Search(result);
    EXPECT_STREQ("java.exe", result);
    EXPECT_EQ("Try current dir.", log.back());
}

TEST_F(RuntimeSearchTest, CurrentVersionWithoutAHomeIsNeverProbed) {
    DriveRootFile executableAtRoot("bin\\java.exe");
    m_registry.WriteString(HKEY_LOCAL_MACHINE, kRuntimeKey, "CurrentVersion", "1.6");
    m_registry.CreateKey(HKEY_LOCAL_MACHINE, kRuntimeKey + "\\1.6");
    CString result;
    std::vector<std::string> log = Search(result);
    for (const std::string& entry : log) {
        EXPECT_NE("Info = ", entry) << JoinEntries(log);
        EXPECT_EQ(std::string::npos, entry.find("CreateProcess")) << entry;
    }
    EXPECT_STREQ("javaw.exe", result);
}

TEST_F(RuntimeSearchTest, AnUnknownOrDriveRootFolderWithAnEmptyJrePathIsNoBundledRuntime) {
    // "C:" + "\\" is a drive root, which exists: a launcher at the root of a
    // USB stick must still find the registered runtime.
    std::string home = Register(HKEY_LOCAL_MACHINE, kRuntimeKey, "1.6");
    for (const char* folder : {"", "C:", "Z:"}) {
        LogCapture capture;
        EXPECT_EQ(home + "\\bin\\javaw.exe", std::string(FindJavaRuntime(folder))) << "folder \"" << folder << "\"";
    }
}

TEST_F(RuntimeSearchTest, AnExecutableInTheCurrentDirectoryIsReturnedByItsFullPath) {
    // CreateProcess would look in the launcher's folder before the current
    // directory, where the existence test found it.
    std::string current = m_folder + "current";
    MakeEmptyFile(current + "\\javaw.exe");
    char saved[MAX_PATH];
    GetCurrentDirectoryA(MAX_PATH, saved);
    ASSERT_TRUE(SetCurrentDirectoryA(current.c_str()));
    CString result;
    std::vector<std::string> log = Search(result);
    SetCurrentDirectoryA(saved);
    EXPECT_EQ(current + "\\javaw.exe", std::string(result));
    EXPECT_EQ("Try current dir.", log.back());
}

TEST_F(RuntimeSearchTest, ConsoleModeEndsRegistryCandidatesInJavaExe) {
    g_javaExeName = "java.exe";
    std::string home = Register(HKEY_LOCAL_MACHINE, kRuntimeKey, "1.6");
    CString result;
    Search(result);
    EXPECT_EQ(home + "\\bin\\java.exe", result.GetString());
}

}  // namespace
