#include "process/AppStart.h"

#include <algorithm>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "base/Globals.h"
#include "tests/process/DebuggerRun.h"
#include "tests/support/Paths.h"
#include "tools/jarstart-tool/FileBytes.h"

namespace {

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
    EXPECT_EQ(StartApplication(javaPath.c_str(), GetParam().arguments.c_str(), new CMyConsolePipe(PIPE_KIND_PROGRAM, 0), &error), -1);
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
