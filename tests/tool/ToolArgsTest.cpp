#include "tools/jarstart-tool/ToolArgs.h"

#include <gtest/gtest.h>

#include "base/PropertyIds.h"

TEST(ToolArgsTest, SplitsACommandLineAsTheCRuntimeDoes) {
    struct Case {
        std::string line;
        std::vector<std::string> args;
    };
    const Case cases[] = {
        {"tool.exe", {"tool.exe"}},
        {"\"C:\\My Tools\\tool.exe\" show x.exe", {"C:\\My Tools\\tool.exe", "show", "x.exe"}},
        {"tool  a\t b  ", {"tool", "a", "b"}},
        {"tool \"a b\" c\"d e\"f", {"tool", "a b", "cd ef"}},
        {"tool a\\\\b a\\\"b", {"tool", "a\\\\b", "a\"b"}},
        {"tool \"a\\\\\" b", {"tool", "a\\", "b"}},
        {"tool \"\" x", {"tool", "", "x"}},
        {"tool \"a\"\"b\"", {"tool", "a\"b"}},
        {"\"C:\\dir\\\"x y", {"C:\\dir\\", "x", "y"}},  // no escapes in the program name
    };
    for (const Case& c : cases) {
        std::vector<CommandLineArgument> split = SplitCommandLine(c.line);
        std::vector<std::string> values;
        for (const CommandLineArgument& a : split) values.push_back(a.value);
        EXPECT_EQ(values, c.args) << c.line;
    }
}

TEST(ToolArgsTest, TextAfterAnArgumentIsTheRestExactlyAsTyped) {
    struct Case {
        std::string line;
        size_t index;
        std::string rest;
    };
    const Case cases[] = {
        {"tool trace x.exe -p a b", 2, "-p a b"},
        {"tool trace \"C:\\a b\\x.exe\"   -p  \"a  b\" ", 2, "-p  \"a  b\" "},
        {"\"tool\" trace --raw x.exe \"\" \\\"q", 3, "\"\" \\\"q"},
        {"tool trace x.exe", 2, ""},
        {"tool trace x.exe   ", 2, ""},
        {"tool trace x.exe", 7, ""},
    };
    for (const Case& c : cases) EXPECT_EQ(TextAfterArgument(c.line, c.index), c.rest) << c.line;
}

TEST(ToolArgsTest, ConfigureCollectsInputOutputSettingsAndSplash) {
    ToolArgs args;
    std::string error;
    ASSERT_TRUE(ParseToolArgs({"configure", "in.exe", "--set", "PROP_START_JAR=a=b.jar", "-o", "out.exe", "--set", "96=",
                               "--splash", "s.gif", "--set", "PROP_DOWNLOAD_URL=http://x"},
                              &args, &error))
        << error;
    EXPECT_EQ(args.command, ToolCommand::Configure);
    EXPECT_EQ(args.exe, "in.exe");
    EXPECT_EQ(args.output, "out.exe");
    std::map<int, std::string> props = {{96, ""}, {101, "a=b.jar"}, {106, "http://x"}};
    EXPECT_EQ(args.props, props);
    EXPECT_TRUE(args.setSplash);
    EXPECT_EQ(args.splashFile, "s.gif");
}

TEST(ToolArgsTest, ShowAndTraceTakeTheExeAndTraceKnowsWhereItStands) {
    ToolArgs args;
    std::string error;
    ASSERT_TRUE(ParseToolArgs({"show", "x.exe"}, &args, &error));
    EXPECT_EQ(args.command, ToolCommand::Show);
    EXPECT_EQ(args.exe, "x.exe");

    ASSERT_TRUE(ParseToolArgs({"trace", "x.exe", "--raw", "-p"}, &args, &error));
    EXPECT_EQ(args.command, ToolCommand::Trace);
    EXPECT_FALSE(args.raw);  // after the exe it belongs to the exe
    EXPECT_EQ(args.exeArgument, 2u);

    ASSERT_TRUE(ParseToolArgs({"trace", "--raw", "x.exe"}, &args, &error));
    EXPECT_TRUE(args.raw);
    EXPECT_EQ(args.exe, "x.exe");
    EXPECT_EQ(args.exeArgument, 3u);
}

TEST(ToolArgsTest, RejectsBadArgumentsWithAMessage) {
    const std::vector<std::vector<std::string>> cases = {
        {},
        {"frobnicate"},
        {"configure"},
        {"configure", "in.exe"},
        {"configure", "in.exe", "-o"},
        {"configure", "in.exe", "-o", ""},
        {"configure", "-o", "out.exe"},
        {"configure", "in.exe", "other.exe", "-o", "out.exe"},
        {"configure", "in.exe", "-o", "out.exe", "--set", "PROP_NOPE=1"},
        {"configure", "in.exe", "-o", "out.exe", "--set", "95=1"},
        {"configure", "in.exe", "-o", "out.exe", "--set", std::to_string(kLastPropertyId + 1) + "=1"},
        {"configure", "in.exe", "-o", "out.exe", "--set", "PROP_SPLASH"},
        {"configure", "in.exe", "-o", "out.exe", "--splash"},
        {"configure", "in.exe", "-o", "out.exe", "-x"},
        {"show"},
        {"show", "a.exe", "b.exe"},
        {"trace"},
        {"trace", "--raw"},
        {"configure", "in.exe", "-o", "out.exe", "--config"},
        {"properties", "x"},
        {"--version", "x"},
        {"help", "frobnicate"},
        {"help", "show", "trace"},
    };
    for (const std::vector<std::string>& c : cases) {
        ToolArgs args;
        std::string error;
        EXPECT_FALSE(ParseToolArgs(c, &args, &error)) << ::testing::PrintToString(c);
        EXPECT_FALSE(error.empty()) << ::testing::PrintToString(c);
        EXPECT_EQ(error.find('\n'), std::string::npos) << error;
    }
}

TEST(ToolArgsTest, ForceConfigAndTheHelpFormsAreRecognised) {
    ToolArgs args;
    std::string error;
    ASSERT_TRUE(ParseToolArgs({"configure", "--config", "app.launcher", "in.exe", "-o", "out.exe", "--force"}, &args,
                              &error))
        << error;
    EXPECT_TRUE(args.force);
    EXPECT_EQ(args.configFile, "app.launcher");
    EXPECT_EQ(args.arguments.size(), 7u);
    const struct {
        std::vector<std::string> line;
        ToolCommand command;
        const char* topic;
    } forms[] = {
        {{"--help"}, ToolCommand::Help, ""},      {{"-h"}, ToolCommand::Help, ""},
        {{"help", "show"}, ToolCommand::Help, "show"}, {{"--help", "configure"}, ToolCommand::Help, "configure"},
        {{"runtimes", "--help"}, ToolCommand::Help, "runtimes"}, {{"--version"}, ToolCommand::Version, ""},
        {{"properties"}, ToolCommand::Properties, ""},
    };
    for (const auto& form : forms) {
        ASSERT_TRUE(ParseToolArgs(form.line, &args, &error)) << ::testing::PrintToString(form.line) << error;
        EXPECT_EQ(args.command, form.command) << ::testing::PrintToString(form.line);
        EXPECT_EQ(args.helpTopic, form.topic) << ::testing::PrintToString(form.line);
    }
    EXPECT_EQ(CommandHelp("frobnicate"), "");
    EXPECT_NE(CommandHelp("").find("jarstart-tool properties"), std::string::npos);
}
