// Reading the version out of -version output and comparing it with the
// minimum: pure text, so every case is one row of a table.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "runtime/Version.h"

namespace {

struct ExtractCase {
    const char* what;
    std::string output;
    const char* version;
};

const ExtractCase kExtractCases[] = {
    {"classic first line with the lines that follow it",
     "java version \"1.6.0_03\"\r\nJava(TM) SE Runtime Environment (build 1.6.0_03-b05)\r\n"
     "Java HotSpot(TM) Client VM (build 1.6.0_03-b05, mixed mode, sharing)\r\n",
     "1.6.0_03"},
    {"open build with a release date after the quotes",
     "openjdk version \"17.0.15\" 2025-04-15\nOpenJDK Runtime Environment (build 17.0.15+6)\n", "17.0.15"},
    {"open build of a legacy 1.x release", "openjdk version \"1.8.0_392\"\nOpenJDK Runtime Environment\n",
     "1.8.0_392"},
    {"a Picked up line printed before the version line",
     "Picked up JAVA_TOOL_OPTIONS: -Dfile.encoding=UTF-8\nopenjdk version \"11.0.2\" 2019-01-15\n", "11.0.2"},
    {"a Picked up line whose own text holds quotes",
     "Picked up _JAVA_OPTIONS: -Dx=\"a b\"\njava version \"1.4.2_19\"\n", "1.4.2_19"},
    {"empty output", "", ""},
    {"only the fourteen characters before the version", "java version \"", ""},
    {"no line with a version", "Error: could not find java.dll\nError: Could not find Java SE Runtime Environment.\n",
     ""},
    {"version line without a closing quote ends at the line end", "java version \"1.7.0\r\nmore\n", "1.7.0"},
    {"a version word without the blank before it does not count", "version \"9\"\n", ""},
};

class ExtractVersionTest : public testing::TestWithParam<ExtractCase> {};

TEST_P(ExtractVersionTest, TakesTheQuotedTextOfTheFirstVersionLine) {
    const ExtractCase& c = GetParam();
    EXPECT_EQ(c.version, ExtractVersion(c.output)) << c.what;
}

INSTANTIATE_TEST_SUITE_P(Outputs, ExtractVersionTest, testing::ValuesIn(kExtractCases));

struct CompareCase {
    const char* minimum;
    const char* version;
    bool atLeast;
};

const CompareCase kCompareCases[] = {
    // Components compare as numbers, the legacy 1.x read as x on both sides.
    {"11", "1.8.0_202", false},
    {"11", "11.0.2", true},
    {"11", "17.0.15", true},
    {"11", "8", false},
    {"1.8", "17.0.15", true},
    {"1.8", "9", true},
    {"1.8", "1.8.0_392", true},
    {"17", "1.8.0", false},
    {"1.6.0_10", "1.6.0_03", false},
    {"1.6.0_03", "1.6.0_10", true},
    {"1.4", "1.10", true},
    {"1.4", "1.10.0", true},
    // The classic examples keep their results.
    {"1.4", "1.6.0_03", true},
    {"1.4", "1.4.2_19", true},
    {"1.4", "1.4", true},
    {"1.4", "1.3.1_20", false},
    {"1.4", "1.3.1", false},
    {"1.3", "1.3", true},
    // A missing component counts as 0.
    {"1.6.0", "1.6", true},
    {"1.6.0_01", "1.6", false},
    {"11.0.0", "11", true},
    // Reading stops at the first character that is no digit or separator.
    {"17", "17-ea", true},
    {"17.0.1", "17.0.1+12", true},
    {"17.0.2", "17.0.1+12", false},
    {"1.5", "1.6\" trailing text", true},
    {"1.7", "1.6\" 1.9", false},
    // Components of ten digits and more read as the largest value one can
    // have; found by fuzzing, where one of them wrapped around below it.
    {"999999999", "5000000000", true},
    {"999999999", "4444444441", true},
    {"4444444441", "999999999", true},
    {"5000000000", "17", false},
    {"11.999999999", "11.18446744073709551617", true},
    {"17.0.4294967296", "17.0.5", false},
    // Versions without digits never pass.
    {"1.3", "", false},
    {"1.3", "abc", false},
    {"1.3", "\"1.6\"", false},
};

class VersionAtLeastTest : public testing::TestWithParam<CompareCase> {};

TEST_P(VersionAtLeastTest, ComparesComponentsAsNumbers) {
    const CompareCase& c = GetParam();
    EXPECT_EQ(c.atLeast, VersionAtLeast(c.minimum, c.version)) << "minimum " << c.minimum << ", version " << c.version;
}

INSTANTIATE_TEST_SUITE_P(Versions, VersionAtLeastTest, testing::ValuesIn(kCompareCases));

TEST(IsVersionTextTest, AcceptsWhatStartsWithANumberOnly) {
    for (const char* text : {"11", "1.8.0_202", "17-ea", "9+181", "1.6.0.03"}) EXPECT_TRUE(IsVersionText(text)) << text;
    for (const char* text : {"", "v1.6", "eleven", " 11", ".8", "-1"}) EXPECT_FALSE(IsVersionText(text)) << text;
}

// Versions in ascending order, equal neighbours grouped: every pair must
// compare as its positions do.
const std::vector<std::vector<const char*>> kAscending = {
    {"1.2.2"}, {"1.3", "1.3.0"}, {"1.3.1"}, {"1.3.1_20"}, {"1.4", "1.4.0", "4"},
    {"1.4.2_19"}, {"1.6", "1.6.0", "6"}, {"1.6.0_03", "1.6.0_3"}, {"1.6.0_10"}, {"1.8.0_202", "8.0.202"},
    {"1.8.0_212", "1.8.0.212"}, {"1.8.0_392"}, {"9"}, {"1.10", "10"}, {"11.0.2", "11.0.2-ea"}, {"17.0.1+12"},
    {"17.0.15"}, {"21"},
};

TEST(VersionOrderTest, EveryPairComparesAsItsPositionInTheOrder) {
    for (size_t i = 0; i < kAscending.size(); ++i)
        for (size_t j = 0; j < kAscending.size(); ++j)
            for (const char* minimum : kAscending[i])
                for (const char* version : kAscending[j])
                    EXPECT_EQ(j >= i, VersionAtLeast(minimum, version)) << "minimum " << minimum << ", version " << version;
}

TEST(VersionAtMostTest, AdmitsEveryVersionThatStartsAtOrBelowTheMaximum) {
    struct Case { const char* maximum; const char* version; bool atMost; };
    const Case cases[] = {
        {"17", "17.0.15", true}, {"17", "17", true}, {"17", "18", false}, {"17", "1.8.0_265", true},
        {"17.0.2", "17.0.2.1", true}, {"17.0.2", "17.0.3", false}, {"1.8", "1.8.0.212", true},
        {"8", "1.8.0_392", true}, {"11", "21", false}, {"11", "", false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.atMost, VersionAtMost(c.maximum, c.version)) << "maximum " << c.maximum << ", version " << c.version;
}

}  // namespace
