#include "base/Environment.h"

#include <string>

#include <windows.h>

#include <gtest/gtest.h>

TEST(EnvironmentTest, ExpandsAsTheSystemDoesButLeavesBytesOutsideNamesAlone) {
    SetEnvironmentVariableA("ENV_TEST_X", "1");
    SetEnvironmentVariableA("ENV_TEST_UNDEFINED", nullptr);
    const char* texts[] = {"",          "no variables", "%",        "100%",           "a%ENV_TEST_X%b",
                           "%ENV_TEST_x%", "%ENV_TEST_UNDEFINED%", "%ENV_TEST_UNDEFINED%ENV_TEST_X%", "%%",
                           "%%ENV_TEST_X%%", "%ENV_TEST_X%%ENV_TEST_X%", "50% of %ENV_TEST_X%"};
    for (const char* text : texts) {
        char system[256] = {};
        ASSERT_GT(ExpandEnvironmentStringsA(text, system, sizeof system), 0u) << text;
        EXPECT_EQ(std::string(ExpandEnvironmentText(text)), system) << text;
    }
    // Not valid UTF-8, and no name: the bytes pass unchanged.
    EXPECT_EQ(std::string(ExpandEnvironmentText("\xff\xfe 5%")), "\xff\xfe 5%");
    SetEnvironmentVariableA("ENV_TEST_X", nullptr);
}
