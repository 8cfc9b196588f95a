#include "process/AppStart.h"

#include <algorithm>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "base/Globals.h"
#include "tests/process/ChildProgram.h"
#include "tests/support/Paths.h"
#include "tools/jarstart-tool/Debuggee.h"
#include "tools/jarstart-tool/FileBytes.h"

namespace {

const DWORD kWait = 30000;

struct DebuggerRun {
    DWORD exitCode = 0;
    std::vector<std::string> entries;
};

DebuggerRun RunUnderDebugger(const std::string& verbs) {
    DebuggerRun run;
    DebuggeeResult result =
        RunDebuggee(ChildCommand(verbs), nullptr, [&](const std::string& entry) { run.entries.push_back(entry); });
    EXPECT_TRUE(result.started) << "error " << result.error;
    run.exitCode = result.exitCode;
    return run;
}

std::string Joined(const std::vector<std::string>& entries) {
    std::string text;
    for (const std::string& entry : entries) text += entry + "\n";
    return text;
}

bool Contains(const std::vector<std::string>& entries, const std::string& entry) {
    for (const std::string& e : entries)
        if (e == entry) return true;
    return false;
}

// The watch's process-wide state, saved and restored around each test; the
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
    ASSERT_NE(SetTimer(g_splashWnd, 1, 60000, nullptr), 0u);

    StartupTimerProc(g_splashWnd, WM_TIMER, 1, 0);

    EXPECT_EQ(g_splashCountdown, c.countdownAfter);
    EXPECT_EQ(g_appExitCode, c.exitCodeAfter);
    EXPECT_EQ(KillTimer(g_splashWnd, 1) == 0, c.timerStopped) << "timer stopped";
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
    SetTimer(g_splashWnd, 1, 100, StartupTimerProc);
    ASSERT_TRUE(RunMessageLoop());
    EXPECT_EQ(g_splashCountdown, 0);
    EXPECT_EQ(g_appExitCode, static_cast<DWORD>(STILL_ACTIVE));
    EXPECT_EQ(KillTimer(g_splashWnd, 1), 0) << "the watch stopped its timer";
}

TEST_F(StartupWatchTest, ACountdownOfOneEndsTheLoopAtTheFirstTickWithoutPolling) {
    g_splashActive = 1;
    g_splashCountdown = 1;
    StartChild("wait-input-end", false);
    SetTimer(g_splashWnd, 1, 100, StartupTimerProc);
    ASSERT_TRUE(RunMessageLoop());
    EXPECT_EQ(g_splashCountdown, 0);
    EXPECT_EQ(g_appExitCode, 0u);
}

