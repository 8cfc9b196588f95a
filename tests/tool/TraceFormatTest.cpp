#include "tools/jarstart-tool/TraceFormat.h"

#include <gtest/gtest.h>

TEST(TraceFormatTest, EscapesLineBreaksTabsBackslashesAndControlBytesOnly) {
    const struct {
        std::string entry;
        std::string printed;
    } cases[] = {
        {"Working dir: C:\\app", "Working dir: C:\\\\app"},
        {"line\r\nnext\tcol", "line\\r\\nnext\\tcol"},
        {std::string("nul\0bell\a del\x7F", 14), "nul\\x00bell\\x07 del\\x7F"},
        {"\x1B[0m", "\\x1B[0m"},
        {"caf\xE9 \xFF", "caf\xE9 \xFF"},
        {"", ""},
    };
    for (const auto& c : cases) EXPECT_EQ(EscapeEntry(c.entry), c.printed) << c.printed;
}

TEST(TraceFormatTest, DebuggeeCommandLineQuotesTheExeAndKeepsTheRest) {
    EXPECT_EQ(DebuggeeCommandLine("C:\\My App\\App.exe", "-p  \"a b\""), "\"C:\\My App\\App.exe\" -p  \"a b\"");
    EXPECT_EQ(DebuggeeCommandLine("App.exe", ""), "\"App.exe\" ");
}
