// Every kind of bad input: exit code 2, one line on stderr naming the
// problem, nothing on stdout and nothing written.
#include <windows.h>

#include <gtest/gtest.h>

#include "base/PropertyIds.h"
#include "framework/ScopedWin.h"
#include "tests/support/Paths.h"
#include "tests/tool/RunTool.h"
#include "tests/tool/ToolTestFiles.h"
#include "tools/jarstart-tool/FileBytes.h"

namespace {
struct BadInput {
    const char* what;
    std::string arguments;  // with {L} for the launcher copy, {D} for the folder
    const char* message;    // a piece the error line must contain
};

std::string Expand(std::string text, const std::string& launcher, const std::string& folder) {
    for (size_t at; (at = text.find("{L}")) != std::string::npos;) text.replace(at, 3, QuoteArgument(launcher));
    for (size_t at; (at = text.find("{D}")) != std::string::npos;) text.replace(at, 3, folder);
    return text;
}
}  // namespace

TEST(BadInputTest, EachBadInputExitsWithTwoAMessageAndNoOutputFile) {
    const BadInput cases[] = {
        {"unknown property name", "configure {L} -o \"{D}out.exe\" --set PROP_NOPE=1", "unknown property \"PROP_NOPE\""},
        {"lower-case name", "configure {L} -o \"{D}out.exe\" --set prop_splash=1", "unknown property"},
        {"id below the table", "configure {L} -o \"{D}out.exe\" --set 95=x", "unknown property \"95\""},
        {"id past the table", "configure {L} -o \"{D}out.exe\" --set " + std::to_string(kLastPropertyId + 1) + "=x",
         "unknown property"},
        {"two things to start", "configure {L} -o \"{D}out.exe\" --set PROP_START_JAR=a.jar --set PROP_MAIN_CLASS=a.Main",
         "PROP_START_JAR and PROP_MAIN_CLASS each name what to start"},
        {"a class beside the kept jar", "configure {L} -o \"{D}out.exe\" --keep --set PROP_MAIN_MODULE=app",
         "PROP_START_JAR and PROP_MAIN_MODULE each name what to start"},
        {"all three", "configure {L} -o \"{D}out.exe\" --keep --set 112=a.Main --set 114=app",
         "PROP_START_JAR, PROP_MAIN_CLASS and PROP_MAIN_MODULE each name what to start; a launcher starts one: set "
         "the others to empty"},
        {"a class path without its class", "configure {L} -o \"{D}out.exe\" --set PROP_CLASS_PATH=lib",
         "PROP_CLASS_PATH is set without PROP_MAIN_CLASS"},
        {"a module path without its module",
         "configure {L} -o \"{D}out.exe\" --set PROP_MAIN_CLASS=a.Main --set PROP_MODULE_PATH=mods",
         "PROP_MODULE_PATH is set without PROP_MAIN_MODULE"},
        {"id with a sign", "configure {L} -o \"{D}out.exe\" --set +101=x", "unknown property"},
        {"setting without =", "configure {L} -o \"{D}out.exe\" --set PROP_SPLASH", "NAME=VALUE"},
        {"missing -o", "configure {L} --set PROP_SPLASH=1", "-o"},
        {"-o without a file", "configure {L} -o", "-o needs a value"},
        {"missing input", "configure \"{D}missing.exe\" -o \"{D}out.exe\"", "cannot read"},
        {"input not a PE", "configure \"{D}notes.txt\" -o \"{D}out.exe\"", "is not a PE executable"},
        {"truncated PE", "configure \"{D}half.exe\" -o \"{D}out.exe\"", "is not a PE executable"},
        {"input held open by another program", "configure \"{D}locked.exe\" -o \"{D}out.exe\"", "cannot read"},
        {"missing splash file", "configure {L} -o \"{D}out.exe\" --splash \"{D}none.gif\"", "cannot read"},
        {"output folder missing", "configure {L} -o \"{D}no\\such\\out.exe\" --set PROP_START_JAR=a.jar", "temporary file"},
        {"unknown option", "configure {L} -o \"{D}out.exe\" --frobnicate", "unknown option"},
        {"unknown command", "frobnicate {L}", "unknown command \"frobnicate\""},
        {"no command", "", "usage"},
        {"show of a missing file", "show \"{D}missing.exe\"", "cannot read"},
        {"show of a text file", "show \"{D}notes.txt\"", "is not a PE executable"},
        {"trace without an exe", "trace --raw", "trace needs the exe"},
    };
    std::string folder = MakeTempFolder("tool-bad");
    std::string launcher = CopyLauncher(folder, "launcher.exe");
    DWORD error = 0;
    ASSERT_TRUE(WriteFileBytes(folder + "notes.txt", "MZ but nothing more\r\n", &error));
    std::string launcherBytes;
    ASSERT_TRUE(ReadFileBytes(launcher, &launcherBytes, &error));
    ASSERT_TRUE(WriteFileBytes(folder + "half.exe", launcherBytes.substr(0, 200), &error));
    ASSERT_TRUE(WriteFileBytes(folder + "locked.exe", launcherBytes, &error));
    ScopedHandle lock(CreateFileA((folder + "locked.exe").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(lock.IsValid());
    std::vector<std::string> before = FolderEntries(folder);

    for (const BadInput& c : cases) {
        ToolRun run = RunTool(Expand(c.arguments, launcher, folder));
        ASSERT_TRUE(run.started);
        EXPECT_EQ(run.exitCode, 2u) << c.what;
        EXPECT_EQ(run.out, "") << c.what;
        EXPECT_NE(run.err.find(c.message), std::string::npos) << c.what << ": " << run.err;
        if (c.arguments.empty()) continue;  // the usage text has several lines
        std::vector<std::string> lines = Lines(run.err);
        EXPECT_EQ(lines.size(), 1u) << c.what << ": " << run.err;
        EXPECT_EQ(run.err.compare(0, 15, "jarstart-tool: "), 0) << c.what << ": " << run.err;
        EXPECT_EQ(FolderEntries(folder), before) << c.what;
    }
}