TEST_F(StartupWatchTest, AnApplicationEndingDuringTheCountdownEndsTheLoopWithItsExitCode) {
    g_splashActive = 1;
    g_splashCountdown = 100;
    StartChild("exit 7", false);
    SetTimer(g_splashWnd, 1, 100, StartupTimerProc);
    ASSERT_TRUE(RunMessageLoop());
    EXPECT_EQ(g_appExitCode, 7u);
    EXPECT_GT(g_splashCountdown, 0) << "ended before the countdown ran out";
    EXPECT_EQ(KillTimer(g_splashWnd, 1), 0);
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

// ---- StartApplication ----------------------------------------------------

TEST(StartApplicationTest, APathWithBlanksReachesCreateProcessInQuotesAfterBothLogLines) {
    std::string folder = MakeTempFolder("process-blanks") + "Program Files\\";
    ASSERT_TRUE(CreateDirectoryA(folder.c_str(), nullptr));
    std::string javaPath = folder + "java app.exe";
    ASSERT_TRUE(CopyFileA(ThisProgram().c_str(), javaPath.c_str(), FALSE));
    std::string arguments = " --child cmdline";

    DebuggerRun run = RunUnderDebugger("scenario-start " + Hex(javaPath) + " " + Hex(arguments));
    ASSERT_EQ(run.exitCode, 0u) << Joined(run.entries);

    std::string commandLine = "\"" + javaPath + "\"  --child cmdline";
    std::vector<std::string> expectedStart = {"execute: " + javaPath + "  --child cmdline",
                                              "Full command line: " + commandLine, "CreateProcess: " + commandLine};
    auto first = std::find(run.entries.begin(), run.entries.end(), expectedStart[0]);
    ASSERT_NE(first, run.entries.end()) << Joined(run.entries);
    ASSERT_GE(run.entries.end() - first, 3);
    EXPECT_EQ(std::vector<std::string>(first, first + 3), expectedStart);
    // The application's output follows on the debugger channel: the child's
    // own command line, as it received it. The final null call adds nothing.
    std::string output;
    for (auto entry = first + 3; entry != run.entries.end(); ++entry) {
        EXPECT_FALSE(entry->empty());
        output += *entry;
    }
    EXPECT_EQ(output, commandLine);
}

TEST(StartApplicationTest, AFailedStartLogsBothLinesAndReportsTheWindowsError) {
    std::string folder = MakeTempFolder("process-failed-start");
    std::string javaPath = folder + "bin";  // a directory: it exists, but cannot run
    ASSERT_TRUE(CreateDirectoryA(javaPath.c_str(), nullptr));
    DebuggerRun run = RunUnderDebugger("scenario-start " + Hex(javaPath) + " " + Hex(" -jar app.jar "));
    EXPECT_EQ(run.exitCode, 100u) << Joined(run.entries);
    EXPECT_TRUE(Contains(run.entries, "execute: " + javaPath + "  -jar app.jar ")) << Joined(run.entries);
    EXPECT_TRUE(Contains(run.entries, "Full command line: \"" + javaPath + "\"  -jar app.jar ")) << Joined(run.entries);
    EXPECT_FALSE(Contains(run.entries, "test: start error 0")) << Joined(run.entries);
}

struct FailedStartCase {
    const char* name;
    std::string javaPath;
    std::string arguments;
    DWORD ownError;  // 0: the error is the system's for that command line
};

class StartApplicationFailureTest : public testing::TestWithParam<FailedStartCase> {};

TEST_P(StartApplicationFailureTest, ReturnsMinusOneLeavesTheProcessStateAndKeepsTheError) {
    PROCESS_INFORMATION before = g_appProcess;
    before.dwProcessId = 4242;
    g_appProcess = before;
    DWORD error = 0;
    std::string javaPath = GetParam().javaPath.empty() ? ThisProgram() : GetParam().javaPath;
    EXPECT_EQ(StartApplication(javaPath.c_str(), GetParam().arguments.c_str(), new CMyConsolePipe(1, 0), &error), -1);
    if (GetParam().ownError) {
        EXPECT_EQ(error, GetParam().ownError);
    } else {
        // The error is the one the system gives for starting that command line.
        std::string commandLine = "\"" + javaPath + "\" " + GetParam().arguments;
        STARTUPINFOA startup = {};
        startup.cb = sizeof(startup);
        PROCESS_INFORMATION process = {};
        ASSERT_FALSE(
            CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process));
        EXPECT_EQ(error, GetLastError());
    }
    EXPECT_NE(error, 0u);
    EXPECT_NE(SystemText(error), "") << "error " << error;
    EXPECT_EQ(g_appProcess.dwProcessId, 4242u);
    g_appProcess = PROCESS_INFORMATION();
}

INSTANTIATE_TEST_SUITE_P(
    Causes, StartApplicationFailureTest,
    testing::Values(FailedStartCase{"MissingExecutable", "C:\\no such folder\\javaw.exe", " -jar app.jar ", 0},
                    FailedStartCase{"NotAnExecutable", "C:\\windows\\win.ini", " -jar app.jar ", 0},
                    // Longer than the system takes: refused before the start,
                    // with the error Windows gives for it.
                    FailedStartCase{"CommandLineTooLong", "", " --child exit 0 " + std::string(33000, 'x'),
                                    ERROR_FILENAME_EXCED_RANGE},
                    // So long that its length wraps in 16 bits: some systems
                    // start such a line cut instead of failing.
                    FailedStartCase{"CommandLineLongerThan64K", "", " --child exit 0 " + std::string(65536 + 50, 'x'),
                                    ERROR_FILENAME_EXCED_RANGE}),
    [](const testing::TestParamInfo<FailedStartCase>& info) { return std::string(info.param.name); });

}  // namespace
