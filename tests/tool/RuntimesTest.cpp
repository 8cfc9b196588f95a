// jarstart-tool runtimes on a machine picture: an old 32-bit Java 8 in the
// JavaSoft keys, a 64-bit Temurin 21 kit registered only under its vendor key
// in the other registry view of the tool's build.
#include <gtest/gtest.h>

#include <windows.h>

#include <map>
#include <string>
#include <utility>
#include <vector>

#include "base/PropertyIds.h"
#include "runtime/RegistryLookup.h"
#include "tests/support/FakeRuntime.h"
#include "tests/support/Files.h"
#include "tests/support/Launcher.h"
#include "tests/support/Paths.h"
#include "tests/support/Registry.h"
#include "tests/support/ScopedEnvironment.h"
#include "tests/support/ScratchRegistry.h"
#include "tests/tool/RunTool.h"
#include "tools/jarstart-tool/FileBytes.h"

namespace {

// A path as --json writes it: each backslash doubled.
std::string JsonPath(const std::string& path) {
    std::string escaped;
    for (char c : path) escaped += c == '\\' ? std::string("\\\\") : std::string(1, c);
    return escaped;
}

// What runtimes says of a home without any jvm.dll.
std::string NoJvmLine(const std::string& home) {
    return "    in-process: not possible: no jvm.dll in " + home + "\\bin\\server or " + home + "\\bin\\client";
}


class RuntimesTest : public testing::Test {
protected:
    void SetUp() override {
        m_folder = MakeTempFolder("tool-runtimes");
        IsolateRuntimeFolders(m_environment, m_folder);
        m_java8 = m_folder + "jre8";
        MakeFakeRuntime(m_java8);
        WriteReleaseFile(m_java8, "JAVA_VERSION=\"1.8.0_265\"\n");
        UseJavaExeOf(32, m_java8);
        WriteRegString(HKEY_LOCAL_MACHINE, std::string(kRuntimeRegistryKey) + "\\1.8", "JavaHome", m_java8);
        m_java21 = m_folder + "jdk-21";
        MakeFakeRuntime(m_java21, StandInBehaviour(), true);
        UseJavaExeOf(64, m_java21);
        WriteReleaseFile(m_java21, "IMPLEMENTOR=\"Eclipse Adoptium\"\nJAVA_VERSION=\"21.0.2\"\n");
        WriteRegString(HKEY_LOCAL_MACHINE, kTemurinKey, "Path", m_java21 + "\\", kOtherViewHere);
    }
    std::string Launcher(const std::map<int, std::string>& props, const char* name) {
        std::map<int, std::string> all = props;
        if (!all.count(PROP_MAIN_MODULE)) all[PROP_START_JAR] = "app.jar";
        return PrepareLauncher(m_folder, all, name);
    }

