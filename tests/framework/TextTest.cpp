// The launcher's own string and array, against what the standard library's
// string and vector answer for the same calls: the product code was moved
// from those by renaming alone, so every answer must be the same.
#include "framework/Text.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "framework/Array.h"

namespace {

std::string Std(const Text& text) {
    return std::string(text.c_str(), text.size());
}

}  // namespace

TEST(TextTest, SearchesAndPiecesAnswerAsTheStandardStringDoes) {
    const char* const texts[] = {"", "a", "java version \"1.8.0\"\r\nnext", "\\\\server\\share\\", "a.b.c.exe"};
    for (const char* raw : texts) {
        SCOPED_TRACE(raw);
        Text text(raw);
        std::string expected(raw);
        EXPECT_EQ(text.size(), expected.size());
        EXPECT_EQ(text.empty(), expected.empty());
        for (size_t from = 0; from <= expected.size() + 1; ++from) {
            EXPECT_EQ(text.find('\n', from), expected.find('\n', from)) << from;
            EXPECT_EQ(text.find(" version \"", from), expected.find(" version \"", from)) << from;
            EXPECT_EQ(text.find("", from), expected.find("", from)) << from;
            EXPECT_EQ(text.find_last_of('\\', from), expected.find_last_of('\\', from)) << from;
            EXPECT_EQ(text.find_last_of('.', from), expected.find_last_of('.', from)) << from;
            for (size_t count : {size_t(0), size_t(1), size_t(3), Text::npos}) {
                if (from > expected.size()) continue;
                EXPECT_EQ(Std(text.substr(from, count)), expected.substr(from, count)) << from << "," << count;
                Text erased(raw);
                std::string expectedErased(raw);
                erased.erase(from, count);
                expectedErased.erase(from, count);
                EXPECT_EQ(Std(erased), expectedErased) << from << "," << count;
                EXPECT_EQ(std::string(erased.c_str()), expectedErased) << "still terminated";
                EXPECT_EQ(text.compare(from, count, Text("a")) < 0, expected.compare(from, count, "a") < 0);
                EXPECT_EQ(text.compare(from, count, Text("a")) == 0, expected.compare(from, count, "a") == 0);
            }
        }
        EXPECT_EQ(text.find_last_of('\\'), expected.find_last_of('\\'));
    }
}

TEST(TextTest, GrowingKeepsTheTextTerminatedAndAppendsEvenAPieceOfItself) {
    Text text;
    EXPECT_STREQ(text.c_str(), "");
    std::string expected;
    for (int i = 0; i < 200; ++i) {
        text += static_cast<char>('a' + i % 26);
        expected += static_cast<char>('a' + i % 26);
    }
    text.append(text.c_str() + 10, 50);
    expected.append(expected.c_str() + 10, 50);
    text += text;
    expected += expected;
    EXPECT_EQ(Std(text), expected);
    EXPECT_EQ(std::strlen(text.c_str()), expected.size());
    text.assign(text.c_str() + 5, 3);
    EXPECT_EQ(Std(text), expected.substr(5, 3));
    text.resize(6, 'x');
    EXPECT_EQ(Std(text), expected.substr(5, 3) + "xxx");
    text.resize(2);
    EXPECT_STREQ(text.c_str(), "fg");
    text.clear();
    EXPECT_TRUE(text.empty());
    EXPECT_STREQ(text.c_str(), "");
}

TEST(TextTest, CopiesMovesAndComparisonsKeepEachTextItsOwn) {
    Text first("first");
    Text copy = first;
    copy += "!";
    EXPECT_STREQ(first.c_str(), "first");
    EXPECT_STREQ(copy.c_str(), "first!");
    Text moved = static_cast<Text&&>(copy);
    EXPECT_STREQ(moved.c_str(), "first!");
    EXPECT_TRUE(copy.empty());
    EXPECT_STREQ(copy.c_str(), "");
    EXPECT_TRUE(first == "first");
    EXPECT_TRUE("first" == first);
    EXPECT_TRUE(first != moved);
    EXPECT_TRUE(first < moved);
    EXPECT_TRUE(Text("a", 1) == std::string("a")) << "a standard string converts at the boundary";
    EXPECT_TRUE(Text(std::string("a\0b", 3)) == Text("a\0b", 3)) << "with every byte";
    EXPECT_STREQ((Text("x") + "y" + Text("z") + '!').c_str(), "xyz!");
    EXPECT_STREQ(("<" + Text("x")).c_str(), "<x");
    Text filled(3, '\0');
    EXPECT_EQ(filled.size(), 3u);
    filled[1] = 'b';
    EXPECT_EQ(filled[1], 'b');
}

TEST(TextTest, NumbersAreWrittenAsTheStandardLibraryWritesThem) {
    for (unsigned long long value : {0ull, 7ull, 10ull, 259ull, 4294967295ull, 18446744073709551615ull})
        EXPECT_EQ(Std(ToText(value)), std::to_string(value));
}

TEST(ArrayTest, ItemsThatOwnMemorySurviveGrowingCopyingAndErasing) {
    Array<Text> items;
    std::vector<std::string> expected;
    for (int i = 0; i < 100; ++i) {
        items.push_back(Text("item ") + ToText(static_cast<unsigned long long>(i)));
        expected.push_back("item " + std::to_string(i));
    }
    // An item of the array itself, added while the array grows.
    items.push_back(items[3]);
    expected.push_back(expected[3]);
    items.erase(items.begin());
    expected.erase(expected.begin());
    Array<Text> copy = items;
    copy.back() = "changed";
    ASSERT_EQ(items.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i) EXPECT_EQ(Std(items[i]), expected[i]) << i;
    EXPECT_EQ(Std(copy.front()), expected.front());
    EXPECT_STREQ(copy.back().c_str(), "changed");
    size_t counted = 0;
    for (const Text& item : items) counted += item.empty() ? 0 : 1;
    EXPECT_EQ(counted, expected.size());
    Array<Text> moved = static_cast<Array<Text>&&>(copy);
    EXPECT_TRUE(copy.empty());
    EXPECT_EQ(moved.size(), expected.size());
}

TEST(ArrayTest, SizedAndRangedArraysHoldZerosAndTheRange) {
    Array<wchar_t> zeros(5);
    ASSERT_EQ(zeros.size(), 5u);
    for (wchar_t c : zeros) EXPECT_EQ(c, L'\0');
    const char text[] = "abc";
    Array<char> line(text, text + sizeof(text));
    EXPECT_STREQ(line.data(), "abc");
    line.resize(2);
    EXPECT_EQ(line.size(), 2u);
    line.clear();
    EXPECT_TRUE(line.empty());
}
