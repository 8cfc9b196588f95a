#include "ui/StartFailure.h"

#include <string>

#include <gtest/gtest.h>

TEST(StartFailureMessageTest, NamesTheRuntimeKindAndVersionOrRangeAndTheDownloadPage) {
    struct Case { bool jdkOnly; const char* version; const char* maxVersion; const char* expected; };
    const Case cases[] = {
        {false, "1.3", "",
         "This application cannot start since no appropriate JVM was found.\n"
         "It is required to have JRE version 1.3 or higher installed on your computer.\n"
         "Please go to https://adoptium.net/ for installation instructions."},
        {true, "1.6.0_10", "",
         "This application cannot start since no appropriate JVM was found.\n"
         "It is required to have JDK version 1.6.0_10 or higher installed on your computer.\n"
         "Please go to https://adoptium.net/ for installation instructions."},
        // A user with only a newer runtime must read that it is too new.
        {false, "8", "11",
         "This application cannot start since no appropriate JVM was found.\n"
         "It is required to have JRE version 8 to 11 installed on your computer.\n"
         "Please go to https://adoptium.net/ for installation instructions."},
        {true, "11", "17",
         "This application cannot start since no appropriate JVM was found.\n"
         "It is required to have JDK version 11 to 17 installed on your computer.\n"
         "Please go to https://adoptium.net/ for installation instructions."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.expected);
        EXPECT_EQ(std::string(ComposeStartFailureMessage(c.jdkOnly, c.version, kDownloadPage, c.maxVersion)),
                  c.expected);
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
