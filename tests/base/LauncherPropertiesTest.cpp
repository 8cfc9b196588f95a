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

TEST(LauncherPropertiesTest, TheFirstBufferHolds253CharactersWithRoomToSpareAndCutsLongerOnes) {
    // 253 is the longest text the 256-character first attempt takes as
    // certainly whole; from 254 on the count is too close to the buffer
    // size to tell a whole text from a cut one.
    const struct {
        unsigned id;
        int capacity;
        int expected;
    } cases[] = {
        {2253, 256, 253}, {2254, 256, 254}, {2255, 256, 255}, {2256, 256, 255}, {2510, 256, 255},
        {2509, 512, 509}, {2510, 512, 510}, {2511, 512, 511}, {3000, 512, 511},
        {2510, 768, 510}, {3000, 768, 767},
    };
    for (const auto& c : cases) {
        std::string buffer(static_cast<size_t>(c.capacity), 'X');
        int loaded = LoadResourceText(c.id, &buffer[0], c.capacity);
        EXPECT_EQ(loaded, c.expected) << "id " << c.id << " capacity " << c.capacity;
        EXPECT_EQ(std::string(buffer.c_str()), Letters(c.expected)) << "id " << c.id;
    }
}

TEST(LauncherPropertiesTest, AnAbsentOrEmptyStringLeavesAnEmptyTerminatedBuffer) {
    for (unsigned id : {kEmpty, kAbsent}) {
        char buffer[8] = "garbage";
        EXPECT_EQ(LoadResourceText(id, buffer, 8), 0) << id;
        EXPECT_EQ(buffer[0], '\0') << id;
        CString text("old");
        EXPECT_FALSE(LoadStringResource(text, id)) << id;
        EXPECT_TRUE(text.IsEmpty()) << id;
    }
}

TEST(LauncherPropertiesTest, TwoReadsOfTheSamePropertyAreEqual) {
    EXPECT_EQ(ReadStringProperty(2510), ReadStringProperty(2510));
    EXPECT_EQ(ReadIntProperty(kThree), ReadIntProperty(kThree));
}
