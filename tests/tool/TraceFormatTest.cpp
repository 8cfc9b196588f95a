#include "tools/jarstart-tool/TraceFormat.h"

#include <gtest/gtest.h>

TEST(TraceFormatTest, PrintsEntriesAsTheyReadWithLineBreaksOnIndentedLines) {
    const struct {
        std::string entry;
        std::string printed;
    } cases[] = {
        {"Working dir: Z:\\tmp\\app\\", "Working dir: Z:\\tmp\\app\\"},
        {"one\r\ntwo\nthree\rfour\tcol", "one\n  two\n  three\n  four\tcol"},
        {"last line\r\n", "last line"},
        {"gap\n\nend", "gap\n  \n  end"},
        {std::string("nul\0bell\a del\x7F", 14), "nul\\x00bell\\x07 del\\x7F"},
        {"\x1B[0m", "\\x1B[0m"},
        {"caf\xE9 \xFF", "caf\xE9 \xFF"},
        {"", ""},
    };
    for (const auto& c : cases) EXPECT_EQ(FormatEntry(c.entry), c.printed) << c.printed;
}

TEST(TraceFormatTest, DebuggeeCommandLineQuotesTheExeAndKeepsTheRest) {
    EXPECT_EQ(DebuggeeCommandLine("C:\\My App\\App.exe", "-p  \"a b\""), "\"C:\\My App\\App.exe\" -p  \"a b\"");
    EXPECT_EQ(DebuggeeCommandLine("App.exe", ""), "\"App.exe\" ");
}
