// The splash of the real launcher, starting the stand-in application.
#include <windows.h>

#include <atomic>
#include <string>
#include <thread>

#include <gtest/gtest.h>

#include "tests/support/FakeRuntime.h"
#include "tests/support/Launcher.h"
#include "tests/support/Paths.h"
#include "tests/ui/UiTestSupport.h"

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
