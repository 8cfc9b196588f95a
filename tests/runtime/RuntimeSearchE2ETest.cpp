// The runtime search end to end: the real launcher, configured copy in a
// temp folder, fake runtimes registered in the private prefix's registry,
// its diagnostic log read through the debugger.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
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

const std::string kRuntimeKey = kRuntimeRegistryKey;
const std::string kKitKey = kDevelopmentKitRegistryKey;
const char kJava6[] = "java version \"1.6.0_03\"\n";
const char kJava2[] = "java version \"1.2.2\"\n";

class RuntimeSearchE2ETest : public LauncherSearchTest {
protected:
    std::string FakeHome(const std::string& name, const std::string& versionText = kJava6, bool kit = false,
                         const std::vector<std::string>& jars = {}) {
        std::string home = m_folder + name;
        StandInBehaviour behaviour;
        behaviour.versionText = versionText;
        MakeFakeRuntime(home, behaviour, kit, jars);
        return home;
    }

    // count entries starting with the exact entry first.
    std::vector<std::string> EntriesFrom(const std::string& first, size_t count) const {
        for (size_t i = 0; i < m_result.log.size(); ++i)
            if (m_result.log[i] == first)
                return std::vector<std::string>(m_result.log.begin() + i,
                                                m_result.log.begin() + std::min(m_result.log.size(), i + count));
        return std::vector<std::string>();
    }
    std::vector<std::string> Start(bool jdkOnly = false, const std::string& jrePath = "") const {
        return {jdkOnly ? "Search for Jdk only..." : "Search for Jre...", "PROP_JRE_PATH: " + jrePath,
                "Try bundled JRE or JDK path: " + m_app + "\\" + jrePath};
    }
    std::vector<std::string> Probe(const std::string& home, const std::string& text) const {
        return {"CreateProcess: \"" + home + "\\bin\\java.exe\" -version", "chunks: " + text, "Info = ", text};
    }
};

TEST_F(RuntimeSearchE2ETest, BundledRuntimeIsTakenWithoutAProbeInJreMode) {
    FakeHome("jre");
    m_props[PROP_JRE_PATH] = "..\\jre\\bin\\javaw.exe";
    std::vector<std::string> log = Run();
    std::string exe = m_app + "\\..\\jre\\bin\\javaw.exe";
    EXPECT_EQ((Start(false, "..\\jre\\bin\\javaw.exe") +
               std::vector<std::string>{"Bundled Jre or jdk found", "Jre path: " + exe}),
              log);
    EXPECT_FALSE(Logged("JDK PATH...")) << "JRE mode builds no boot class path";
    ExpectStarted();
}

TEST_F(RuntimeSearchE2ETest, BundledRuntimeInJdkOnlyModePutsItsJarsOnTheBootClassPath) {
    FakeHome("jre", kJava6, false, {"a.jar", "b.jar", "c.jar"});
    m_props[PROP_JRE_PATH] = "..\\jre\\bin\\javaw.exe";
    m_props[PROP_SEARCH_JDK_ONLY] = "1";
    std::vector<std::string> log = Run();
    std::string exe = m_app + "\\..\\jre\\bin\\javaw.exe";
    EXPECT_EQ((Start(true, "..\\jre\\bin\\javaw.exe") +
               std::vector<std::string>{"Bundled Jre or jdk found", "Jre path: " + exe}),
              log);

    // The entries keep the parent step, in the order the lib folder lists.
    std::string home = m_app + "\\..\\jre";
    std::string classPath;
    WIN32_FIND_DATAA entry;
    HANDLE search = FindFirstFileA((home + "\\lib\\*.jar").c_str(), &entry);
    ASSERT_NE(INVALID_HANDLE_VALUE, search);
    do classPath += (classPath.empty() ? "\"" : ";\"") + home + "\\lib\\" + entry.cFileName + "\"";
    while (FindNextFileA(search, &entry));
    FindClose(search);
    EXPECT_EQ((std::vector<std::string>{"JDK PATH...", home, classPath}), EntriesFrom("JDK PATH...", 3));
    EXPECT_NE(std::string::npos, LoggedAfter("Full argument line: ").find(" -Xbootclasspath/p:" + classPath + " -jar "));
    ExpectStarted();
}

