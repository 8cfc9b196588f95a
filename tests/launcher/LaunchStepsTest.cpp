#include "launcher/LaunchSteps.h"

#include <string>

#include <gtest/gtest.h>

namespace {
StartTarget JarTarget(const char* jar) {
    StartTarget target;
    target.jar = jar;
    target.mode = START_JAR;
    return target;
}
}  // namespace

TEST(JoinArgumentLineTest, JoinsThePiecesInTheirOrderWithTheirBlanks) {
    const struct {
        const char* vmParameters;
        const char* bootClassPath;
        const char* startJar;
        const char* arguments;
        const char* expected;
    } cases[] = {
        {"", "", "", "", " -jar  "},
        {"-Xmx256m", "", "main.jar", "one two", "-Xmx256m -jar main.jar one two"},
        {"-Xmx256m ", "", "main.jar", "", "-Xmx256m  -jar main.jar "},
        {"-Da=1", "C:\\jdk\\lib\\a.jar;C:\\jdk\\lib\\b.jar", "app.jar", "-x",
         "-Da=1 -Xbootclasspath/p:C:\\jdk\\lib\\a.jar;C:\\jdk\\lib\\b.jar -jar app.jar -x"},
        // Neither the jar nor the arguments are quoted: they reach Java as stored.
        {"", "", "my app.jar", "\"a b\" c", " -jar my app.jar \"a b\" c"},
    };
    for (const auto& c : cases)
        EXPECT_STREQ(c.expected, JoinArgumentLine(c.vmParameters, c.bootClassPath, JarTarget(c.startJar), c.arguments))
            << c.expected;
}

TEST(JoinArgumentLineTest, AClassOrModuleTakesTheJarsPlaceBetweenTheBootClassPathAndTheArguments) {
    StartTarget mainClass;
    mainClass.mode = START_MAIN_CLASS;
    mainClass.mainClass = "com.example.Main";
    mainClass.classPath = "lib\\*";
    EXPECT_STREQ("-Da=1 -Xbootclasspath/p:b.jar -cp \"lib\\*\" com.example.Main one",
                 JoinArgumentLine("-Da=1", "b.jar", mainClass, "one"));
    StartTarget module;
    module.mode = START_MAIN_MODULE;
    module.mainModule = "app";
    EXPECT_STREQ(" -m app ", JoinArgumentLine("", "", module, ""));
}

TEST(CommandLineAfterProgramNameTest, SkipsTheProgramNameAndTheBlanksAfterItAsTheStartUpCodeDoes) {
    const struct {
        const char* line;
        const char* expected;
    } cases[] = {
        {"Tool.exe", ""},
        {"Tool.exe -p a  b", "-p a  b"},
        {"\"C:\\My Tools\\Tool.exe\" \t -d", "-d"},
        {"C:\\a\"b c\"d\\Tool.exe x", "x"},
        {"", ""},
    };
    for (const auto& c : cases) EXPECT_STREQ(CommandLineAfterProgramName(c.line), c.expected) << c.line;
}

TEST(PublishLauncherPathsTest, NamesTheLauncherAndItsFolderOrRemovesInheritedValuesWhenThePathIsUnknown) {
    char value[MAX_PATH];
    PublishLauncherPaths("C:\\Apps\\Quill\\Quill.exe", 13);
    ASSERT_GT(GetEnvironmentVariableA("JARSTART_EXE", value, MAX_PATH), 0u);
    EXPECT_STREQ(value, "C:\\Apps\\Quill\\Quill.exe");
    ASSERT_GT(GetEnvironmentVariableA("JARSTART_EXEDIR", value, MAX_PATH), 0u);
    EXPECT_STREQ(value, "C:\\Apps\\Quill");
    // As from a parent launcher: they name another program's files.
    PublishLauncherPaths("", -1);
    EXPECT_EQ(GetEnvironmentVariableA("JARSTART_EXE", value, MAX_PATH), 0u);
    EXPECT_EQ(GetEnvironmentVariableA("JARSTART_EXEDIR", value, MAX_PATH), 0u);
}