    const char* const kTemurinKey = "SOFTWARE\\Eclipse Adoptium\\JDK\\21.0.2.13\\hotspot\\MSI";
    RuntimeRegistryGuard m_registry;
    ScopedEnvironment m_environment;
    std::string m_folder, m_java8, m_java21;
};

TEST_F(RuntimesTest, ListsBothMarksTheOneStartedAndSaysWhyNotTheOther) {
    std::vector<std::string> java8 = {"1.8.0_265  -  runtime  32-bit  " + m_java8,
                                      "    sources: HKEY_LOCAL_MACHINE\\" + std::string(kRuntimeRegistryKey) + "\\1.8"};
    std::vector<std::string> java21 = {"21.0.2  Eclipse Adoptium  kit  64-bit  " + m_java21,
                                       "    sources: HKEY_LOCAL_MACHINE\\" + std::string(kTemurinKey) +
                                           " (" + OtherViewNameHere() + " view)"};
    struct Case {
        const char* choice;
        const char* mainModule;  // "" for a jar launcher
        const char* java8Verdict;
        const char* java21Verdict;
    } const cases[] = {{"newest", "", "    a newer one is chosen", "    would start"},
                       {"first", "", "    would start", "    an earlier one is chosen"},
                       // A module needs 9: the launcher passes over Java 8.
                       {"first", "com.example.app", "    below minimum", "    would start"}};
    for (const Case& c : cases) {
        std::map<int, std::string> props = {{PROP_RUNTIME_CHOICE, c.choice}};
        if (c.mainModule[0]) props[PROP_MAIN_MODULE] = c.mainModule;
        ToolRun run = RunTool("runtimes \"" + Launcher(props, "MyApp.exe") + "\"");
        EXPECT_EQ(0u, run.exitCode) << run.err;
        EXPECT_EQ((std::vector<std::string>{java8[0], java8[1], c.java8Verdict, NoJvmLine(m_java8), java21[0],
                                            java21[1], c.java21Verdict, NoJvmLine(m_java21)}),
                  Lines(run.out))
            << c.choice;
    }
}

TEST_F(RuntimesTest, TheRuntimeMarkedIsTheOneTheLauncherStartsFromItsOwnWorkingFolder) {
    m_environment.Set("JAVA_HOME", nullptr);
    // The current-directory step, with the tool started elsewhere.
    std::string app = m_folder + "app2\\";
    CreateFolders(app + "bin");
    DWORD error = 0;
    ASSERT_TRUE(WriteFileBytes(app + "javaw.exe", "beside the launcher", &error));
    ASSERT_TRUE(WriteFileBytes(app + "bin\\javaw.exe", "in the working folder", &error));
    struct Case {
        const char* name;
        std::map<int, std::string> props;
        std::string javaHome;  // of the JavaSoft 1.8 key
        std::string lastLine;  // or, with a leading blank, the verdict on Java 8
    } const cases[] = {
        {"beside the launcher", {{PROP_MIN_VERSION, "99"}}, m_java8, "the launcher would start: " + app + "javaw.exe"},
        {"in PROP_WORK_DIR", {{PROP_MIN_VERSION, "99"}, {PROP_WORK_DIR, "bin"}}, m_java8,
         "the launcher would start: " + app + "bin\\javaw.exe"},
        {"a registered home ending in a backslash", {{PROP_RUNTIME_CHOICE, "first"}}, m_java8 + "\\",
         "    would start"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        WriteRegString(HKEY_LOCAL_MACHINE, std::string(kRuntimeRegistryKey) + "\\1.8", "JavaHome", c.javaHome);
        std::map<int, std::string> props = c.props;
        props[PROP_START_JAR] = "app.jar";
        ToolRun run = RunTool("runtimes \"" + PrepareLauncher(app, props, "cur.exe") + "\"", m_folder);
        EXPECT_EQ(0u, run.exitCode) << run.out << run.err;
        std::vector<std::string> lines = Lines(run.out);
        ASSERT_GE(lines.size(), 6u) << run.out;
        // Listed once, as the home it is, whatever the key holds.
        EXPECT_EQ(lines[0], "1.8.0_265  -  runtime  32-bit  " + m_java8);
        if (c.lastLine[0] == ' ') {
            EXPECT_EQ(lines.size(), 8u) << run.out;
            EXPECT_EQ(lines[2], c.lastLine) << run.out;
        } else {
            EXPECT_EQ(lines.back(), c.lastLine) << run.out;
        }
    }
}

TEST_F(RuntimesTest, ARuntimePlantedInAFolderEveryoneSharesIsNeverChosenAndNoFoldersProgramIsRun) {
    // Any user may make C:\ProgramData\scoop; what he puts there is his.
    std::string apps = m_folder + "ProgramData\\scoop\\apps\\";
    std::string planted = apps + "evil\\current", unversioned = apps + "quiet\\current";
    MakeFakeRuntime(planted);
    WriteReleaseFile(planted, "JAVA_VERSION=\"99\"\n");
    MakeFakeRuntime(unversioned);
    ASSERT_TRUE(LetEveryoneChange(m_folder + "ProgramData\\scoop"));
    for (const char* choice : {"newest", "first"}) {
        SCOPED_TRACE(choice);
        ToolRun run = RunTool("runtimes \"" + Launcher({{PROP_RUNTIME_CHOICE, choice}, {PROP_MIN_VERSION, "21"}},
                                                        "MyApp.exe") + "\"");
        EXPECT_EQ(0u, run.exitCode) << run.err;
        std::vector<std::string> lines = Lines(run.out);
        ASSERT_EQ(lines.size(), 16u) << run.out;
        // Each entry: its first line, its sources, its verdict, its in-process line.
        std::string bits = std::to_string(sizeof(void*) * 8) + "-bit  ";
        const std::pair<std::string, const char*> expected[] = {
            {"21.0.2  Eclipse Adoptium  kit  64-bit  " + m_java21, "    would start"},
            {"99  -  runtime  " + bits + planted, "    other users can change it"},
            // "?": never run to learn its version.
            {"?  -  runtime  " + bits + unversioned, "    other users can change it"},
        };
        for (const auto& entry : expected) {
            size_t at = 0;
            while (at + 2 < lines.size() && lines[at] != entry.first) ++at;
            ASSERT_LT(at + 2, lines.size()) << entry.first << " is not listed:\n" << run.out;
            EXPECT_EQ(lines[at + 2], entry.second) << run.out;
        }
    }
}

TEST_F(RuntimesTest, ALauncherThatFindsNoneGetsEachReasonAndExitCodeOne) {
    ToolRun run = RunTool("runtimes --json \"" +
                          Launcher({{PROP_MIN_VERSION, "11"}, {PROP_MAX_VERSION, "17"}}, "Strict.exe") + "\"");
    EXPECT_EQ(1u, run.exitCode) << run.err;
    EXPECT_NE(std::string::npos, run.out.find("\"found\": false"));
    EXPECT_NE(std::string::npos, run.out.find("\"version\": \"21.0.2\", \"vendor\": \"Eclipse Adoptium\", \"kind\": "
                                              "\"kit\", \"bits\": 64"));
    EXPECT_NE(std::string::npos, run.out.find("\"verdict\": \"above maximum\"")) << run.out;
    EXPECT_NE(std::string::npos, run.out.find("\"verdict\": \"below minimum\"")) << run.out;
}

// The tool judges a launcher of the other machine in that launcher's own
// registry views: the key this build reads as its other view is that
// launcher's own, read first, and the JavaSoft key its other view.
TEST_F(RuntimesTest, ALauncherOfTheOtherMachineIsJudgedInItsOwnRegistryViews) {
    const bool tool32 = sizeof(void*) == 4;
    std::string exe = PrepareLauncher(m_folder, {{PROP_START_JAR, "app.jar"}}, "Other.exe", nullptr,
                                      tool32 ? "x64\\jarstart.exe" : "..\\jarstart.exe");
    ASSERT_FALSE(exe.empty());
    ToolRun run = RunTool("runtimes \"" + exe + "\"");
    EXPECT_EQ(0u, run.exitCode) << run.err;
    EXPECT_EQ((std::vector<std::string>{
                  "21.0.2  Eclipse Adoptium  kit  64-bit  " + m_java21,
                  "    sources: HKEY_LOCAL_MACHINE\\" + std::string(kTemurinKey), "    would start",
                  NoJvmLine(m_java21), "1.8.0_265  -  runtime  32-bit  " + m_java8,
                  "    sources: HKEY_LOCAL_MACHINE\\" + std::string(kRuntimeRegistryKey) + "\\1.8 (" +
                      (tool32 ? "32-bit" : "64-bit") + " view)",
                  "    an earlier one is chosen", NoJvmLine(m_java8)}),
              Lines(run.out));
}

}  // namespace

TEST_F(RuntimesTest, ABundledRuntimeBelowTheMinimumIsShownWithItsVersionAndExitCodeOne) {
    std::string bundledHome = m_folder + "jre";
    MakeFakeRuntime(bundledHome);
    std::string exe = Launcher({{PROP_JRE_PATH, "jre\\bin\\javaw.exe"}, {PROP_MIN_VERSION, "11"}}, "Bundled.exe");
    std::string bundledLine = "bundled runtime, always started: " + bundledHome + "\\bin\\javaw.exe";

    WriteReleaseFile(bundledHome, "JAVA_VERSION=\"1.6.0_45\"\n");
    ToolRun below = RunTool("runtimes \"" + exe + "\"");
    EXPECT_EQ(below.exitCode, 1u) << below.out;
    std::vector<std::string> lines = Lines(below.out);
    ASSERT_GE(lines.size(), 3u) << below.out;
    EXPECT_EQ(lines[lines.size() - 3], bundledLine) << below.out;
    EXPECT_EQ(lines[lines.size() - 2], "    version 1.6.0_45 (release file): below the minimum 11") << below.out;
    EXPECT_EQ(lines.back(), NoJvmLine(bundledHome)) << below.out;
    EXPECT_EQ(below.out.find("no Java runtime found"), std::string::npos) << below.out;
    EXPECT_EQ(below.out.find("failure dialog"), std::string::npos) << below.out;
    ToolRun json = RunTool("runtimes --json \"" + exe + "\"");
    EXPECT_EQ(json.exitCode, 1u);
    EXPECT_NE(json.out.find("\"bundledVersion\": \"1.6.0_45\", \"bundledVerdict\": \"below the minimum 11\", "
                            "\"bundledInProcess\": false, \"bundledInProcessDetail\": \"no jvm.dll in "),
              std::string::npos)
        << json.out;
    EXPECT_NE(json.out.find("\"found\": false"), std::string::npos) << json.out;

    // Without a release file the runtime is asked, as the launcher would.
    DeleteFileA((bundledHome + "\\release").c_str());
    StandInBehaviour behaviour;
    behaviour.versionText = "openjdk version \"17.0.9\" 2023-10-17\n";
    WriteStandInBehaviour(bundledHome, behaviour);
    ToolRun fits = RunTool("runtimes \"" + exe + "\"");
    EXPECT_EQ(fits.exitCode, 0u) << fits.out;
    std::vector<std::string> fitLines = Lines(fits.out);
    ASSERT_GE(fitLines.size(), 2u) << fits.out;
    EXPECT_EQ(fitLines[fitLines.size() - 2], "    version 17.0.9 (probed): meets the minimum 11") << fits.out;
}

TEST_F(RuntimesTest, EachRuntimeSaysWhetherTheLauncherCouldRunItInItsOwnProcessAndWhyNot) {
    // Java 8's only VM is a 32-bit client, Java 21's a 64-bit server VM.
    CreateFolders(m_java8 + "\\bin\\client");
    ASSERT_TRUE(WritePeHeaderFile(m_java8 + "\\bin\\client\\jvm.dll", 0x014c));
    CreateFolders(m_java21 + "\\bin\\server");
    ASSERT_TRUE(WritePeHeaderFile(m_java21 + "\\bin\\server\\jvm.dll", 0x8664));
    const bool launcher64 = sizeof(void*) == 8;
    std::string java8Line = launcher64 ? "    in-process: not possible: " + m_java8 +
                                             "\\bin\\client\\jvm.dll is x86, the launcher x64"
                                       : "    in-process: possible, " + m_java8 + "\\bin\\client\\jvm.dll";
    std::string java21Line = launcher64 ? "    in-process: possible, " + m_java21 + "\\bin\\server\\jvm.dll"
                                        : "    in-process: not possible: " + m_java21 +
                                              "\\bin\\server\\jvm.dll is x64, the launcher x86";
    ToolRun run = RunTool("runtimes \"" + Launcher({{PROP_IN_PROCESS, "true"}}, "InProcess.exe") + "\"");
    EXPECT_EQ(0u, run.exitCode) << run.err;
    std::vector<std::string> lines = Lines(run.out);
    ASSERT_EQ(lines.size(), 8u) << run.out;
    EXPECT_EQ(lines[3], java8Line) << run.out;
    EXPECT_EQ(lines[7], java21Line) << run.out;

    ToolRun json = RunTool("runtimes --json \"" + Launcher({{PROP_IN_PROCESS, "true"}}, "InProcess.exe") + "\"");
    EXPECT_NE(json.out.find(launcher64 ? "\"inProcess\": true, \"inProcessDetail\": \"" + JsonPath(m_java21)
                                       : "\"inProcess\": true, \"inProcessDetail\": \"" + JsonPath(m_java8)),
              std::string::npos)
        << json.out;
    EXPECT_NE(json.out.find("\"inProcess\": false"), std::string::npos) << json.out;
}
