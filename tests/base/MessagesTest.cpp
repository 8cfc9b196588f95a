#include "base/Messages.h"
#include "base/StandardError.h"

#include <string>

#include <windows.h>

#include <gtest/gtest.h>

TEST(MessagesTest, TheSystemErrorTextIsTheSystemsMessageWithoutItsLineEnd) {
    char* raw = nullptr;
    FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                   nullptr, ERROR_FILE_NOT_FOUND, 0, reinterpret_cast<char*>(&raw), 0, nullptr);
    ASSERT_NE(raw, nullptr);
    std::string system(raw);
    LocalFree(raw);
    while (!system.empty() && (system.back() == '\n' || system.back() == '\r' || system.back() == ' '))
        system.pop_back();

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
