// RunLauncher: the end-to-end tests' way to start the launcher, read its
// diagnostic log and meet its dialogs.
#include <windows.h>

#include <gtest/gtest.h>

#include "tests/support/FakeRuntime.h"
#include "tests/support/Launcher.h"
#include "tests/support/Paths.h"
#include "base/PropertyIds.h"
#include "tools/jarstart-tool/LauncherImage.h"

namespace {

std::string GetEnv(const char* name, bool* isSet) {
    char value[1024];
    DWORD n = GetEnvironmentVariableA(name, value, sizeof(value));
    *isSet = n > 0 || GetLastError() != ERROR_ENVVAR_NOT_FOUND;
    return std::string(value, n < sizeof(value) ? n : 0);
}

}  // namespace

TEST(RunLauncherTest, CollectsTheDiagnosticLogOfTheRealLauncher) {
    std::string folder = MakeTempFolder("run-launcher-log");
    std::string exe = folder + "jarstart.exe";
    ASSERT_TRUE(CopyFileA((BuildDir() + "jarstart.exe").c_str(), exe.c_str(), FALSE));
    LaunchResult result = RunLauncher(exe, "-p a b");
    ASSERT_TRUE(result.started);
    EXPECT_FALSE(result.timedOut);
    ASSERT_FALSE(result.log.empty());
    EXPECT_EQ(result.log[0], "Launcher executed with command line: -p a b") << JoinLog(result.log);
}

TEST(RunLauncherTest, SeesAndDismissesAMessageBoxOfTheProcess) {
    struct Case {
        const char* caption;
        const char* text;
    };
    const Case cases[] = {
        {"", "Java not found"},
        {"Stand-in caption", "First line\nsecond line with \xE9"},
    };
    std::string home = MakeTempFolder("run-launcher-box") + "jre";
    MakeFakeRuntime(home);
    for (const Case& c : cases) {
        StandInBehaviour behaviour;
        behaviour.messageBoxText = c.text;
        behaviour.messageBoxCaption = c.caption;
        behaviour.exitCode = 5;
        WriteStandInBehaviour(home, behaviour);
        int hookCalls = 0;
        RunOptions options;
        options.onDialog = [&](HWND) { ++hookCalls; };
        LaunchResult result = RunLauncher(home + "\\bin\\javaw.exe", "", options);
        ASSERT_TRUE(result.started);
        EXPECT_FALSE(result.timedOut);
        EXPECT_EQ(result.exitCode, 5u);  // it went on after the box was closed
        ASSERT_EQ(result.dialogs.size(), 1u);
        EXPECT_EQ(result.dialogs[0].caption, c.caption);
        EXPECT_EQ(result.dialogs[0].text, c.text);
        EXPECT_EQ(result.dialogs[0].className, "#32770");
        EXPECT_EQ(hookCalls, 1);
    }
}

TEST(RunLauncherTest, TerminatesALauncherThatOutlivesTheTimeout) {
    std::string home = MakeTempFolder("run-launcher-timeout") + "jre";
    StandInBehaviour behaviour;
    behaviour.messageBoxText = "Nobody presses OK";
    MakeFakeRuntime(home, behaviour);
    RunOptions options;
    options.dismissDialogs = false;
    options.timeoutMs = 1500;
    LaunchResult result = RunLauncher(home + "\\bin\\javaw.exe", "", options);
    ASSERT_TRUE(result.started);
    EXPECT_TRUE(result.timedOut);
    EXPECT_EQ(result.exitCode, 0xDEADu);
    EXPECT_EQ(result.dialogs.size(), 1u);
}

TEST(RunLauncherTest, HidesJavaHomeUnlessGivenAndRestoresTheTestEnvironment) {
    std::string home = MakeTempFolder("run-launcher-env") + "jre";
    MakeFakeRuntime(home);
    std::string exe = home + "\\bin\\javaw.exe";
    ASSERT_TRUE(SetEnvironmentVariableA("JAVA_HOME", "C:\\from-the-test-process"));
    ASSERT_TRUE(SetEnvironmentVariableA("JARSTART_TEST_VAR", nullptr));

    LaunchResult plain = RunLauncher(exe, "first");
    ASSERT_TRUE(plain.started);
    RecordedRun first = ReadRecordedRun(home);
    ASSERT_TRUE(first.found);
    EXPECT_EQ(first.env.count("JAVA_HOME"), 0u);
    EXPECT_EQ(first.currentDir, home + "\\bin");  // the launcher's folder by default

    RunOptions options;
    options.env["JAVA_HOME"] = "C:\\given home";
    options.env["JARSTART_TEST_VAR"] = "x";
    options.currentDir = home;
    LaunchResult given = RunLauncher(exe, "second", options);
    ASSERT_TRUE(given.started);
    RecordedRun second = ReadRecordedRun(home);
    EXPECT_EQ(second.commandLine, "\"" + exe + "\" second");
    EXPECT_EQ(second.env["JAVA_HOME"], "C:\\given home");
    EXPECT_EQ(second.env["JARSTART_TEST_VAR"], "x");
    EXPECT_EQ(second.currentDir, home);

    bool isSet = false;
    EXPECT_EQ(GetEnv("JAVA_HOME", &isSet), "C:\\from-the-test-process");
    EXPECT_TRUE(isSet);
    GetEnv("JARSTART_TEST_VAR", &isSet);
    EXPECT_FALSE(isSet);
}

TEST(RunLauncherTest, PrepareLauncherSetsTheGivenPropertiesAndMakesTheOthersAbsent) {
    std::string folder = MakeTempFolder("prepare-launcher");
    std::string splash = "BM not really a picture \x84";
    std::map<int, std::string> props = {{PROP_START_JAR, "app.jar"}, {PROP_MIN_VERSION, "1.5"}};
    std::string exe = PrepareLauncher(folder, props, "My App.exe", &splash);
    ASSERT_EQ(exe, folder + "My App.exe");

    LauncherImage image;
    std::string error;
    ASSERT_TRUE(ReadLauncherImage(exe, &image, &error)) << error;
    for (int id = PROP_SPLASH; id <= PROP_SEARCH_JDK_ONLY; ++id) {
        auto given = props.find(id);
        EXPECT_EQ(PropertyValue(image, id), given == props.end() ? "" : given->second) << id;
    }
    EXPECT_TRUE(image.hasSplash);
    EXPECT_EQ(image.splash, splash);

    LaunchResult result = RunLauncher(exe, "x \"y z\"");
    ASSERT_TRUE(result.started);
    ASSERT_FALSE(result.log.empty());
    EXPECT_EQ(result.log[0], "Launcher executed with command line: x \"y z\"");
}
