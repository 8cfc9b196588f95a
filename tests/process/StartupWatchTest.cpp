#include "process/StartupWatch.h"

#include <algorithm>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "base/Globals.h"
#include "tests/process/DebuggerRun.h"
#include "tests/support/Paths.h"
#include "process/AppStart.h"

namespace {

const DWORD kWait = 30000;

// splash window is a plain hidden popup owned by the test thread.
class StartupWatchTest : public testing::Test {
protected:
    void SetUp() override {
        m_saved = {g_splashActive, g_splashCountdown, g_watchAppWindow, g_splashWnd, g_appProcess, g_appExitCode};
        g_splashWnd = CreateWindowExA(0, "STATIC", "splash", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                      GetModuleHandleA(nullptr), nullptr);
        ASSERT_NE(g_splashWnd, nullptr);
        g_appProcess = PROCESS_INFORMATION();
        g_appExitCode = 0;
        DrainQuit();
    }
    void TearDown() override {
        if (g_appProcess.hProcess) {
            TerminateProcess(g_appProcess.hProcess, 0);
            CloseAppHandles();
        }
        // The child's end breaks the pipe and the reader finishes by itself;
        // a reader stopped by force can leave the test process's own locks
        // taken.
        EXPECT_TRUE(m_pipe.WaitIdle(kWait));
        DestroyWindow(g_splashWnd);
        DrainQuit();
        g_splashActive = m_saved.splashActive;
        g_splashCountdown = m_saved.countdown;
        g_watchAppWindow = m_saved.watch;
        g_splashWnd = m_saved.window;
        g_appProcess = m_saved.process;
        g_appExitCode = m_saved.exitCode;
    }

    static bool DrainQuit() {
        MSG message;
        return PeekMessageA(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE) != 0;
    }

    // Starts a child of this program into g_appProcess through a keep-object
    // pipe the fixture owns; with wait, until the child has ended.
    void StartChild(const std::string& verbs, bool wait) {
        PROCESS_INFORMATION started = {};
        ASSERT_EQ(m_pipe.Execute(ChildCommand(verbs).c_str(), &started), 0);
        g_appProcess = started;
        if (wait) {
            ASSERT_EQ(WaitForSingleObject(started.hProcess, kWait), WAIT_OBJECT_0);
        }
    }

    // The message loop of the launch sequence, with a safety stop that
    // reports a loop the watch never ended.
    bool RunMessageLoop() {
        UINT_PTR safety = SetTimer(nullptr, 0, 20000, SafetyStop);
        s_safetyFired = false;
        MSG message;
        while (GetMessageA(&message, nullptr, 0, 0) != 0) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
        KillTimer(nullptr, safety);
        return !s_safetyFired;
    }
    static VOID CALLBACK SafetyStop(HWND, UINT, UINT_PTR, DWORD) {
        s_safetyFired = true;
        PostQuitMessage(0);
    }

