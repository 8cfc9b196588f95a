#include "launcher/JvmOptions.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::vector<std::string> Words(const char* text) {
    TextList words;
    SplitCommandLineWords(text, &words);
    std::vector<std::string> result;
    for (int i = 0; i < words.Count(); ++i) result.push_back(words[i]);
    return result;
}

std::vector<std::string> Items(const TextList& list) {
    std::vector<std::string> result;
    for (int i = 0; i < list.Count(); ++i) result.push_back(list[i]);
    return result;
}

// A folder listing for the wildcard tests: lib\ holds two jars, a text file
// and an upper-case jar; empty\ holds nothing jar-like.
void FakeListing(const char* folder, TextList* names) {
    std::string f = folder;
    if (f == "lib\\" || f == "lib/") {
        names->Add("a.jar");
        names->Add("notes.txt");
        names->Add("B.JAR");
        names->Add("c.jar.bak");
    } else if (f == "empty\\") {
        names->Add("readme.txt");
    } else if (f.empty()) {
        names->Add("here.jar");
    }
}

}  // namespace

TEST(JvmOptionsTest, VmOptionsAreSplitByTheWindowsCommandLineRulesNotOnBlanks) {
    const struct {
        const char* text;
        std::vector<std::string> words;
    } cases[] = {
        {"", {}},
        {"   \t ", {}},
        {"-Xmx256m  -Dx=1", {"-Xmx256m", "-Dx=1"}},
        {"\"-Dname=My App\" -Xss1m", {"-Dname=My App", "-Xss1m"}},
        {"-Dtitle=\"a b\"c", {"-Dtitle=a bc"}},
        {"-Dquote=\\\"x\\\"", {"-Dquote=\"x\""}},
        {"-Dpath=C:\\dir\\ next", {"-Dpath=C:\\dir\\", "next"}},
        {"\"-Dpath=C:\\dir\\\\\" x", {"-Dpath=C:\\dir\\", "x"}},
        {"a\\\\\\\"b", {"a\\\"b"}},
        {"\"a\"\"b\" c", {"a\"b", "c"}},
        {"\"\" x", {"", "x"}},
        {"-Dcom.apple.mrj.application.apple.menu.about.name=\"Quillmark\"",
         {"-Dcom.apple.mrj.application.apple.menu.about.name=Quillmark"}},
    };
    for (const auto& c : cases) EXPECT_EQ(Words(c.text), c.words) << c.text;
}

TEST(JvmOptionsTest, WideArgumentsAfterTheProgramNameKeepEveryCharacter) {
    WideTextList words;
    SplitArgumentsAfterProgramName(L"\"C:\\Program Files\\App\\app.exe\" \u00e9t\u00e9 \"\u65e5\u672c \u8a9e\" \U0001F600",
                                   &words);
    ASSERT_EQ(words.Count(), 3);
    EXPECT_EQ(std::wstring(words[0]), L"\u00e9t\u00e9");
    EXPECT_EQ(std::wstring(words[1]), L"\u65e5\u672c \u8a9e");
    EXPECT_EQ(std::wstring(words[2]), L"\U0001F600");
    WideTextList none;
    SplitArgumentsAfterProgramName(L"app.exe", &none);
    EXPECT_EQ(none.Count(), 0);
}

TEST(JvmOptionsTest, MainsArgumentsAreTheCommandLinesLastWordsAfterTheLaunchersSwitches) {
    const struct {
        const char* passThrough;
        const wchar_t* commandLine;
        std::vector<std::wstring> arguments;
    } cases[] = {
        {"", L"MyApp.exe", {}},
        {"", L"MyApp.exe -d", {}},
        {"\"a b\" c", L"\"C:\\My Apps\\MyApp.exe\" -d -p \"a b\" c", {L"a b", L"c"}},
        // The ANSI text lost the characters; the UTF-16 line has them.
        {"?t? ??", L"MyApp.exe \u00e9t\u00e9 \u65e5\u672c", {L"\u00e9t\u00e9", L"\u65e5\u672c"}},
        {"x y z", L"MyApp.exe y", {L"y"}},
    };
    for (const auto& c : cases) {
        WideTextList arguments;
        TakePassThroughArguments(c.passThrough, c.commandLine, &arguments);
        std::vector<std::wstring> taken;
        for (int i = 0; i < arguments.Count(); ++i) taken.push_back(arguments[i]);
        EXPECT_EQ(taken, c.arguments) << c.passThrough;
    }
}

