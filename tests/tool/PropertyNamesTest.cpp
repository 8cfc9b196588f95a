#include "tools/jarstart-tool/PropertyNames.h"

#include <string>

#include <gtest/gtest.h>

#include "base/PropertyIds.h"

TEST(PropertyNamesTest, AcceptsEachNameAndIdOfTheTable) {
    const struct {
        const char* key;
        int id;
    } accepted[] = {
        {"PROP_SPLASH", 96},           {"PROP_KEEP_ALIVE", 97},       {"PROP_SPLASH_TIMEOUT", 98},
        {"PROP_JRE_PATH", 99},         {"PROP_VM_PARAMS", 100},       {"PROP_START_JAR", 101},
        {"PROP_WATCH_APP_WINDOW", 102}, {"PROP_WORK_DIR", 103},       {"PROP_MIN_VERSION", 104},
        {"PROP_SEARCH_JDK_ONLY", 105}, {"PROP_DOWNLOAD_URL", 106},    {"96", 96},
        {"101", 101},                  {"105", 105},                  {"106", 106},
        {"PROP_PASS_ALL_ARGUMENTS", 107}, {"PROP_SHOW_START_ERRORS", 108}, {"PROP_SINGLE_INSTANCE", 109},
        {"109", 109},                  {"PROP_MAIN_CLASS", 112},      {"PROP_CLASS_PATH", 113},
        {"PROP_MAIN_MODULE", 114},     {"PROP_MODULE_PATH", 115},     {"115", 115},
        {"PROP_IN_PROCESS", 116},      {"PROP_APP_ID", 117},          {"117", 117},
    };
    for (const auto& a : accepted) {
        int id = 0;
        EXPECT_TRUE(ParsePropertyKey(a.key, &id)) << a.key;
        EXPECT_EQ(id, a.id) << a.key;
        if (a.key[0] == 'P') {
            EXPECT_STREQ(PropertyName(a.id), a.key);
        }
    }
}

TEST(PropertyNamesTest, RejectsEverythingElse) {
    // The ids past the table's last follow it as it grows.
    const std::string pastTable = std::to_string(kLastPropertyId + 1), further = std::to_string(kLastPropertyId + 2);
    const char* rejected[] = {"",    "95",   pastTable.c_str(), further.c_str(), "0101", "+101", "-1",  " 101", "101 ",
                              "1e2", "0x60", "prop_splash", "PROP_", "PROP_SPLASH ", "SPLASH", "PROP_DOWNLOAD"};
    for (const char* key : rejected) {
        int id = -1;
        EXPECT_FALSE(ParsePropertyKey(key, &id)) << "\"" << key << "\"";
        EXPECT_EQ(id, -1) << key;
    }
    EXPECT_STREQ(PropertyName(kLastPropertyId + 1), "");
}
