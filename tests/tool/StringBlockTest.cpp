#include "tools/jarstart-tool/StringBlock.h"

#include <gtest/gtest.h>

TEST(StringBlockTest, IdsNinetySixToOneHundredElevenShareBlockSeven) {
    for (int id = 96; id <= 111; ++id) EXPECT_EQ(StringBlockId(id), 7) << id;
    EXPECT_EQ(StringBlockId(95), 6);
    EXPECT_EQ(StringBlockId(112), 8);
    EXPECT_EQ(FirstIdOfBlock(7), 96);
}

TEST(StringBlockTest, EncodesLengthPrefixedLittleEndianEntries) {
    std::vector<std::u16string> strings(16);
    strings[1] = u"ab";
    strings[15] = std::u16string(1, char16_t(0x20AC));
    std::string bytes;
    ASSERT_TRUE(EncodeStringBlock(strings, &bytes));
    std::string expected(2, '\0');
    expected += std::string("\x02\x00" "a\x00" "b\x00", 6);
    for (int i = 2; i < 15; ++i) expected += std::string(2, '\0');
    expected += std::string("\x01\x00\xAC\x20", 4);
    EXPECT_EQ(bytes, expected);
}

TEST(StringBlockTest, DecodeGivesBackWhatWasEncodedIncludingLongValues) {
    std::vector<std::u16string> strings(16);
    strings[0] = u"yes";
    strings[5] = std::u16string(5000, u'x');
    strings[6] = u"caf\u00e9";
    strings[10] = u"http://example.invalid/";
    std::string bytes;
    ASSERT_TRUE(EncodeStringBlock(strings, &bytes));
    std::vector<std::u16string> decoded;
    ASSERT_TRUE(DecodeStringBlock(bytes, &decoded));
    EXPECT_EQ(decoded, strings);
    // Resource compilers may pad the block: trailing bytes are ignored.
    ASSERT_TRUE(DecodeStringBlock(bytes + std::string(6, '\0'), &decoded));
    EXPECT_EQ(decoded, strings);
}

TEST(StringBlockTest, ShortBlocksAreDamagedAndOverlongValuesRefused) {
    std::vector<std::u16string> strings(16);
    strings[3] = u"abc";
    std::string bytes;
    ASSERT_TRUE(EncodeStringBlock(strings, &bytes));
    std::vector<std::u16string> decoded;
    for (size_t cut = 0; cut < bytes.size(); ++cut)
        EXPECT_FALSE(DecodeStringBlock(bytes.substr(0, cut), &decoded)) << cut;

    strings[3] = std::u16string(65536, u'x');
    EXPECT_FALSE(EncodeStringBlock(strings, &bytes));
    EXPECT_FALSE(EncodeStringBlock(std::vector<std::u16string>(17), &bytes));
}