TEST_F(RuntimeSearchE2ETest, SingleJarGivesABootClassPathWithoutSemicolon) {
    FakeHome("jre", kJava6, false, {"only.jar"});
    m_props[PROP_JRE_PATH] = "..\\jre\\bin\\javaw.exe";
    m_props[PROP_SEARCH_JDK_ONLY] = "1";
    Run();
    std::string entry = "\"" + m_app + "\\..\\jre\\lib\\only.jar\"";
    EXPECT_NE(std::string::npos, LoggedAfter("Full argument line: ").find(" -Xbootclasspath/p:" + entry + " -jar "));
}

TEST_F(RuntimeSearchE2ETest, NoJarsGiveNoBootClassPathOption) {
    FakeHome("jre");
    m_props[PROP_JRE_PATH] = "..\\jre\\bin\\javaw.exe";
    m_props[PROP_SEARCH_JDK_ONLY] = "1";
    Run();
    std::vector<std::string> tail = EntriesFrom("JDK PATH...", 3);
    ASSERT_EQ(3u, tail.size()) << JoinLog(m_result.log);
    EXPECT_EQ(m_app + "\\..\\jre", tail[1]);
    EXPECT_EQ(0u, tail[2].find("Full argument line: ")) << "no class path is logged: " << tail[2];
    EXPECT_EQ(std::string::npos, LoggedAfter("Full argument line: ").find("-Xbootclasspath"));
    ExpectStarted();
}

TEST_F(RuntimeSearchE2ETest, RegistryCurrentVersionIsProbedAndStarted) {
    std::string home = FakeHome("jre6");
    WriteRegString(HKEY_LOCAL_MACHINE, kRuntimeKey, "CurrentVersion", "1.6");
    WriteRegString(HKEY_LOCAL_MACHINE, kRuntimeKey + "\\1.6", "JavaHome", home);
    std::vector<std::string> log = Run();
    std::string exe = home + "\\bin\\javaw.exe";
    EXPECT_EQ((Start() + std::vector<std::string>{"Bundled Jre not found"} + Probe(home, kJava6) +
               std::vector<std::string>{"Jre key found in registry", "Jre path: " + exe}),
              log);
    ExpectStarted();
}

TEST_F(RuntimeSearchE2ETest, RegistryVersionKeysAreAcceptedByName) {
    std::string h15 = FakeHome("jre5");
    std::string h16 = FakeHome("jre6");
    WriteRegString(HKEY_CURRENT_USER, kRuntimeKey + "\\1.5", "JavaHome", h15);
    WriteRegString(HKEY_CURRENT_USER, kRuntimeKey + "\\1.6", "JavaHome", h16);
    std::vector<std::string> log = Run();
    EXPECT_EQ((Start() + std::vector<std::string>{"Bundled Jre not found", "1.5", "found", h15 + "\\bin\\javaw.exe",
                                                 "1.6", "found", h16 + "\\bin\\javaw.exe", "Jre key found in registry",
                                                 "Jre path: " + h16 + "\\bin\\javaw.exe"}),
              log);
    ExpectStarted();
}

TEST_F(RuntimeSearchE2ETest, DevelopmentKitFoundInJreModeLogsTheFoundLineTwice) {
    std::string kit = FakeHome("jdk6", kJava6, true);
    WriteRegString(HKEY_LOCAL_MACHINE, kKitKey + "\\1.6.0_03", "JavaHome", kit);
    std::vector<std::string> log = Run();
    std::string exe = kit + "\\bin\\javaw.exe";
    EXPECT_EQ((Start() + std::vector<std::string>{"Bundled Jre not found", "1.6.0_03", "found", exe,
                                                 "Jre key found in registry", "Jre key found in registry",
                                                 "Jre path: " + exe}),
              log);
    ExpectStarted();
}

