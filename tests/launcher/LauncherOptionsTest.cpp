#include "launcher/LauncherOptions.h"

#include <string>

#include <gtest/gtest.h>

namespace {

struct SwitchCase {
    const char* line;
    bool help;
    bool console;
    bool debug;
    const char* arguments;
};

std::string Describe(const SwitchCase& c) {
    return std::string("line [") + c.line + "]";
}

void ExpectParsed(const SwitchCase& c) {
    LauncherOptions options;
    options.Parse(c.line);
    EXPECT_EQ(options.m_help, c.help) << Describe(c);
    EXPECT_EQ(options.m_console, c.console) << Describe(c);
    EXPECT_EQ(options.m_debug, c.debug) << Describe(c);
    EXPECT_EQ(options.m_arguments, c.arguments) << Describe(c);
    EXPECT_EQ(options.GetArguments(), c.arguments) << Describe(c);
}

}  // namespace

TEST(LauncherOptionsTest, WellFormedSwitchesSetTheirFlagsWithEitherPrefix) {
    const SwitchCase cases[] = {
        {"", false, false, false, ""},
        {"   ", false, false, false, ""},
        {"-c", false, true, false, ""},
        {"/c", false, true, false, ""},
        {"-d", false, false, true, ""},
        {"/d", false, false, true, ""},
        {"-c -d", false, true, true, ""},
        {"-d   /c", false, true, true, ""},
        {"  -c  ", false, true, false, ""},
        {"-d -d", false, false, true, ""},
    };
    for (const SwitchCase& c : cases) ExpectParsed(c);
}

TEST(LauncherOptionsTest, UnknownLettersStandingAloneAreIgnored) {
    const SwitchCase cases[] = {
        {"-C", false, false, false, ""},
        {"-x", false, false, false, ""},
        {"/D -P", false, false, false, ""},
        {"-x -c", false, true, false, ""},
        {"--", false, false, false, ""},
        {"-/", false, false, false, ""},
    };
    for (const SwitchCase& c : cases) ExpectParsed(c);
}

TEST(LauncherOptionsTest, ThePassSwitchTakesTheRestOfTheLineUnscanned) {
    const SwitchCase cases[] = {
        {"-p one two", false, false, false, " one two"},
        {"/p one two", false, false, false, " one two"},
        {"-p", false, false, false, ""},
        {"-p -c", false, false, false, " -c"},
        {"-c -p  x", false, true, false, "  x"},
        {"-p \"quoted arg\" 'x'", false, false, false, " \"quoted arg\" 'x'"},
        {"-p\tafter a tab", true, false, false, ""},
        {"-d -p -Xhelp \"", false, false, true, " -Xhelp \""},
        {"-p ", false, false, false, " "},
    };
    for (const SwitchCase& c : cases) ExpectParsed(c);
}

TEST(LauncherOptionsTest, MalformedItemsAskForTheUsageText) {
    const SwitchCase cases[] = {
        {"-cd", true, false, false, ""},
        {"-Xconsole", true, false, false, ""},
        {"-Xdebug", true, false, false, ""},
        {"-Xhelp", true, false, false, ""},
        {"main.jar", true, false, false, ""},
        {"\"-c\"", true, false, false, ""},
        {"\"x\" -p y", true, false, false, ""},
        {"-c\t-d", true, false, false, ""},
        {"\t-c", true, false, false, ""},
        // Switches before the unreadable item are recorded, not acted on.
        {"-c -d oops", true, true, true, ""},
        {"-c -Xdebug -d", true, true, false, ""},
    };
    for (const SwitchCase& c : cases) ExpectParsed(c);
}

TEST(LauncherOptionsTest, OneTrailingBlankAfterASwitchLetterIsAcceptedLikeTwo) {
    const SwitchCase cases[] = {
        {"-c ", false, true, false, ""},
        {"-c  ", false, true, false, ""},
        {"-d ", false, false, true, ""},
        {"-c -d ", false, true, true, ""},
        {"-x ", false, false, false, ""},
    };
    for (const SwitchCase& c : cases) ExpectParsed(c);
}

TEST(LauncherOptionsTest, APrefixWithoutLetterAtTheEndOfTheLineAsksForTheUsageText) {
    const SwitchCase cases[] = {
        {"-", true, false, false, ""},
        {"/", true, false, false, ""},
        {"-c -", true, true, false, ""},
        {"-d /", true, false, true, ""},
        {"   -", true, false, false, ""},
    };
    for (const SwitchCase& c : cases) ExpectParsed(c);
}

TEST(LauncherOptionsTest, TheUsageTextIsTheFourLinesInOrder) {
    EXPECT_STREQ(kUsageText,
                 "Options: \nuse -Xconsole to run java with console window\n"
                 "use -Xdebug to get output to log file\nuse -Xhelp to get help about usage.");
}

TEST(LauncherOptionsTest, ANewObjectHasNoFlagsAndNoArguments) {
    LauncherOptions options;
    EXPECT_FALSE(options.m_help);
    EXPECT_FALSE(options.m_console);
    EXPECT_FALSE(options.m_debug);
    EXPECT_TRUE(options.m_arguments.empty());
}

TEST(LauncherOptionsTest, ThePassedLineIsWhatFollowsTheProgramNameAsTheSystemEndsIt) {
    const struct {
        const char* commandLine;
        const char* arguments;
    } cases[] = {
        {"", ""},
        {"app.exe", ""},
        {"app.exe  \t", ""},
        {"app.exe a b", "a b"},
        {"\"C:\\My Apps\\app.exe\"", ""},
        {"\"C:\\My Apps\\app.exe\" \"C:\\My file.txt\" x\\ ", "\"C:\\My file.txt\" x\\ "},
        {"\"C:\\My Apps\\app.exe\"-x", "-x"},
        {"app.exe\t\"q\" ", "\"q\" "},
        {"\"unterminated name", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ArgumentsAfterProgramName(c.commandLine), c.arguments) << "[" << c.commandLine << "]";
}
