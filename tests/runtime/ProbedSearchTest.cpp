// The runtime search steps that run a version probe: the registry's current
// version and JAVA_HOME, in-process against fake runtime homes.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "base/Globals.h"
#include "runtime/RegistryLookup.h"
#include "runtime/RuntimeSearch.h"
#include "tests/support/LogCapture.h"
#include "tests/support/ScratchRegistry.h"
#include "tests/support/FakeRuntime.h"
#include "tests/support/Paths.h"

namespace {

const std::string kRuntimeKey = kRuntimeRegistryKey;

class ProbedSearchTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_registry.IsReady());
        m_folder = MakeTempFolder("probed-search");
        m_launcherFolder = m_folder + "app";
        CreateDirectoryA(m_launcherFolder.c_str(), nullptr);
        m_saved[0] = g_javaExeName;
        m_saved[1] = g_runtimeHome;
        m_saved[2] = g_minJavaVersion;
        m_savedJdkOnly = g_searchJdkOnly;
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
        g_javaExeName = m_saved[0];
        g_runtimeHome = m_saved[1];
        g_minJavaVersion = m_saved[2];
        g_searchJdkOnly = m_savedJdkOnly;
        SetEnvironmentVariableA("JAVA_HOME", m_hadJavaHome ? m_savedJavaHome.c_str() : nullptr);
    }

    std::string FakeHome(const std::string& name, const std::string& versionText, bool kit = false) {
        std::string home = m_folder + name;
        StandInBehaviour behaviour;
        behaviour.versionText = versionText;
        MakeFakeRuntime(home, behaviour, kit);
        return home;
    }

    // The search's log with each probe's output chunks folded into one
    // "chunks: " entry, since how the output splits is the pipe's business.
    std::vector<std::string> Search(CString& result) {
        LogCapture capture;
        result = FindJavaRuntime(m_launcherFolder.c_str());
        std::vector<std::string> folded;
        bool inProbe = false;
        for (const std::string& entry : capture.Entries()) {
            if (entry.compare(0, 15, "CreateProcess: ") == 0) {
                folded.push_back(entry);
                folded.push_back("chunks: ");
                inProbe = true;
            } else if (entry == "Info = ") {
                folded.push_back(entry);
                inProbe = false;
            } else if (inProbe) {
                folded.back() += entry;
            } else {
                folded.push_back(entry);
            }
        }
        return folded;
    }

    std::vector<std::string> Probe(const std::string& home, const std::string& text) const {
        return {"CreateProcess: \"" + home + "\\bin\\java.exe\" -version", "chunks: " + text, "Info = ", text};
    }
    std::vector<std::string> Start(bool jdkOnly = false) const {
        return {jdkOnly ? "Search for Jdk only..." : "Search for Jre...", "PROP_JRE_PATH: ",
                "Try bundled JRE or JDK path: " + m_launcherFolder + "\\",
                jdkOnly ? "Search in registry for Jdk only..." : "Bundled Jre not found"};
    }

    ScratchRegistry m_registry;
    std::string m_folder;
    std::string m_launcherFolder;
    CString m_saved[3];
    int m_savedJdkOnly = 0;
    bool m_hadJavaHome = false;
    std::string m_savedJavaHome;
};

