// The readers load from the running program's own string table, so these
// tests read the strings of PropertyStrings.rc compiled into this program.
#include "base/LauncherProperties.h"

#include <string>

#include <gtest/gtest.h>

namespace {

const unsigned kThree = 2000;         // "3"
const unsigned kNumberThenText = 2001; // "42abc"
const unsigned kBlanksMinusSeven = 2002; // "  -7"
const unsigned kNoNumber = 2003;      // "abc"
const unsigned kEmpty = 2004;         // ""
const unsigned kAbsent = 2005;        // not in the table
const unsigned kZero = 2006;          // "0"
const unsigned kFalse = 2007;         // "false"
const unsigned kOneBlank = 2008;      // " "
const unsigned kPlusFive = 2009;      // "+5"

// The generated text of the long strings: letters a..z over and over.
std::string Letters(int count) {
    std::string text;
    for (int i = 0; i < count; ++i) text += static_cast<char>('a' + i % 26);
    return text;
}

struct LongString {
    unsigned id;
    int length;
};
const LongString kLongStrings[] = {
    {2253, 253}, {2254, 254}, {2255, 255}, {2256, 256}, {2509, 509}, {2510, 510}, {2511, 511}, {3000, 1000},
};

}  // namespace

TEST(LauncherPropertiesTest, ABoolIsTrueForAnyNonEmptyTextAndFalseOnlyWhenEmptyOrAbsent) {
    const struct {
        unsigned id;
        bool expected;
    } cases[] = {
        {kThree, true}, {kZero, true}, {kFalse, true}, {kOneBlank, true}, {kNoNumber, true},
        {kEmpty, false}, {kAbsent, false},
    };
    for (const auto& c : cases) EXPECT_EQ(ReadBoolProperty(c.id), c.expected) << "id " << c.id;
}

TEST(LauncherPropertiesTest, AnIntIsTheLeadingDecimalNumberOrZero) {
    const struct {
        unsigned id;
        int expected;
    } cases[] = {
        {kThree, 3}, {kNumberThenText, 42}, {kBlanksMinusSeven, -7}, {kPlusFive, 5}, {kZero, 0},
        {kNoNumber, 0}, {kFalse, 0}, {kOneBlank, 0}, {kEmpty, 0}, {kAbsent, 0},
    };
    for (const auto& c : cases) EXPECT_EQ(ReadIntProperty(c.id), c.expected) << "id " << c.id;
}

TEST(LauncherPropertiesTest, AStringIsTheTextAsStoredAndEmptyWhenEmptyOrAbsent) {
    EXPECT_STREQ(ReadStringProperty(kBlanksMinusSeven), "  -7");
    EXPECT_STREQ(ReadStringProperty(kOneBlank), " ");
    EXPECT_STREQ(ReadStringProperty(kEmpty), "");
    EXPECT_STREQ(ReadStringProperty(kAbsent), "");
    EXPECT_STREQ(ReadStringProperty(100), "-Xfallback-from-resources ");
}

TEST(LauncherPropertiesTest, StringsOfAnyLengthAreLoadedWhole) {
    for (const LongString& s : kLongStrings) {
        CString text("something from before");
        EXPECT_TRUE(LoadStringResource(text, s.id)) << s.length;
        EXPECT_EQ(text.GetLength(), s.length);
        EXPECT_EQ(std::string(text), Letters(s.length)) << s.length;
        EXPECT_EQ(std::string(ReadStringProperty(s.id)), Letters(s.length)) << s.length;
    }
}

TEST(LauncherPropertiesTest, AnAbsentOrEmptyStringLeavesTheTargetEmpty) {
    for (unsigned id : {kEmpty, kAbsent}) {
        CString text("old");
        EXPECT_FALSE(LoadStringResource(text, id)) << id;
        EXPECT_TRUE(text.IsEmpty()) << id;
    }
}

TEST(LauncherPropertiesTest, TwoReadsOfTheSamePropertyAreEqual) {
    EXPECT_EQ(ReadStringProperty(2510), ReadStringProperty(2510));
    EXPECT_EQ(ReadIntProperty(kThree), ReadIntProperty(kThree));
}
