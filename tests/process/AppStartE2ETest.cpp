// The application start and the start-up watch through the real launcher,
// with the stand-in runtime as the application.
#include <windows.h>

#include <cstring>
#include <fstream>
#include <map>
#include <string>

#include <gtest/gtest.h>

#include "base/PropertyIds.h"
#include "tests/support/Dialogs.h"
#include "tests/support/FakeRuntime.h"
#include "tests/support/Files.h"
#include "tests/support/Launcher.h"
#include "tests/support/Paths.h"
#include "tests/support/SplashBmp.h"
#include "tools/testing/common/FileUtil.h"

namespace {

class AppStartE2ETest : public testing::Test {
protected:
    // A launcher in build\tmp\<name>\ whose bundled runtime is the stand-in
    // in jre\, started as a relative PROP_JRE_PATH; app.jar unless props
    // name a module.
    std::string Prepare(const std::string& name, const StandInBehaviour& behaviour,
                        std::map<int, std::string> props) {
        m_folder = MakeTempFolder(name);
        m_home = m_folder + "jre";
        MakeFakeRuntime(m_home, behaviour);
        props[PROP_JRE_PATH] = "jre\\bin\\javaw.exe";
        if (!props.count(PROP_MAIN_MODULE)) props[PROP_START_JAR] = "app.jar";
        std::string splash = MakeSplashBmp();
        return PrepareLauncher(m_folder, props, "launcher.exe", props.count(PROP_SPLASH) ? &splash : nullptr);
    }
    void TearDown() override {
        if (!m_home.empty()) EndStandIns(m_home);
    }

