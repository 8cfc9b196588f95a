#include "framework/CString.h"

#include <cstring>

#include <gtest/gtest.h>

TEST(CStringTest, GetBufferThenReleaseBufferTakesTheLengthOfTheWrittenText) {
    CString text("abc");
    char* buffer = text.GetBuffer(10);
    ASSERT_NE(buffer, nullptr);
    std::strcpy(buffer, "hello");
    text.ReleaseBuffer();
    EXPECT_EQ(text.GetLength(), 5);
    EXPECT_STREQ(text, "hello");
}

TEST(CStringTest, ConcatenationAndComparison) {
    CString a("Working dir: ");
    CString b = a + "C:\\x" + CString("\\");
    EXPECT_TRUE(b == "Working dir: C:\\x\\");
    EXPECT_FALSE(b.IsEmpty());
    EXPECT_TRUE(CString().IsEmpty());
    EXPECT_TRUE(CString(nullptr) == "");
}