TEST(JvmOptionsTest, JdkJavaOptionsAreWordsWithQuotedPartsKeptWhole) {
    TextList words;
    SplitJdkJavaOptions("  -Xmx1g\t'-Dname=a b' \"-Dx=c d\"e\n-ea ", &words);
    EXPECT_EQ(Items(words), (std::vector<std::string>{"-Xmx1g", "-Dname=a b", "-Dx=c de", "-ea"}));
}

TEST(JvmOptionsTest, OnlyTheJavaProgramsOwnOptionsAreRecognisedAsSuch) {
    const struct {
        const char* option;
        bool javaOnly, takesValue;
    } cases[] = {
        {"-jar", true, true},          {"-cp", true, true},          {"-classpath", true, true},
        {"--class-path", true, true},  {"--class-path=x", true, false}, {"-m", true, true},
        {"--module", true, true},      {"-splash:s.png", true, false}, {"@argfile", true, false},
        {"-client", true, false},      {"-server", true, false},     {"-version", true, false},
        {"-Xmx256m", false, false},    {"-Xss2m", false, false},     {"-Dx=-jar", false, false},
        {"-ea", false, false},         {"-XX:+UseG1GC", false, false}, {"--add-opens", false, false},
        {"-javaagent:a.jar", false, false}, {"-splash", false, false},
    };
    for (const auto& c : cases) {
        bool takesValue = !c.takesValue;
        EXPECT_EQ(IsJavaProgramOnlyOption(c.option, &takesValue), c.javaOnly) << c.option;
        EXPECT_EQ(takesValue, c.takesValue) << c.option;
    }
}

TEST(JvmOptionsTest, ClassPathWildcardsBecomeTheFoldersJarsAndOtherEntriesStay) {
    const struct {
        const char *classPath, *expanded;
    } cases[] = {
        {"", ""},
        {"classes", "classes"},
        {"lib\\*", "lib\\a.jar;lib\\B.JAR"},
        {"lib/*", "lib/a.jar;lib/B.JAR"},
        {"classes;lib\\*;x.jar", "classes;lib\\a.jar;lib\\B.JAR;x.jar"},
        {"empty\\*;x.jar", "x.jar"},
        {"*", "here.jar"},
        {"lib\\*.jar", "lib\\*.jar"},
        {"a;;b", "a;;b"},
    };
    for (const auto& c : cases)
        EXPECT_STREQ(ExpandClassPathWildcards(c.classPath, FakeListing), c.expanded) << c.classPath;
}

TEST(JvmOptionsTest, StackSizesAreReadFromXssWithTheirUnits) {
    const struct {
        const char* option;
        size_t size;
    } cases[] = {
        {"-Xss1m", 1024 * 1024}, {"-Xss512k", 512 * 1024}, {"-Xss512K", 512 * 1024}, {"-Xss65536", 65536},
        {"-Xss1g", 1024u * 1024 * 1024}, {"-Xss", 0}, {"-Xssm", 0}, {"-Xss1x", 0}, {"-Xmx1m", 0}, {"-Xss1mb", 0},
    };
    for (const auto& c : cases) EXPECT_EQ(ParseThreadStackSize(c.option), c.size) << c.option;
}

