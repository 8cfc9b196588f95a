#include "ui/StartFailure.h"

#include <string>

#include <gtest/gtest.h>

TEST(StartFailureMessageTest, NamesTheRuntimeKindAndVersionAndTheDownloadPage) {
    struct Case { bool jdkOnly; const char* version; const char* expected; };
    const Case cases[] = {
        {false, "1.3",
         "This application cannot start since no appropriate JVM was found.\n"
         "It is required to have JRE version 1.3 or higher installed on your computer.\n"
         "Please go to https://adoptium.net/ for installation instructions."},
        {true, "1.6.0_10",
         "This application cannot start since no appropriate JVM was found.\n"
         "It is required to have JDK version 1.6.0_10 or higher installed on your computer.\n"
         "Please go to https://adoptium.net/ for installation instructions."},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(std::string(ComposeStartFailureMessage(c.jdkOnly, c.version)), c.expected);
    }
}


TEST(StartFailureMessageTest, NamesTheLaunchersOwnDownloadAddressWhenGivenOne) {
    EXPECT_EQ(std::string(ComposeStartFailureMessage(false, "17", "https://downloads.example.org/runtime")),
              "This application cannot start since no appropriate JVM was found.\n"
              "It is required to have JRE version 17 or higher installed on your computer.\n"
              "Please go to https://downloads.example.org/runtime for installation instructions.");
}

TEST(StartFailureMessageTest, ALauncherWithoutADownloadAddressUsesTheBuiltInPage) {
    // This test program's string table has no PROP_DOWNLOAD_URL.
    EXPECT_EQ(std::string(StartFailureDownloadPage()), kDownloadPage);
}
