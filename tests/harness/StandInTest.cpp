// The stand-in runtime behaves as its behaviour file says: every launcher
// test that starts a "runtime" relies on this.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <vector>

#include <gtest/gtest.h>

#include "tests/support/ChildProcess.h"
#include "tests/support/Dialogs.h"
#include "tests/support/FakeRuntime.h"
#include "tests/support/Files.h"
#include "tests/support/Paths.h"

namespace {

const char* const kExeNames[] = {"java.exe", "javaw.exe"};

}  // namespace

TEST(StandInTest, RecordsItsCommandLineAndCurrentDirectoryExactly) {
    std::string folder = MakeTempFolder("standin-record");
    std::string home = folder + "jre home";
    MakeFakeRuntime(home);
    std::string workDir = folder + "work";
    ASSERT_TRUE(CreateFolders(workDir));

    const char* const argumentTails[] = {
        "",
        " -jar app.jar",
        " \"a b\"  c\t\"d\"\"e\"",
        "   -Dx=\"y z\" -cp \"C:\\with space\\lib.jar\" Main trailing   ",
        " \xE9t\xE9 \x84",
    };
    for (const char* exe : kExeNames) {
        for (const char* tail : argumentTails) {
            std::string commandLine = "\"" + home + "\\bin\\" + exe + "\"" + tail;
            ChildRun run = RunCapturing(commandLine, workDir);
            ASSERT_TRUE(run.started) << commandLine;
            RecordedRun record = ReadRecordedRun(home, exe);
            ASSERT_TRUE(record.found) << commandLine;
            EXPECT_EQ(record.commandLine, commandLine);
            EXPECT_EQ(record.currentDir, workDir);
            EXPECT_GT(record.entryTime, 0u);
        }
    }
}

TEST(StandInTest, AnswersVersionOnStandardErrorAfterItsDelayAndRecordsNothing) {
    std::string home = MakeTempFolder("standin-version") + "jre";
    StandInBehaviour behaviour;
    behaviour.versionText = "java version \"1.4.2_19\"\r\nJava(TM) 2 Runtime Environment\r\n";
    behaviour.versionDelayMs = 50;
    behaviour.stdoutText = "never printed for -version";
    behaviour.exitCode = 3;
    MakeFakeRuntime(home, behaviour);
    for (const char* exe : kExeNames) {
        ChildRun run = RunCapturing(home + "\\bin\\" + exe + " -version");
        ASSERT_TRUE(run.started) << exe;
        EXPECT_EQ(run.err, behaviour.versionText) << exe;
        EXPECT_EQ(run.out, "") << exe;
        EXPECT_EQ(run.exitCode, 0u) << exe;
        EXPECT_FALSE(ReadRecordedRun(home, exe).found) << exe;
    }
}

TEST(StandInTest, SeesTheQuotedProgramPathWhenStartedThroughAnUnquotedPathWithBlanks) {
    // Wine hands the child its program name in quotes when CreateProcessA
    // had to search for it, so a probe of a home folder with blanks gets its
    // version answer here.
    std::string home = MakeTempFolder("standin-blank") + "my jre";
    MakeFakeRuntime(home);
    std::string exe = home + "\\bin\\java.exe";
    ChildRun version = RunCapturing(exe + " -version");
    ASSERT_TRUE(version.started);
    EXPECT_EQ(version.err, StandInBehaviour().versionText);
    ChildRun run = RunCapturing(exe + " app");
    ASSERT_TRUE(run.started);
    EXPECT_EQ(ReadRecordedRun(home, "java.exe").commandLine, "\"" + exe + "\" app");
}

TEST(StandInTest, WritesItsOutputBytesExactlyAndExitsWithItsCode) {
    struct Case {
        const char* out;
        const char* err;
        int exitCode;
    };
    const Case cases[] = {
        {"", "", 0},
        {"line one\r\nline two\n", "warning\n", 1},
        {"\x84\x81\x94 OEM bytes \xE9", "\x01\x7F\xFF", 42},
    };
    std::string home = MakeTempFolder("standin-output") + "jre";
    MakeFakeRuntime(home);
    for (const char* exe : kExeNames) {
        for (const Case& c : cases) {
            StandInBehaviour behaviour;
            behaviour.stdoutText = c.out;
            behaviour.stderrText = c.err;
            behaviour.exitCode = c.exitCode;
            WriteStandInBehaviour(home, behaviour);
            ChildRun run = RunCapturing("\"" + home + "\\bin\\" + exe + "\" app");
            ASSERT_TRUE(run.started) << exe;
            EXPECT_EQ(run.out, c.out) << exe;
            EXPECT_EQ(run.err, c.err) << exe;
            EXPECT_EQ(run.exitCode, static_cast<DWORD>(c.exitCode)) << exe;
        }
    }
}

TEST(StandInTest, CreatesItsWindowHiddenAndShowsItAfterTheDelay) {
    std::string home = MakeTempFolder("standin-window") + "jre";
    StandInBehaviour behaviour;
    behaviour.windowAfterMs = 3000;
    behaviour.windowTitle = "Late window";
    behaviour.liveMs = 30000;
    MakeFakeRuntime(home, behaviour);

    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION info = {};
    std::string commandLine = "\"" + home + "\\bin\\javaw.exe\" app";
    ASSERT_TRUE(CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info));

    // Wine gives the process helper windows of its own; wait for ours.
    HWND window = nullptr;
    WaitUntil(
        [&] {
            for (HWND w : FindProcessWindows(info.dwProcessId, false))
                if (GetWindowTextString(w) == "Late window") window = w;
            return window != nullptr;
        },
        10000);
    ASSERT_NE(window, nullptr);
    EXPECT_FALSE(IsWindowVisible(window));
    EXPECT_TRUE(WaitUntil([&] { return IsWindowVisible(window) != FALSE; }, 15000));
    std::vector<HWND> visible = FindProcessWindows(info.dwProcessId, true);
    EXPECT_EQ(visible.size(), 1u);

    TerminateProcess(info.hProcess, 0);
    WaitForSingleObject(info.hProcess, 5000);
    CloseHandle(info.hThread);
    CloseHandle(info.hProcess);
}

TEST(StandInTest, RecordsAnEntryTimeBetweenItsCreationAndItsEnd) {
    // The entry time is what start-up benchmarks of the launcher measure
    // against, so it must come from the same clock as the caller's.
    std::string home = MakeTempFolder("standin-entry") + "jre";
    MakeFakeRuntime(home);
    for (const char* exe : kExeNames) {
        std::vector<double> startupMs;
        for (int i = 0; i < 5; ++i) {
            FILETIME before, after;
            GetSystemTimePreciseAsFileTime(&before);
            ChildRun run = RunCapturing("\"" + home + "\\bin\\" + exe + "\"");
            GetSystemTimePreciseAsFileTime(&after);
            ASSERT_TRUE(run.started);
            unsigned long long from = (static_cast<unsigned long long>(before.dwHighDateTime) << 32) | before.dwLowDateTime;
            unsigned long long to = (static_cast<unsigned long long>(after.dwHighDateTime) << 32) | after.dwLowDateTime;
            unsigned long long entry = ReadRecordedRun(home, exe).entryTime;
            EXPECT_GE(entry, from) << exe;
            EXPECT_LE(entry, to) << exe;
            startupMs.push_back((entry - from) / 10000.0);
        }
        std::sort(startupMs.begin(), startupMs.end());
        std::printf("%s: CreateProcess to entry, median of 5: %.1f ms\n", exe, startupMs[2]);
    }
}