TEST(JvmOptionsTest, EachStartModeGivesItsHelperModeClassPathAndCommand) {
    TextList arguments;
    arguments.Add("one");
    arguments.Add("two words");
    const struct {
        StartMode mode;
        const char *jar, *mainClass, *classPath, *mainModule, *modulePath;
        int helperMode;
        const char* what;
        std::vector<std::string> options;
    } cases[] = {
        {START_JAR, "app.jar", "", "", "", "", 2, "app.jar",
         {"-Djava.class.path=app.jar", "-Dsun.java.command=app.jar one two words",
          "-Dsun.java.launcher=SUN_STANDARD"}},
        {START_MAIN_CLASS, "", "com.example.Main", "classes;lib\\*", "", "", 1, "com.example.Main",
         {"-Djava.class.path=classes;lib\\a.jar;lib\\B.JAR", "-Dsun.java.command=com.example.Main one two words",
          "-Dsun.java.launcher=SUN_STANDARD"}},
        {START_MAIN_CLASS, "", "Main", "", "", "", 1, "Main",
         {"-Djava.class.path=.", "-Dsun.java.command=Main one two words", "-Dsun.java.launcher=SUN_STANDARD"}},
        {START_MAIN_MODULE, "", "", "", "com.example.app/com.example.app.Main", "mods;lib", 3,
         "com.example.app/com.example.app.Main",
         {"--module-path=mods;lib", "-Djdk.module.main=com.example.app",
          "-Djdk.module.main.class=com.example.app.Main",
          "-Dsun.java.command=com.example.app/com.example.app.Main one two words",
          "-Dsun.java.launcher=SUN_STANDARD"}},
        {START_MAIN_MODULE, "", "", "", "app", "", 3, "app",
         {"-Djdk.module.main=app", "-Dsun.java.command=app one two words", "-Dsun.java.launcher=SUN_STANDARD"}},
    };
    for (const auto& c : cases) {
        StartTarget target;
        target.mode = c.mode;
        target.jar = c.jar;
        target.mainClass = c.mainClass;
        target.classPath = c.classPath;
        target.mainModule = c.mainModule;
        target.modulePath = c.modulePath;
        JvmOptionInputs inputs;
        inputs.target = &target;
        inputs.arguments = &arguments;
        inputs.listFiles = FakeListing;
        JvmStartPlan plan;
        ComposeJvmOptions(inputs, &plan);
        EXPECT_EQ(plan.mode, c.helperMode) << c.what;
        EXPECT_STREQ(plan.what, c.what);
        EXPECT_EQ(Items(plan.options), c.options) << c.what;
        EXPECT_EQ(plan.dropped.Count(), 0);
        EXPECT_EQ(plan.stackSize, 0u);
    }
}

TEST(JvmOptionsTest, TheJavaProgramsOptionsAreDroppedWithTheirValuesAndTheRestKeepsItsOrder) {
    StartTarget target;
    target.mode = START_JAR;
    target.jar = "app.jar";
    JvmOptionInputs inputs;
    inputs.target = &target;
    inputs.jdkJavaOptions = "-Dfrom=env '-Dq=a b'";
    inputs.vmParameters =
        "-Xmx256m -cp lib\\x.jar \"-Dname=My App\" -server -splash:s.png @opts.txt -Xss2m --add-opens "
        "java.base/java.lang=ALL-UNNAMED -p mods -jar other.jar -Xss4m ";
    inputs.bootClassPath = "C:\\jdk\\lib\\tools.jar";
    inputs.listFiles = FakeListing;
    JvmStartPlan plan;
    ComposeJvmOptions(inputs, &plan);
    EXPECT_EQ(Items(plan.dropped),
              (std::vector<std::string>{"-cp lib\\x.jar", "-server", "-splash:s.png", "@opts.txt", "-jar other.jar"}));
    EXPECT_EQ(Items(plan.options),
              (std::vector<std::string>{"-Dfrom=env", "-Dq=a b", "-Xmx256m", "-Dname=My App", "-Xss2m",
                                        "--add-opens=java.base/java.lang=ALL-UNNAMED", "--module-path=mods",
                                        "-Xss4m", "-Xbootclasspath/p:C:\\jdk\\lib\\tools.jar",
                                        "-Djava.class.path=app.jar", "-Dsun.java.command=app.jar",
                                        "-Dsun.java.launcher=SUN_STANDARD"}));
    // The last -Xss is the one the VM takes.
    EXPECT_EQ(plan.stackSize, 4u * 1024 * 1024);
}
