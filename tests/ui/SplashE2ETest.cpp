// The splash of the real launcher, starting the stand-in application.
#include <windows.h>

#include <atomic>
#include <string>
#include <thread>

#include <gtest/gtest.h>

#include "tests/support/FakeJvm.h"
#include "tests/support/FakeRuntime.h"
#include "tests/support/Launcher.h"
#include "tests/support/Paths.h"
#include "tests/ui/UiTestSupport.h"
#include "tools/testing/standin-jvm/StandInJvm.h"

namespace {

const char kSplashError[] = "Cannot load splash screen. Probably unsupported or invalid file.";

struct SplashSearch {
    DWORD ownProcess;
    HWND found;
};

BOOL CALLBACK FindSplash(HWND window, LPARAM param) {
    SplashSearch* search = reinterpret_cast<SplashSearch*>(param);
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    char className[32] = {};
    GetClassNameA(window, className, sizeof(className));
    if (processId != search->ownProcess && std::string(className) == "Static" && IsWindowVisible(window)) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

HWND FindVisibleSplash() {
    SplashSearch search = {GetCurrentProcessId(), nullptr};
    EnumWindows(FindSplash, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

}  // namespace

TEST(SplashE2ETest, TheSplashShowsWhileTheApplicationStartsAndTheLauncherEndsWhenItsWindowAppears) {
    std::string folder = MakeTempFolder("ui-splash-launcher");
    StandInBehaviour behaviour;
    behaviour.windowAfterMs = 2500;
    behaviour.liveMs = 6000;
    MakeFakeRuntime(folder + "rt", behaviour);
    std::string image = ReadWholeFile(TestDataPath("splash.gif"));
    std::string exe = PrepareLauncher(folder,
                                      {{96, "on"}, {98, "20"}, {99, "rt\\bin\\javaw.exe"}, {101, "app.jar"},
                                       {102, "on"}},
                                      "launcher.exe", &image);
    ASSERT_FALSE(exe.empty());

    LaunchResult result;
    std::atomic<bool> done(false);
    std::thread launcher([&] {
        result = RunLauncher(exe, "");
        done = true;
    });
    HWND splash = nullptr;
    bool seen = WaitUntil([&] { return (splash = FindVisibleSplash()) != nullptr || done; }, 30000) && splash;
    RECT rect = {};
    if (splash) GetWindowRect(splash, &rect);
    Screenshot shot;
    bool shotTaken = splash && TakeScreenshot("splash-launcher", &shot);
    launcher.join();

    ASSERT_TRUE(seen) << JoinLog(result.log);
    EXPECT_EQ(rect.right - rect.left, 40);
    EXPECT_EQ(rect.bottom - rect.top, 30);
    ASSERT_TRUE(shotTaken);
    EXPECT_EQ(shot.Pixel(rect.left + 5, rect.top + 5), RGB(255, 0, 0));
    EXPECT_EQ(shot.Pixel(rect.left + 35, rect.top + 25), RGB(255, 255, 0));
    EXPECT_TRUE(result.started);
    EXPECT_FALSE(result.timedOut);
    EXPECT_EQ(result.exitCode, 0u) << JoinLog(result.log);
    EXPECT_TRUE(result.dialogs.empty());
    EXPECT_TRUE(WaitForRecordedRun(folder + "rt").found);
}

// In-process (PROP_IN_PROCESS) the application's window is in the launcher's
// own process: the splash goes when it appears (never counting the splash
// itself), and the launcher lives on with the application.
TEST(SplashE2ETest, InProcessTheSplashClosesAtTheApplicationsFirstWindowAndTheLauncherLivesOn) {
    std::string folder = MakeTempFolder("ui-splash-inprocess");
    StandInBehaviour java17;
    java17.versionText = "openjdk version \"17.0.2\" 2022-01-18\n";
    MakeFakeRuntime(folder + "rt", java17);
    UseJvmDllOf(static_cast<int>(sizeof(void*) * 8), folder + "rt");
    std::string image = ReadWholeFile(TestDataPath("splash.gif"));
    std::string exe = PrepareLauncher(folder,
                                      {{96, "on"}, {98, "20"}, {99, "rt\\bin\\javaw.exe"}, {101, "app.jar"},
                                       {102, "on"}, {116, "1"},
                                       {100, std::string(STANDIN_JVM_DELAY_OPTION) + "2500 " +
                                                 STANDIN_JVM_MAIN_OPTION + "window:30000"}},
                                      "launcher.exe", &image);
    ASSERT_FALSE(exe.empty());

    LaunchResult result;
    std::atomic<bool> done(false);
    std::thread launcher([&] {
        result = RunLauncher(exe, "");
        done = true;
    });
    bool splashSeen = WaitUntil([&] { return FindVisibleSplash() != nullptr || done; }, 30000) && !done;
    HWND window = nullptr;
    bool windowSeen = WaitUntil([&] {
        window = FindWindowA(STANDIN_JVM_WINDOW_CLASS, nullptr);
        return (window && IsWindowVisible(window)) || done;
    }, 30000) && window;
    bool splashGone = windowSeen && WaitUntil([&] { return FindVisibleSplash() == nullptr; }, 10000);
    bool launcherLived = !done;
    DWORD windowProcess = 0;
    if (window) GetWindowThreadProcessId(window, &windowProcess);
    if (window) PostMessageA(window, WM_CLOSE, 0, 0);
    launcher.join();

    EXPECT_TRUE(splashSeen) << JoinLog(result.log);
    ASSERT_TRUE(windowSeen) << JoinLog(result.log);
    EXPECT_TRUE(splashGone);
    EXPECT_TRUE(launcherLived) << "the launcher is the application";
    EXPECT_EQ(windowProcess, result.processId);
    EXPECT_EQ(result.exitCode, 0u) << JoinLog(result.log);
    EXPECT_TRUE(result.dialogs.empty());
    EXPECT_FALSE(ReadRecordedRun(folder + "rt").found) << "no javaw.exe";
}

TEST(SplashE2ETest, AnImageTheLoaderRejectsShowsTheErrorEndsWith1AndStartsNothing) {
    std::string folder = MakeTempFolder("ui-splash-launcher-bad");
    MakeFakeRuntime(folder + "rt");
    std::string packed = ReadWholeFile(TestDataPath("splash-packed.dib"));
    std::string exe = PrepareLauncher(folder, {{96, "on"}, {99, "rt\\bin\\javaw.exe"}, {101, "app.jar"}},
                                      "launcher.exe", &packed);
    ASSERT_FALSE(exe.empty());
    LaunchResult result = RunLauncher(exe, "");
    EXPECT_EQ(result.exitCode, 1u) << JoinLog(result.log);
    ASSERT_EQ(result.dialogs.size(), 1u);
    EXPECT_EQ(result.dialogs[0].text, kSplashError);
    EXPECT_EQ(result.dialogs[0].caption, "");
    EXPECT_FALSE(ReadRecordedRun(folder + "rt").found);
}
