// The text format of the stand-in's behaviour file and record.
#include <gtest/gtest.h>

#include "tools/testing/common/KeyValueFile.h"

TEST(KeyValueFileTest, EveryByteSurvivesEscapingAndParsing) {
    std::string all;
    for (int b = 0; b < 256; ++b) all += static_cast<char>(b);
    std::string line = FormatKeyValue("text", all);
    EXPECT_EQ(line.find('\n'), line.size() - 1);  // one line, whatever the value holds
    KeyValues values = ParseKeyValues(line + FormatKeyValue("other", "x"));
    ASSERT_EQ(values.size(), 2u);
    EXPECT_EQ(values[0].first, "text");
    EXPECT_EQ(values[0].second, all);
    EXPECT_EQ(FindValue(values, "other"), "x");
}

TEST(KeyValueFileTest, UnescapesTheCEscapesWrittenByHand) {
    struct Case {
        const char* text;
        std::string expected;
    };
    const Case cases[] = {
        {"plain", "plain"},
        {"a\\nb\\r\\tc", "a\nb\r\tc"},
        {"java version \\\"1.6.0_03\\\"", "java version \"1.6.0_03\""},
        {"\\x84", "\x84"},
        {"\\x4", "\x04"},
        {"\\x4g", "\x04g"},
        {"\\0", std::string(1, '\0')},
        {"C:\\\\dir", "C:\\dir"},
        {"\\q", "q"},
        {"trailing\\", "trailing\\"},
    };
    for (const Case& c : cases) EXPECT_EQ(UnescapeText(c.text), c.expected) << c.text;
}

TEST(KeyValueFileTest, ParsesLinesWithEitherLineEndAndLaterKeysWin) {
    KeyValues values = ParseKeyValues("a=1\r\nno equals sign\nb=x=y\na=2");
    ASSERT_EQ(values.size(), 3u);
    EXPECT_EQ(FindValue(values, "a"), "2");
    EXPECT_EQ(FindValue(values, "b"), "x=y");
    EXPECT_EQ(FindValue(values, "missing", "fallback"), "fallback");
}
