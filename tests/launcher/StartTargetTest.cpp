#include "launcher/StartTarget.h"

#include <gtest/gtest.h>

namespace {
StartTarget Target(const char* jar, const char* mainClass, const char* mainModule) {
    StartTarget target;
    target.jar = jar;
    target.mainClass = mainClass;
    target.mainModule = mainModule;
    return target;
}
}  // namespace

TEST(StartTargetTest, ExactlyOneOfJarClassAndModuleChoosesTheModeAndTwoOrNoneAreRefusedByName) {
    const struct {
        const char *jar, *mainClass, *mainModule;
        StartMode mode;
        const char* problem;  // "" when chosen
    } cases[] = {
        {"app.jar", "", "", START_JAR, ""},
        {"", "com.example.Main", "", START_MAIN_CLASS, ""},
        {"", "", "com.example.app/com.example.app.Main", START_MAIN_MODULE, ""},
        {"", "", "", START_NOTHING,
         "The launcher names nothing to start: none of PROP_START_JAR, PROP_MAIN_CLASS and PROP_MAIN_MODULE is set."},
        {"app.jar", "com.example.Main", "", START_NOTHING,
         "The launcher names more than one thing to start: PROP_START_JAR and PROP_MAIN_CLASS are set; it starts one "
         "of them."},
        {"", "com.example.Main", "app", START_NOTHING,
         "The launcher names more than one thing to start: PROP_MAIN_CLASS and PROP_MAIN_MODULE are set; it starts "
         "one of them."},
        {"a.jar", "C", "m", START_NOTHING,
         "The launcher names more than one thing to start: PROP_START_JAR, PROP_MAIN_CLASS and PROP_MAIN_MODULE are "
         "set; it starts one of them."},
    };
    for (const auto& c : cases) {
        StartTarget target = Target(c.jar, c.mainClass, c.mainModule);
        CString problem;
        EXPECT_EQ(ChooseStartMode(&target, &problem), c.problem[0] == '\0') << c.problem;
        EXPECT_EQ(target.mode, c.mode) << c.problem;
        EXPECT_STREQ(problem, c.problem);
    }
}

TEST(StartTargetTest, OnlyAModuleStartRaisesTheMinimumVersionTo9) {
    EXPECT_STREQ(MinimumVersionForMode(START_MAIN_MODULE), "9");
    EXPECT_STREQ(MinimumVersionForMode(START_JAR), "");
    EXPECT_STREQ(MinimumVersionForMode(START_MAIN_CLASS), "");
}

TEST(StartTargetTest, AnArgumentIsQuotedOnlyWhenTheCommandLineWouldSplitOrExpandIt) {
    const struct {
        const char* text;
        const char* quoted;
    } cases[] = {
        {"com.example.Main", "com.example.Main"},
        {"lib\\a.jar;classes\\", "lib\\a.jar;classes\\"},
        {"", "\"\""},
        {"my libs\\a.jar", "\"my libs\\a.jar\""},
        {"lib\\*", "\"lib\\*\""},
        {"a?.jar", "\"a?.jar\""},
        {"tab\there", "\"tab\there\""},
        // A trailing backslash would escape the closing quote: doubled.
        {"my classes\\", "\"my classes\\\\\""},
        // A quote inside, and the backslashes right before it, escaped.
        {"say \"hi\"", "\"say \\\"hi\\\"\""},
        {"a\\\"b", "\"a\\\\\\\"b\""},
    };
    for (const auto& c : cases) EXPECT_STREQ(QuoteArgument(c.text), c.quoted) << c.text;
}

TEST(StartTargetTest, TheStartPartIsTodaysForAJarAndQuotesTheClassAndModulePieces) {
    StartTarget jar = Target("my app.jar", "", "");
    jar.mode = START_JAR;
    StartTarget withClassPath = Target("", "com.example.Main", "");
    withClassPath.mode = START_MAIN_CLASS;
    withClassPath.classPath = "lib\\*;my libs\\x.jar";
    StartTarget withoutClassPath = withClassPath;
    withoutClassPath.classPath = "";
    StartTarget module = Target("", "", "com.example.app/com.example.app.Main");
    module.mode = START_MAIN_MODULE;
    module.modulePath = "mods;C:\\Program Files\\App\\mods";
    StartTarget imageModule = module;
    imageModule.modulePath = "";
    const struct {
        const StartTarget* target;
        const char* part;
    } cases[] = {
        // As stored, blanks and all: the line of a jar launcher stays as it was.
        {&jar, " -jar my app.jar"},
        {&withClassPath, " -cp \"lib\\*;my libs\\x.jar\" com.example.Main"},
        {&withoutClassPath, " -cp . com.example.Main"},
        {&module, " --module-path \"mods;C:\\Program Files\\App\\mods\" -m com.example.app/com.example.app.Main"},
        {&imageModule, " -m com.example.app/com.example.app.Main"},
    };
    for (const auto& c : cases) EXPECT_STREQ(JoinStartPart(*c.target), c.part) << c.part;
    StartTarget nothing;
    EXPECT_STREQ(JoinStartPart(nothing), "");
}