    std::string m_folder, m_home;
};

StandInBehaviour LongRunning(int windowAfterMs = -1) {
    StandInBehaviour behaviour;
    behaviour.windowAfterMs = windowAfterMs;
    behaviour.liveMs = 30000;
    return behaviour;
}

TEST_F(AppStartE2ETest, AWindowShownBetweenTheFirstAndSecondTickEndsTheLauncherWithZeroWhileTheApplicationRunsOn) {
    std::string exe = Prepare("process-e2e-window", LongRunning(1500),
                              {{PROP_SPLASH, "1"}, {PROP_SPLASH_TIMEOUT, "3"}, {PROP_WATCH_APP_WINDOW, "1"}});
    ASSERT_FALSE(exe.empty());
    LaunchResult result = RunLauncher(exe, "");
    ASSERT_TRUE(result.started);
    EXPECT_EQ(result.exitCode, 0u) << JoinLog(result.log);
    EXPECT_TRUE(result.dialogs.empty());
    EXPECT_EQ(EndStandIns(m_home), 1) << "the application runs on";
}

struct CountdownCase {
    const char* name;
    const char* timeout;
    DWORD exitCode;
};

class AppStartCountdownE2ETest : public AppStartE2ETest, public testing::WithParamInterface<CountdownCase> {};

TEST_P(AppStartCountdownE2ETest, WithoutAWindowTheLauncherReturnsTheLastPolledExitCode) {
    std::string exe = Prepare(std::string("process-e2e-countdown-") + GetParam().timeout, LongRunning(),
                              {{PROP_SPLASH, "1"}, {PROP_SPLASH_TIMEOUT, GetParam().timeout}, {PROP_WATCH_APP_WINDOW, "1"}});
    ASSERT_FALSE(exe.empty());
    LaunchResult result = RunLauncher(exe, "");
    EXPECT_EQ(result.exitCode, GetParam().exitCode) << JoinLog(result.log);
    EXPECT_EQ(EndStandIns(m_home), 1) << "the application runs on";
}

INSTANTIATE_TEST_SUITE_P(Countdowns, AppStartCountdownE2ETest,
                         testing::Values(CountdownCase{"ThreeTicksGiveStillActive", "3", STILL_ACTIVE},
                                         CountdownCase{"OneTickPollsNothing", "1", 0}),
                         [](const testing::TestParamInfo<CountdownCase>& info) { return std::string(info.param.name); });

TEST_F(AppStartE2ETest, AnApplicationEndingDuringTheCountdownEndsTheLauncherWithItsExitCode) {
    StandInBehaviour behaviour;
    behaviour.exitCode = 7;
    // A countdown far longer than the application lives: only the tick that
    // sees the exit code can end the launcher.
    std::string exe = Prepare("process-e2e-exit7", behaviour, {{PROP_SPLASH, "1"}, {PROP_SPLASH_TIMEOUT, "60"}});
    ASSERT_FALSE(exe.empty());
    LaunchResult result = RunLauncher(exe, "");
    EXPECT_EQ(result.exitCode, 7u) << JoinLog(result.log);
    EXPECT_TRUE(result.dialogs.empty());
}

TEST_F(AppStartE2ETest, WithTheSplashOffTheLauncherReturnsZeroRightAfterTheStart) {
    std::string exe = Prepare("process-e2e-nosplash", LongRunning(), {});
    ASSERT_FALSE(exe.empty());
    LaunchResult result = RunLauncher(exe, "");
    EXPECT_EQ(result.exitCode, 0u) << JoinLog(result.log);
    EXPECT_FALSE(WaitForRecordedRun(m_home).commandLine.empty()) << "the application was started";
    EXPECT_EQ(EndStandIns(m_home), 1) << "the application runs on";
}

TEST_F(AppStartE2ETest, InDebugModeTheApplicationsOutputLandsInLogTxtInOrderWithCrLf) {
    StandInBehaviour behaviour = LongRunning();
    behaviour.stdoutText = "standard output line\nsecond \x84 line\n";
    behaviour.stderrText = "standard error line\n";
    std::string exe = Prepare("process-e2e-debug", behaviour, {{PROP_SPLASH, "1"}, {PROP_SPLASH_TIMEOUT, "3"}});
    ASSERT_FALSE(exe.empty());
    RunOptions options;
    options.currentDir = m_folder;
    LaunchResult result = RunLauncher(exe, "-d", options);
    EXPECT_EQ(result.exitCode, static_cast<DWORD>(STILL_ACTIVE)) << JoinLog(result.log);
    // The OEM byte 0x84 (code page 437) arrives in the launcher's ANSI code
    // page, which its manifest makes UTF-8: "ä" is two bytes there.
    EXPECT_EQ(ReadWholeFile(m_folder + "log.txt"),
              "standard output line\r\nsecond \xC3\xA4 line\r\nstandard error line\r\n");
}

struct FailedStartCase {
    const char* name;
    const char* jrePath;  // relative to the launcher folder
};

class AppStartFailedE2ETest : public AppStartE2ETest, public testing::WithParamInterface<FailedStartCase> {};

TEST_P(AppStartFailedE2ETest, AFailedStartShowsBothLinesOfTheErrorAndEndsWithOne) {
    m_folder = MakeTempFolder(std::string("process-e2e-failed-") + GetParam().name);
    ASSERT_TRUE(CreateDirectoryA((m_folder + "jre").c_str(), nullptr));
    std::ofstream(m_folder + "readme.txt") << "not a program";
    std::string splash = MakeSplashBmp();
    // The splash is on, so the start-up timer ticks while the error box is up.
    std::string exe = PrepareLauncher(m_folder,
                                      {{PROP_SPLASH, "1"}, {PROP_SPLASH_TIMEOUT, "2"}, {PROP_JRE_PATH, GetParam().jrePath},
                                       {PROP_START_JAR, "app.jar"}},
                                      "launcher.exe", &splash);
    ASSERT_FALSE(exe.empty());
    LaunchResult result = RunLauncher(exe, "");
    EXPECT_EQ(result.exitCode, 1u) << JoinLog(result.log);
    ASSERT_EQ(result.dialogs.size(), 1u) << JoinLog(result.log);
    const std::string first = "Error occured while starting the application...\n";
    const std::string& text = result.dialogs[0].text;
    ASSERT_EQ(text.compare(0, first.size(), first), 0) << text;
    // The second line names the cause: the system's text for the error of
    // the failed start.
    EXPECT_NE(text.find_first_not_of(" \r\n", first.size()), std::string::npos) << text;
}

INSTANTIATE_TEST_SUITE_P(Causes, AppStartFailedE2ETest,
                         testing::Values(FailedStartCase{"Directory", "jre"}, FailedStartCase{"TextFile", "readme.txt"}),
                         [](const testing::TestParamInfo<FailedStartCase>& info) { return std::string(info.param.name); });

TEST_F(AppStartE2ETest, AnExecutablePathWithBlanksReachesTheApplicationQuoted) {
    std::string folder = MakeTempFolder("process-e2e-blanks") + "Program Files\\";
    ASSERT_TRUE(CreateDirectoryA(folder.c_str(), nullptr));
    folder += "My App\\";
    ASSERT_TRUE(CreateDirectoryA(folder.c_str(), nullptr));
    m_home = folder + "my jre";
    MakeFakeRuntime(m_home, StandInBehaviour());
    std::string exe = PrepareLauncher(folder, {{PROP_JRE_PATH, "my jre\\bin\\javaw.exe"}, {PROP_START_JAR, "app.jar"}});
    ASSERT_FALSE(exe.empty());
    LaunchResult result = RunLauncher(exe, "-p one two");
    EXPECT_EQ(result.exitCode, 0u) << JoinLog(result.log);
    RecordedRun run = WaitForRecordedRun(m_home);
    EXPECT_EQ(run.commandLine, "\"" + folder.substr(0, folder.size() - 1) + "\\my jre\\bin\\javaw.exe\"  -jar app.jar  one two")
        << JoinLog(result.log);
}

TEST_F(AppStartE2ETest, WithShowStartErrorsAnApplicationEndingBadlyBeforeItsWindowExplainsItselfInADialog) {
    const std::string kError = "Error: Could not find or load main class demo.Main\n";
    const struct {
        const char* name;
        int exitCode;
        int windowAfterMs;
        const char* dialogText;  // nullptr: no dialog
        DWORD launcherExit;
        const char* timeout;
        const char* mainModule;  // "": a jar launcher
    } cases[] = {
        {"exit1", 1, -1,
         "The application ended with exit code 1 while it was starting.\r\n\r\n"
         "Error: Could not find or load main class demo.Main\r\n",
         1, "20", ""},
        {"exit0", 0, -1, nullptr, 0, "20", ""},
        {"window", 1, 0, nullptr, 0, "20", ""},
        // A module start is watched alike.
        {"module-exit1", 1, -1,
         "The application ended with exit code 1 while it was starting.\r\n\r\n"
         "Error: Could not find or load main class demo.Main\r\n",
         1, "20", "com.example.app/demo.Main"},
        // One tick only: the tick that ends the countdown does not poll.
        {"exit3-last-second", 3, -1,
         "The application ended with exit code 3 while it was starting.\r\n\r\n"
         "Error: Could not find or load main class demo.Main\r\n",
         3, "1", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        StandInBehaviour behaviour;
        behaviour.stderrText = kError;
        behaviour.exitCode = c.exitCode;
        behaviour.windowAfterMs = c.windowAfterMs;
        if (c.windowAfterMs >= 0) behaviour.liveMs = 30000;
        // No splash: the property alone watches the start.
        std::map<int, std::string> props = {{PROP_SHOW_START_ERRORS, "1"}, {PROP_SPLASH_TIMEOUT, c.timeout}};
        if (c.mainModule[0]) props[PROP_MAIN_MODULE] = c.mainModule;
        std::string exe = Prepare(std::string("process-e2e-errors-") + c.name, behaviour, props);
        ASSERT_FALSE(exe.empty());
        LaunchResult result = RunLauncher(exe, "");
        EXPECT_EQ(result.exitCode, c.launcherExit) << JoinLog(result.log);
        if (c.dialogText) {
            ASSERT_EQ(result.dialogs.size(), 1u) << JoinLog(result.log);
            EXPECT_EQ(result.dialogs[0].caption, "Application Error");
            EXPECT_EQ(result.dialogs[0].text, c.dialogText);
        } else {
            EXPECT_TRUE(result.dialogs.empty()) << result.dialogs[0].text;
        }
        if (c.mainModule[0]) {
            EXPECT_GE(FindEntry(result.log, std::string("Full argument line:  -m ") + c.mainModule + " "), 0)
                << JoinLog(result.log);
        }
        EndStandIns(m_home);
    }
}

TEST_F(AppStartE2ETest, ASecondLauncherOfTheSameInstanceBringsTheRunningApplicationBackAndStartsNothing) {
    std::string exe = Prepare("process-e2e-single", LongRunning(0), {{PROP_SINGLE_INSTANCE, "Quill Editor"}});
    ASSERT_FALSE(exe.empty());
    LaunchResult first = RunLauncher(exe, "");
    ASSERT_EQ(first.exitCode, 0u) << JoinLog(first.log);
    // The first launcher has ended; its application holds the instance.
    HWND window = nullptr;
    ASSERT_TRUE(WaitUntil([&] {
        std::vector<unsigned long> apps = FindStandIns(m_home);
        std::vector<HWND> windows = apps.empty() ? std::vector<HWND>() : FindProcessWindows(apps[0], true);
        window = windows.empty() ? nullptr : windows[0];
        return window != nullptr;
    }, 20000));
    ShowWindow(window, SW_MINIMIZE);
    ASSERT_TRUE(WaitUntil([&] { return IsIconic(window) != FALSE; }, 5000));

    LaunchResult second = RunLauncher(exe, "-p another.txt");
    EXPECT_EQ(second.exitCode, 0u) << JoinLog(second.log);
    EXPECT_GE(FindEntry(second.log, "Application is already running."), 0) << JoinLog(second.log);
    EXPECT_EQ(FindEntry(second.log, "Jre path: "), -1) << JoinLog(second.log);
    EXPECT_TRUE(WaitUntil([&] { return !IsIconic(window); }, 5000)) << "the window was not restored";
    EXPECT_TRUE(WaitUntil([&] { return GetForegroundWindow() == window; }, 5000)) << "not in front";
    EXPECT_EQ(EndStandIns(m_home), 1) << "one application";
}

}  // namespace