TEST_F(RuntimeSearchE2ETest, JdkOnlyWithOnlyARuntimeAndJavaHomeWithoutToolsJarFails) {
    std::string runtime = FakeHome("jre6");
    WriteRegString(HKEY_LOCAL_MACHINE, kRuntimeKey, "CurrentVersion", "1.6");
    WriteRegString(HKEY_LOCAL_MACHINE, kRuntimeKey + "\\1.6", "JavaHome", runtime);
    m_props[PROP_SEARCH_JDK_ONLY] = "1";
    m_options.env["JAVA_HOME"] = runtime;
    std::vector<std::string> log = Run();
    EXPECT_EQ((Start(true) + std::vector<std::string>{"Search in registry for Jdk only...", "Jre path: "}), log);
    ExpectFailureDialog();
}

TEST_F(RuntimeSearchE2ETest, JavaHomeIsAcceptedAfterItsProbe) {
    std::string home = FakeHome("jdk");
    m_options.env["JAVA_HOME"] = home;
    std::vector<std::string> log = Run();
    std::string exe = home + "\\bin\\javaw.exe";
    EXPECT_EQ((Start() + std::vector<std::string>{"Bundled Jre not found", "Jre key not found in registry"} +
               Probe(home, kJava6) + std::vector<std::string>{"JAVA_HOME found", "Jre path: " + exe}),
              log);
    ExpectStarted();
}

TEST_F(RuntimeSearchE2ETest, TooOldJavaHomeIsRejectedWithoutTryingTheCurrentDirectory) {
    std::string home = FakeHome("jdk", kJava2);
    FakeHome("app\\rt");
    m_props[PROP_WORK_DIR] = "rt\\bin";  // a javaw.exe in the working directory stays unused
    m_options.env["JAVA_HOME"] = home;
    std::vector<std::string> log = Run();
    EXPECT_EQ((Start() + std::vector<std::string>{"Bundled Jre not found", "Jre key not found in registry"} +
               Probe(home, kJava2) + std::vector<std::string>{"Incorrect version", "Jre path: "}),
              log);
    ExpectFailureDialog();
}

TEST_F(RuntimeSearchE2ETest, UnsetJavaHomeTakesJavawFromTheWorkingDirectory) {
    FakeHome("app\\rt");
    m_props[PROP_WORK_DIR] = "rt\\bin";
    std::vector<std::string> log = Run();
    // Started by the full path of the file that was found, not by a bare
    // name CreateProcess would look for in the launcher's folder first.
    EXPECT_EQ((Start() + std::vector<std::string>{"Bundled Jre not found", "Jre key not found in registry",
                                                 "JAVA_HOME not found", "Try current dir.",
                                                 "Jre path: " + m_app + "\\rt\\bin\\javaw.exe"}),
              log);
    EXPECT_FALSE(Logged("Info = ")) << "nothing is probed for an unset JAVA_HOME";
    ExpectStarted();
}

TEST_F(RuntimeSearchE2ETest, UnsetJavaHomeWithoutJavawInTheWorkingDirectoryFails) {
    std::vector<std::string> log = Run();
    EXPECT_EQ((Start() + std::vector<std::string>{"Bundled Jre not found", "Jre key not found in registry",
                                                 "JAVA_HOME not found", "Try current dir.", "Jre path: javaw.exe"}),
              log);
    ExpectFailureDialog();
}

TEST_F(RuntimeSearchE2ETest, ConsoleModeEndsEveryCandidateInJavaExe) {
    std::string reg = FakeHome("jre6");
    WriteRegString(HKEY_LOCAL_MACHINE, kRuntimeKey + "\\1.6", "JavaHome", reg);
    std::vector<std::string> log = Run("-c");
    EXPECT_EQ((Start() + std::vector<std::string>{"Bundled Jre not found", "1.6", "found", reg + "\\bin\\java.exe",
                                                 "Jre key found in registry", "Jre path: " + reg + "\\bin\\java.exe"}),
              log);
    ExpectStarted();
}

