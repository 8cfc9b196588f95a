// jarstart-tool runtimes on a machine picture: an old 32-bit Java 8 in the
// JavaSoft keys, a 64-bit Temurin 21 kit registered only under its vendor key.
#include <gtest/gtest.h>

#include <windows.h>

#include <map>
#include <string>
#include <vector>

#include "base/PropertyIds.h"
#include "runtime/RegistryLookup.h"
#include "tests/support/FakeRuntime.h"
#include "tests/support/Launcher.h"
#include "tests/support/Paths.h"
#include "tests/support/Registry.h"
#include "tests/support/ScopedEnvironment.h"
#include "tests/support/ScratchRegistry.h"
#include "tests/tool/RunTool.h"

namespace {

class RuntimesTest : public testing::Test {
protected:
    void SetUp() override {
        m_folder = MakeTempFolder("tool-runtimes");
        IsolateRuntimeFolders(m_environment, m_folder);
        m_java8 = m_folder + "jre8";
        MakeFakeRuntime(m_java8);
        WriteReleaseFile(m_java8, "JAVA_VERSION=\"1.8.0_265\"\n");
        MarkAsX86Executable(m_java8 + "\\bin\\java.exe");
        WriteRegString(HKEY_LOCAL_MACHINE, std::string(kRuntimeRegistryKey) + "\\1.8", "JavaHome", m_java8);
        m_java21 = m_folder + "jdk-21";
        MakeFakeRuntime(m_java21, StandInBehaviour(), true);
        WriteReleaseFile(m_java21, "IMPLEMENTOR=\"Eclipse Adoptium\"\nJAVA_VERSION=\"21.0.2\"\n");
        WriteRegString(HKEY_LOCAL_MACHINE, kTemurinKey, "Path", m_java21 + "\\", m_vendorView);
    }
    std::string Launcher(const std::map<int, std::string>& props, const char* name) {
        std::map<int, std::string> all = props;
        all[PROP_START_JAR] = "app.jar";
        return PrepareLauncher(m_folder, all, name);
    }

    const char* const kTemurinKey = "SOFTWARE\\Eclipse Adoptium\\JDK\\21.0.2.13\\hotspot\\MSI";
    const REGSAM m_vendorView = HasOther64BitRegistryViewHere() ? KEY_WOW64_64KEY : 0;
    RuntimeRegistryGuard m_registry;
    ScopedEnvironment m_environment;
    std::string m_folder, m_java8, m_java21;
};

TEST_F(RuntimesTest, ListsBothMarksTheOneStartedAndSaysWhyNotTheOther) {
    std::vector<std::string> java8 = {"1.8.0_265  -  runtime  32-bit  " + m_java8,
                                      "    sources: HKEY_LOCAL_MACHINE\\" + std::string(kRuntimeRegistryKey) + "\\1.8"};
    std::vector<std::string> java21 = {"21.0.2  Eclipse Adoptium  kit  64-bit  " + m_java21,
                                       "    sources: HKEY_LOCAL_MACHINE\\" + std::string(kTemurinKey) +
                                           (m_vendorView ? " (64-bit view)" : "")};
    struct Case {
        const char* choice;
        const char* java8Verdict;
        const char* java21Verdict;
    } const cases[] = {{"newest", "    a newer one is chosen", "    would start"},
                       {"first", "    would start", "    an earlier one is chosen"}};
    for (const Case& c : cases) {
        ToolRun run = RunTool("runtimes \"" + Launcher({{PROP_RUNTIME_CHOICE, c.choice}}, "MyApp.exe") + "\"");
        EXPECT_EQ(0u, run.exitCode) << run.err;
        EXPECT_EQ((std::vector<std::string>{java8[0], java8[1], c.java8Verdict, java21[0], java21[1], c.java21Verdict}),
                  Lines(run.out))
            << c.choice;
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
    ASSERT_GE(lines.size(), 2u) << below.out;
    EXPECT_EQ(lines[lines.size() - 2], bundledLine) << below.out;
    EXPECT_EQ(lines.back(), "    version 1.6.0_45 (release file): below the minimum 11") << below.out;
    EXPECT_EQ(below.out.find("no Java runtime found"), std::string::npos) << below.out;
    EXPECT_EQ(below.out.find("failure dialog"), std::string::npos) << below.out;
    ToolRun json = RunTool("runtimes --json \"" + exe + "\"");
    EXPECT_EQ(json.exitCode, 1u);
    EXPECT_NE(json.out.find("\"bundledVersion\": \"1.6.0_45\", \"bundledVerdict\": \"below the minimum 11\""),
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
    EXPECT_EQ(Lines(fits.out).back(), "    version 17.0.9 (probed): meets the minimum 11") << fits.out;
}