    struct Saved {
        int splashActive, countdown, watch;
        HWND window;
        PROCESS_INFORMATION process;
        DWORD exitCode;
    } m_saved;
    PipeRecord m_record;
    RecordingPipe m_pipe{1, PIPE_KEEP_OBJECT, &m_record};
    static bool s_safetyFired;
};
bool StartupWatchTest::s_safetyFired = false;

enum class App { None, Running, Exited7 };

struct TickCase {
    const char* name;
    int splashActive;
    int countdown;
    App app;
    DWORD exitCodeBefore;
    int countdownAfter;
    DWORD exitCodeAfter;
    bool timerStopped;
    bool quitPosted;
};

class StartupTickTest : public StartupWatchTest, public testing::WithParamInterface<TickCase> {};

TEST_P(StartupTickTest, OneTickCountsDownPollsAndEndsAsTheWatchRequires) {
    const TickCase& c = GetParam();
    if (c.app != App::None) StartChild(c.app == App::Running ? "wait-input-end" : "exit 7", c.app == App::Exited7);
    g_splashActive = c.splashActive;
    g_splashCountdown = c.countdown;
    g_watchAppWindow = 0;
    g_appExitCode = c.exitCodeBefore;
    ASSERT_NE(SetTimer(g_splashWnd, kStartupTimerId, 60000, nullptr), 0u);

    StartupTimerProc(g_splashWnd, WM_TIMER, kStartupTimerId, 0);

    EXPECT_EQ(g_splashCountdown, c.countdownAfter);
    EXPECT_EQ(g_appExitCode, c.exitCodeAfter);
    EXPECT_EQ(KillTimer(g_splashWnd, kStartupTimerId) == 0, c.timerStopped) << "timer stopped";
    EXPECT_EQ(DrainQuit(), c.quitPosted) << "message loop ended";
}

INSTANTIATE_TEST_SUITE_P(
    Ticks, StartupTickTest,
    testing::Values(
        TickCase{"RunningApplicationIsPolled", 1, 3, App::Running, 0, 2, STILL_ACTIVE, false, false},
        TickCase{"LastTickEndsTheLoopWithoutPolling", 1, 1, App::Running, 0, 0, 0, true, true},
        TickCase{"EndedApplicationStopsTheTimerAndEndsTheLoop", 1, 3, App::Exited7, 0, 2, 7, true, true},
        TickCase{"FailedStartStopsTheTimerButKeepsTheMessageBoxOpen", 0, 3, App::None, 0, 3, 0, true, false},
        TickCase{"FailedQueryKeepsTheLastPolledCode", 1, 3, App::None, STILL_ACTIVE, 2, STILL_ACTIVE, false, false}),
    [](const testing::TestParamInfo<TickCase>& info) { return std::string(info.param.name); });

TEST_F(StartupWatchTest, TheCountdownRunningOutEndsTheLoopWithStillActive) {
    g_splashActive = 1;
    g_splashCountdown = 3;
    StartChild("wait-input-end", false);
    SetTimer(g_splashWnd, kStartupTimerId, 100, StartupTimerProc);
    ASSERT_TRUE(RunMessageLoop());
    EXPECT_EQ(g_splashCountdown, 0);
    EXPECT_EQ(g_appExitCode, static_cast<DWORD>(STILL_ACTIVE));
    EXPECT_EQ(KillTimer(g_splashWnd, kStartupTimerId), 0) << "the watch stopped its timer";
}

TEST_F(StartupWatchTest, ACountdownOfOneEndsTheLoopAtTheFirstTickWithoutPolling) {
    g_splashActive = 1;
    g_splashCountdown = 1;
    StartChild("wait-input-end", false);
    SetTimer(g_splashWnd, kStartupTimerId, 100, StartupTimerProc);
    ASSERT_TRUE(RunMessageLoop());
    EXPECT_EQ(g_splashCountdown, 0);
    EXPECT_EQ(g_appExitCode, 0u);
}

TEST_F(StartupWatchTest, AnApplicationEndingDuringTheCountdownEndsTheLoopWithItsExitCode) {
    g_splashActive = 1;
    g_splashCountdown = 100;
    StartChild("exit 7", false);
    SetTimer(g_splashWnd, kStartupTimerId, 100, StartupTimerProc);
    ASSERT_TRUE(RunMessageLoop());
    EXPECT_EQ(g_appExitCode, 7u);
    EXPECT_GT(g_splashCountdown, 0) << "ended before the countdown ran out";
    EXPECT_EQ(KillTimer(g_splashWnd, kStartupTimerId), 0);
}

// In-process the application is a thread of the launcher's own process:
// its windows and the splash share the process id.
DWORD WINAPI WaitForEventThenEnd(void* event) {
    WaitForSingleObject(static_cast<HANDLE>(event), kWait);
    return 5;
}

TEST_F(StartupWatchTest, InProcessTheSplashIsNeverTheApplicationsWindowAndAFoundWindowEndsOnlyTheWatch) {
    HANDLE release = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    HANDLE thread = CreateThread(nullptr, 0, WaitForEventThenEnd, release, 0, nullptr);
    ASSERT_NE(thread, nullptr);
    g_appThread = thread;
    g_appProcess.dwProcessId = GetCurrentProcessId();
    g_splashActive = 1;
    g_watchAppWindow = 1;
    g_splashCountdown = 50;
    ShowWindow(g_splashWnd, SW_SHOWNA);

    // Only the splash is visible: nothing is found, the watch goes on.
    EnumWindows(AppWindowEnumProc, 0);
    EXPECT_EQ(g_splashActive, 1);
    EXPECT_FALSE(DrainQuit());

    HWND app = CreateWindowExA(0, "STATIC", "application", WS_POPUP | WS_VISIBLE, 0, 0, 10, 10, nullptr, nullptr,
                               GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(app, nullptr);
    // Returning at all shows the process was not ended.
    EnumWindows(AppWindowEnumProc, 0);
    EXPECT_EQ(g_splashActive, 0);
    EXPECT_FALSE(IsWindowVisible(g_splashWnd));
    EXPECT_TRUE(DrainQuit());

    // The watch polls the thread's exit code, not a process's.
    SetEvent(release);
    ASSERT_EQ(WaitForSingleObject(thread, kWait), WAIT_OBJECT_0);
    StartupTimerProc(g_splashWnd, WM_TIMER, kStartupTimerId, 0);
    EXPECT_EQ(g_appExitCode, 5u);

    DestroyWindow(app);
    g_appThread = nullptr;
    g_appProcess = PROCESS_INFORMATION();
    CloseHandle(thread);
    CloseHandle(release);
}

TEST_F(StartupWatchTest, CloseAppHandlesClosesTheLaunchersHandleOnce) {
    StartChild("exit 0", true);
    HANDLE process = g_appProcess.hProcess;
    DWORD flags = 0;
    ASSERT_TRUE(GetHandleInformation(process, &flags));
    CloseAppHandles();
    EXPECT_EQ(g_appProcess.hProcess, nullptr);
    EXPECT_FALSE(GetHandleInformation(process, &flags));
    CloseAppHandles();  // nothing left to close
}

// ---- the window search, which ends the launcher process: run in a child ---

struct WatchCase {
    const char* name;
    int countdown;
    int watchWindow;
    std::string appVerbs;
    DWORD exitCode;
    bool endedByWindow;
};

class StartupWindowWatchTest : public testing::TestWithParam<WatchCase> {};

TEST_P(StartupWindowWatchTest, TheWatchEndsTheLauncherAsItsWindowSearchFinds) {
    const WatchCase& c = GetParam();
    DebuggerRun run = RunUnderDebugger("scenario-watch " + std::to_string(c.countdown) + " " +
                                       std::to_string(c.watchWindow) + " " + Hex(c.appVerbs));
    EXPECT_EQ(run.exitCode, c.exitCode) << Joined(run.entries);
    EXPECT_TRUE(Contains(run.entries, "test: exit handlers ran")) << Joined(run.entries);
    if (c.endedByWindow) {
        EXPECT_TRUE(Contains(run.entries, "test: splash hidden")) << Joined(run.entries);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Windows, StartupWindowWatchTest,
    testing::Values(
        // The application's exit code 9 would show if the loop ended instead.
        WatchCase{"VisibleWindowEndsTheLauncherWithZero", 50, 1, "window 0 wait-input-end exit 9", 0, true},
        WatchCase{"WindowShownLaterIsFoundOnceVisible", 50, 1, "window 700 wait-input-end exit 9", 0, true},
        WatchCase{"HiddenWindowIsNeverMatched", 3, 1, "window -1 wait-input-end exit 9", STILL_ACTIVE, false},
        WatchCase{"WithoutWindowWatchTheSplashStaysForTheCountdown", 3, 0, "window 0 wait-input-end exit 9",
                  STILL_ACTIVE, false}),
    [](const testing::TestParamInfo<WatchCase>& info) { return std::string(info.param.name); });

}  // namespace
