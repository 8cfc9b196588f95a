// trace: runs a configured launcher under the debugger and prints its log.
#include <windows.h>

#include <gtest/gtest.h>

#include "tests/support/Paths.h"
#include "tests/tool/RunTool.h"
#include "tests/tool/ToolTestFiles.h"

namespace {
const char kFirstEntry[] = "Launcher executed with command line: ";

// A configured launcher that starts without a dialog: a runtime named by
// PROP_JRE_PATH is started as soon as it exists, without a version probe, and
// without splash or keep-alive the launcher ends with 0 right after the start.
// The tool itself stands in for that runtime; what it prints is forwarded
// to the log after the launcher's own entries.
std::string ConfiguredLauncher(const std::string& folderName) {
    std::string folder = MakeTempFolder(folderName);
    CreateDirectoryA((folder + "bin").c_str(), nullptr);
    EXPECT_TRUE(CopyFileA((BuildDir() + "jarstart-tool.exe").c_str(), (folder + "bin\\javaw.exe").c_str(), FALSE));
    std::string exe = folder + "App.exe";
    ToolRun run = RunTool("configure " + QuoteArgument(BuildDir() + "jarstart.exe") + " -o " + QuoteArgument(exe) +
                          " --set PROP_START_JAR=app.jar --set PROP_JRE_PATH=bin\\javaw.exe --set PROP_KEEP_ALIVE=" +
                          " --set PROP_SPLASH=");
    EXPECT_EQ(run.exitCode, 0u) << run.err;
    return exe;
}

bool HasLine(const std::vector<std::string>& lines, const std::string& wanted) {
    for (const std::string& line : lines)
        if (line == wanted) return true;
    return false;
}
}  // namespace

TEST(TraceTest, PrintsTheLaunchersFirstEntryAndItsExitCode) {
    std::string exe = ConfiguredLauncher("tool-trace");
    ToolRun run = RunTool("trace " + QuoteArgument(exe) + " -p a b");
    ASSERT_TRUE(run.started);
    EXPECT_FALSE(run.timedOut);
    EXPECT_EQ(run.exitCode, 0u);
    EXPECT_TRUE(HasLine(Lines(run.out), std::string(kFirstEntry) + "-p a b")) << run.out;
    EXPECT_EQ(Lines(run.err), std::vector<std::string>{"exit code: 0"});
}

TEST(TraceTest, PassesTheRestOfTheCommandLineExactlyAsTyped) {
    std::string exe = ConfiguredLauncher("tool-trace-typed");
    const std::string rest = "-p  \"two  blanks\" x\\\"y  \"\" end";
    ToolRun run = RunTool("trace " + QuoteArgument(exe) + "   " + rest);
    EXPECT_EQ(run.exitCode, 0u);
    EXPECT_TRUE(HasLine(Lines(run.out), std::string(kFirstEntry) + rest)) << run.out;
}

TEST(TraceTest, PrintsPathsAsWrittenAndRawModeWritesEntriesExactly) {
    std::string exe = ConfiguredLauncher("tool-trace-raw");
    ToolRun printed = RunTool("trace " + QuoteArgument(exe) + " -p a\tb\\c");
    EXPECT_TRUE(HasLine(Lines(printed.out), std::string(kFirstEntry) + "-p a\tb\\c")) << printed.out;
    EXPECT_TRUE(HasLine(Lines(printed.out), "Path to exe file of launcher: " + exe.substr(0, exe.rfind('\\'))))
        << printed.out;

    ToolRun raw = RunTool("trace --raw " + QuoteArgument(exe) + " -p a\tb\\c");
    EXPECT_EQ(raw.exitCode, 0u);
    std::string entry = std::string(kFirstEntry) + "-p a\tb\\c";
    ASSERT_FALSE(raw.out.empty());
    EXPECT_EQ(raw.out.back(), '\0');
    EXPECT_EQ(raw.out.substr(0, entry.size() + 1), entry + '\0');
}

TEST(TraceTest, ExitsWithTheDebuggeesExitCode) {
    // The tool itself is a debuggee that ends with 2 on an unknown command.
    ToolRun run = RunTool("trace " + QuoteArgument(BuildDir() + "jarstart-tool.exe") + " frobnicate");
    EXPECT_EQ(run.exitCode, 2u);
    std::vector<std::string> err = Lines(run.err);
    ASSERT_FALSE(err.empty());
    EXPECT_EQ(err.back(), "exit code: 2");
}

TEST(TraceTest, AnExeThatCannotStartIsABadInput) {
    std::string folder = MakeTempFolder("tool-trace-missing");
    ToolRun run = RunTool("trace " + QuoteArgument(folder + "missing.exe") + " -p");
    EXPECT_EQ(run.exitCode, 2u);
    EXPECT_EQ(run.err.compare(0, 28, "jarstart-tool: cannot start "), 0) << run.err;
}

TEST(TraceTest, ABareNameRunsTheFileInTheCurrentDirectoryNotTheToolsSibling) {
    // build\jarstart.exe sits beside the tool; the file of the same name in
    // the current directory is a copy of the tool, which ends with 2 on an
    // unknown command where the launcher would end with 0.
    std::string folder = MakeTempFolder("tool-trace-bare");
    ASSERT_TRUE(CopyFileA((BuildDir() + "jarstart-tool.exe").c_str(), (folder + "jarstart.exe").c_str(), FALSE));
    ToolRun run = RunTool("trace jarstart.exe frobnicate", folder);
    EXPECT_EQ(run.exitCode, 2u) << run.out << run.err;
}