std::vector<std::string> operator+(std::vector<std::string> a, const std::vector<std::string>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

const char kJava6[] = "java version \"1.6.0_03\"\n";
const char kJava2[] = "java version \"1.2.2\"\n";

TEST_F(ProbedSearchTest, RegistryCurrentVersionIsProbedAndAccepted) {
    std::string home = FakeHome("jre6", kJava6);
    m_registry.WriteString(HKEY_CURRENT_USER, kRuntimeKey, "CurrentVersion", "1.6");
    m_registry.WriteString(HKEY_CURRENT_USER, kRuntimeKey + "\\1.6", "JavaHome", home);
    CString result;
    std::vector<std::string> log = Search(result);
    EXPECT_EQ(home + "\\bin\\javaw.exe", result.GetString());
    EXPECT_STREQ("", g_runtimeHome) << "the current-version outcome leaves the runtime home alone";
    EXPECT_EQ((Start() + Probe(home, kJava6) + std::vector<std::string>{"Jre key found in registry"}), log);
}

TEST_F(ProbedSearchTest, AllProbesOfASearchTogetherStopAfterFiveSeconds) {
    // Three runtimes that never answer -version: the first probe takes its
    // 3 s, the second what is left of 5 s, the third is not started.
    std::vector<std::string> homes;
    for (const char* name : {"m-silent", "u-silent", "home-silent"}) {
        std::string home = m_folder + name;
        StandInBehaviour behaviour;
        behaviour.versionDelayMs = 20000;
        MakeFakeRuntime(home, behaviour);
        homes.push_back(home);
    }
    // Registered as 1.2, below the minimum: the version keys accept neither,
    // and the search goes on to JAVA_HOME.
    m_registry.WriteString(HKEY_LOCAL_MACHINE, kRuntimeKey, "CurrentVersion", "1.2");
    m_registry.WriteString(HKEY_LOCAL_MACHINE, kRuntimeKey + "\\1.2", "JavaHome", homes[0]);
    m_registry.WriteString(HKEY_CURRENT_USER, kRuntimeKey, "CurrentVersion", "1.2");
    m_registry.WriteString(HKEY_CURRENT_USER, kRuntimeKey + "\\1.2", "JavaHome", homes[1]);
    SetEnvironmentVariableA("JAVA_HOME", homes[2].c_str());
    LogCapture capture;
    FindJavaRuntime(m_launcherFolder.c_str());
    std::vector<std::string> log = capture.Entries();
    auto logged = [&](const std::string& entry) { return std::find(log.begin(), log.end(), entry) != log.end(); };
    EXPECT_TRUE(logged("Version probes took too long, probe cut short: " + homes[1])) << JoinEntries(log);
    EXPECT_TRUE(logged("Version probes took too long, not probed: " + homes[2])) << JoinEntries(log);
    EXPECT_FALSE(logged("CreateProcess: \"" + homes[2] + "\\bin\\java.exe\" -version")) << JoinEntries(log);
    EXPECT_EQ(g_probeTimeLeftMs, INFINITE) << "the budget is the search's own";
    // The probes cut short leave their silent runtimes running: a probe
    // never ends the program it started.
    for (const std::string& home : homes) EndStandIns(home);
}

TEST_F(ProbedSearchTest, TooOldCurrentVersionFallsToTheVersionKeys) {
    std::string old = FakeHome("jre2", kJava2);
    std::string home = FakeHome("jre6", kJava6);
    m_registry.WriteString(HKEY_LOCAL_MACHINE, kRuntimeKey, "CurrentVersion", "1.2");
    m_registry.WriteString(HKEY_LOCAL_MACHINE, kRuntimeKey + "\\1.2", "JavaHome", old);
    m_registry.WriteString(HKEY_LOCAL_MACHINE, kRuntimeKey + "\\1.6", "JavaHome", home);
    CString result;
    std::vector<std::string> log = Search(result);
    std::string exe = home + "\\bin\\javaw.exe";
    EXPECT_EQ(exe, result.GetString());
    EXPECT_EQ(home, g_runtimeHome.GetString());
    EXPECT_EQ((Start() + Probe(old, kJava2) +
               std::vector<std::string>{"1.6", "found", exe, "Jre key found in registry"}),
              log);
}

struct JavaHomeCase {
    const char* what;
    const char* homeName;
    const char* versionText;
    bool kit;
    bool jdkOnly;
    bool console;
    bool accepted;
};

const JavaHomeCase kJavaHomeCases[] = {
    {"accepted", "jdk", "java version \"1.6.0_03\"\n", false, false, false, true},
    {"too old", "jdk", "java version \"1.2.2\"\n", false, false, false, false},
    {"modern open build", "jdk", "openjdk version \"17.0.15\" 2025-04-15\n", false, false, false, true},
    {"home with blanks", "Program Files\\Java\\jdk 1.6", "java version \"1.6.0_03\"\n", false, false, false, true},
    {"development kit in JDK-only mode", "kit", "java version \"1.6.0_03\"\n", true, true, false, true},
    {"console mode", "jdk", "java version \"1.6.0_03\"\n", false, false, true, true},
};

class JavaHomeSearchTest : public ProbedSearchTest, public testing::WithParamInterface<JavaHomeCase> {};

TEST_P(JavaHomeSearchTest, ProbesJavaHomeAndJudgesItsVersion) {
    const JavaHomeCase& c = GetParam();
    std::string home = FakeHome(c.homeName, c.versionText, c.kit);
    SetEnvironmentVariableA("JAVA_HOME", home.c_str());
    g_searchJdkOnly = c.jdkOnly ? 1 : 0;
    if (c.console) g_javaExeName = "java.exe";
    CString result;
    std::vector<std::string> log = Search(result);

    std::string exe = home + "\\bin\\" + (c.console ? "java.exe" : "javaw.exe");
    EXPECT_EQ(c.accepted ? exe : std::string(), result.GetString()) << c.what;
    std::vector<std::string> expected = Start(c.jdkOnly);
    if (!c.jdkOnly) expected.push_back("Jre key not found in registry");
    expected = expected + Probe(home, c.versionText);
    expected.push_back(c.accepted ? "JAVA_HOME found" : "Incorrect version");
    EXPECT_EQ(expected, log) << c.what;
}

INSTANTIATE_TEST_SUITE_P(JavaHome, JavaHomeSearchTest, testing::ValuesIn(kJavaHomeCases));

}  // namespace