TEST_F(RuntimeSearchE2ETest, ConsoleModeJavaHomeIsProbedWithJavaExeAndEndsInJavaExe) {
    std::string home = FakeHome("jdk");
    m_options.env["JAVA_HOME"] = home;
    std::vector<std::string> log = Run("-c");
    EXPECT_EQ("Jre path: " + home + "\\bin\\java.exe", log.empty() ? "" : log.back());
    ExpectStarted();
}

TEST_F(RuntimeSearchE2ETest, HomeWithBlanksIsProbedAndStarted) {
    std::string home = FakeHome("Program Files\\Java\\jre 1.6");
    WriteRegString(HKEY_CURRENT_USER, kRuntimeKey, "CurrentVersion", "1.6");
    WriteRegString(HKEY_CURRENT_USER, kRuntimeKey + "\\1.6", "JavaHome", home);
    std::vector<std::string> log = Run();
    std::string exe = home + "\\bin\\javaw.exe";
    EXPECT_EQ((Start() + std::vector<std::string>{"Bundled Jre not found"} + Probe(home, kJava6) +
               std::vector<std::string>{"Jre key found in registry", "Jre path: " + exe}),
              log);
    ExpectStarted();
}

}  // namespace

TEST_F(RuntimeSearchE2ETest, AModuleLauncherPassesOverJava8ForJava11AndAsksFor9WhenOnlyJava8Exists) {
    const std::string java8 = "java version \"1.8.0_202\"\n";
    std::string home8 = FakeHome("jre8", java8);
    std::string home11 = FakeHome("jdk11", "openjdk version \"11.0.2\" 2019-01-15\n");
    m_props.erase(PROP_START_JAR);
    m_props[PROP_MAIN_MODULE] = "com.example.app";
    m_props[PROP_MIN_VERSION] = "1.6";
    WriteRegString(HKEY_LOCAL_MACHINE, kRuntimeKey, "CurrentVersion", "1.8");
    WriteRegString(HKEY_LOCAL_MACHINE, kRuntimeKey + "\\1.8", "JavaHome", home8);

    // Only Java 8: probed, passed over, and the dialog names 9, not 1.6.
    std::vector<std::string> log = Run();
    EXPECT_TRUE(Logged("Minimum version for the start mode: 9")) << JoinLog(m_result.log);
    std::vector<std::string> probe8 = Probe(home8, java8);
    EXPECT_NE(std::search(log.begin(), log.end(), probe8.begin(), probe8.end()), log.end()) << JoinLog(log);
    ASSERT_FALSE(log.empty());
    EXPECT_EQ(log.back().find(home8), std::string::npos) << JoinLog(log);
    ExpectFailureDialog();
    ASSERT_EQ(m_result.dialogs.size(), 1u);
    EXPECT_NE(m_result.dialogs[0].text.find("It is required to have JRE version 9 or higher"), std::string::npos)
        << m_result.dialogs[0].text;

    // Java 11 beside it: the one started.
    WriteRegString(HKEY_LOCAL_MACHINE, kRuntimeKey + "\\11", "JavaHome", home11);
    log = Run();
    EXPECT_NE(std::search(log.begin(), log.end(), probe8.begin(), probe8.end()), log.end()) << JoinLog(log);
    EXPECT_EQ(log.back(), "Jre path: " + home11 + "\\bin\\javaw.exe") << JoinLog(log);
    EXPECT_EQ(LoggedAfter("Full argument line: "), " -m com.example.app ");
    ExpectStarted();
    RecordedRun run = WaitForRecordedRun(home11);
    EXPECT_EQ(run.args, (std::vector<std::string>{"-m", "com.example.app"}));
}
