#include "base/Messages.h"
#include "base/StandardError.h"

#include <string>

#include <windows.h>

#include <gtest/gtest.h>

#include "tools/jarstart-tool/FileBytes.h"

TEST(MessagesTest, TheSystemErrorTextIsTheSystemsMessageWithoutItsLineEnd) {
    std::string system = SystemText(ERROR_FILE_NOT_FOUND);
    ASSERT_FALSE(system.empty());

    CString text = SystemErrorText(ERROR_FILE_NOT_FOUND);
    EXPECT_FALSE(text.IsEmpty());
    EXPECT_EQ(std::string(text), system);
    EXPECT_NE(std::string(SystemErrorText(ERROR_ACCESS_DENIED)), system);
}

TEST(MessagesTest, AnErrorWithoutSystemTextIsNamedByItsNumber) {
    EXPECT_STREQ(SystemErrorText(717020912u), "Windows error 717020912");
}

TEST(StandardErrorTest, EachLineOfAMessageIsPrefixedWithTheProgramsName) {
    const struct {
        const char* text;
        const char* expected;
    } cases[] = {
        {"one", "T.exe: one\r\n"},
        {"one\ntwo\n", "T.exe: one\r\nT.exe: two\r\n"},
        {"one\r\n\nthree", "T.exe: one\r\nT.exe: \r\nT.exe: three\r\n"},
        {"", ""},
    };
    for (const auto& c : cases) EXPECT_EQ(PrefixLines("T.exe", c.text), c.expected) << c.text;
}
