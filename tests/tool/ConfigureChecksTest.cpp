// What configure refuses and warns about before it writes: the rules on
// their own, and the real tool on each bad setting (exit code, the one line
// it prints, and what it leaves in the folder).
#include "tools/jarstart-tool/ConfigureChecks.h"

#include <windows.h>

#include <algorithm>

#include <gtest/gtest.h>

#include "tests/support/Paths.h"
#include "tests/support/SplashBmp.h"
#include "tests/tool/RunTool.h"
#include "tests/tool/ToolTestFiles.h"
#include "tools/jarstart-tool/FileBytes.h"
#include "tools/jarstart-tool/PropertyNames.h"

namespace {
// The tool writes its text through the C runtime in text mode: line ends
// reach a pipe as CR LF on Windows.
std::string LineFeeds(std::string text) {
    for (size_t at; (at = text.find("\r\n")) != std::string::npos;) text.erase(at, 1);
    return text;
}
}  // namespace

TEST(ConfigureChecksTest, JavaVersionsAreDigitRunsWithAnOptionalLabel) {
    for (const char* good : {"11", "1.8", "17.0.2", "1.8.0_202", "17-ea", "21+35", "9.0.4.1"})
        EXPECT_TRUE(IsJavaVersion(good)) << good;
    for (const char* bad : {"", "eleven", "v1.6", "11 ", " 11", "1..8", "1.", ".8", "17-", "1.8 beta", "11abc"})
        EXPECT_FALSE(IsJavaVersion(bad)) << bad;
}

TEST(ConfigureChecksTest, WholeNumbersHaveAtMostNineDigitsAndAnOptionalMinus) {
    for (const char* good : {"0", "5", "-1", "123456789"}) EXPECT_TRUE(IsWholeNumber(good)) << good;
    for (const char* bad : {"", "-", "ten", "5s", " 5", "+5", "1234567890", "1.5"})
        EXPECT_FALSE(IsWholeNumber(bad)) << bad;
}

TEST(ConfigureChecksTest, SplashFormatsAreJudgedByTheirFirstBytesAndShowTheirSize) {
    EXPECT_EQ(DescribeSplashImage(MakeSplashBmp(40, 20)), "BMP, 40x20");
    EXPECT_EQ(DescribeSplashImage(std::string("GIF89a\x90\x01\x2c\x01", 10)), "GIF, 400x300");
    // SOI, an APP0 segment of 4 bytes, then SOF0 with height 2 and width 3.
    EXPECT_EQ(DescribeSplashImage(std::string("\xFF\xD8\xFF\xE0\x00\x04xx\xFF\xC0\x00\x0B\x08\x00\x02\x00\x03", 17)),
              "JPEG, 3x2");
    EXPECT_EQ(SplashImageFormat("\x89PNG\r\n\x1A\nrest"), "PNG");
    EXPECT_EQ(DescribeSplashImage("\x89PNG\r\n\x1A\nrest"), "PNG (the launcher cannot show it)");
    EXPECT_EQ(SplashImageFormat("PK\x03\x04 a jar"), "");
}

TEST(ConfigureChecksTest, AnUnknownNameSuggestsTheNearestKnownOne) {
    EXPECT_EQ(NearestPropertyName("PROP_MINVERSION"), "PROP_MIN_VERSION");
    EXPECT_EQ(NearestPropertyName("prop_splash"), "PROP_SPLASH");
    EXPECT_EQ(NearestPropertyName("START_JAR"), "PROP_START_JAR");
    EXPECT_EQ(NearestPropertyName("PROP_JREPATH"), "PROP_JRE_PATH");
    EXPECT_EQ(NearestPropertyName("PROP_NOPE"), "");
    EXPECT_EQ(NearestPropertyName("frobnicate"), "");
}

TEST(ConfigureChecksTest, OnlyAStartJarNamesSomethingToStart) {
    EXPECT_FALSE(NamesSomethingToStart({}));
    EXPECT_FALSE(NamesSomethingToStart({{PROP_START_JAR, ""}, {PROP_VM_PARAMS, "-Xmx1g"}}));
    EXPECT_TRUE(NamesSomethingToStart({{PROP_START_JAR, "app.jar"}}));
}

namespace {
struct CheckCase {
    const char* what;
    const char* options;   // after "configure launcher.exe -o out.exe", run in the folder
    unsigned exitCode;
    const char* err;       // the whole of standard error
};
}  // namespace

TEST(ConfigureChecksTest, EachBadSettingIsRefusedOrWarnedAboutInOneLineAndOnlyASoundOneIsWritten) {
    std::string folder = MakeTempFolder("tool-checks");
    CopyLauncher(folder, "launcher.exe");
    DWORD error = 0;
    ASSERT_TRUE(WriteFileBytes(folder + "splash.bmp", MakeSplashBmp(40, 20), &error));
    ASSERT_TRUE(WriteFileBytes(folder + "splash.png", "\x89PNG\r\n\x1A\n0000000000000000", &error));
    ASSERT_TRUE(WriteFileBytes(folder + "app.jar", "PK\x03\x04 not an image", &error));
    CreateDirectoryA((folder + "jre").c_str(), nullptr);
    CreateDirectoryA((folder + "jre\\bin").c_str(), nullptr);
    ASSERT_TRUE(WriteFileBytes(folder + "jre\\bin\\javaw.exe", "MZ", &error));
    const CheckCase cases[] = {
        {"splash on without an image", "--set PROP_START_JAR=app.jar --set PROP_SPLASH=yes", 2,
         "jarstart-tool: PROP_SPLASH is on but the launcher has no splash image: add --splash FILE (BMP, GIF or "
         "JPEG) or leave PROP_SPLASH empty\n"},
        {"a jar as the splash", "--set PROP_START_JAR=app.jar --set PROP_SPLASH=yes --splash app.jar", 2,
         "jarstart-tool: app.jar is no BMP, GIF or JPEG image: the splash window cannot show it\n"},
        {"a PNG as the splash", "--set PROP_START_JAR=app.jar --set PROP_SPLASH=yes --splash splash.png", 2,
         "jarstart-tool: splash.png is no BMP, GIF or JPEG image (it is a PNG image): the splash window cannot show "
         "it\n"},
        {"a countdown in words", "--set PROP_START_JAR=app.jar --set PROP_SPLASH_TIMEOUT=ten", 2,
         "jarstart-tool: PROP_SPLASH_TIMEOUT needs a whole number such as 5, got \"ten\"\n"},
        {"a minimum in words", "--set PROP_START_JAR=app.jar --set PROP_MIN_VERSION=eleven", 2,
         "jarstart-tool: PROP_MIN_VERSION needs a Java version such as 11, 1.8 or 17.0.2, got \"eleven\"\n"},
        {"a maximum with a v", "--set PROP_START_JAR=app.jar --set 110=v17", 2,
         "jarstart-tool: PROP_MAX_VERSION needs a Java version such as 11, 1.8 or 17.0.2, got \"v17\"\n"},
        {"a choice that is none", "--set PROP_START_JAR=app.jar --set PROP_RUNTIME_CHOICE=latest", 2,
         "jarstart-tool: PROP_RUNTIME_CHOICE is first or newest, got \"latest\"\n"},
        {"nothing to start", "--set PROP_MIN_VERSION=11", 2,
         "jarstart-tool: the launcher names nothing to start: set PROP_START_JAR to the application's jar, or "
         "PROP_MAIN_CLASS or PROP_MAIN_MODULE\n"},
        {"several at once, one line each", "--set PROP_SPLASH_TIMEOUT=ten --set PROP_MIN_VERSION=eleven", 2,
         "jarstart-tool: PROP_SPLASH_TIMEOUT needs a whole number such as 5, got \"ten\"\n"
         "jarstart-tool: PROP_MIN_VERSION needs a Java version such as 11, 1.8 or 17.0.2, got \"eleven\"\n"
         "jarstart-tool: the launcher names nothing to start: set PROP_START_JAR to the application's jar, or "
         "PROP_MAIN_CLASS or PROP_MAIN_MODULE\n"},
        {"an unknown name", "--set PROP_START_JAR=app.jar --set PROP_MINVERSION=11", 2,
         "jarstart-tool: unknown property \"PROP_MINVERSION\" (a name PROP_... or an id 96..117): did you mean "
         "PROP_MIN_VERSION? jarstart-tool properties lists them all\n"},
        {"a boolean set to false", "--set PROP_START_JAR=app.jar --set PROP_KEEP_ALIVE=false", 0,
         "jarstart-tool: warning: PROP_KEEP_ALIVE=false turns it on: any non-empty value means yes; --set "
         "PROP_KEEP_ALIVE= turns it off\n"},
        {"PROP_SPLASH=off with no image", "--set PROP_START_JAR=app.jar --set PROP_SPLASH=off", 2,
         "jarstart-tool: PROP_SPLASH is on but the launcher has no splash image: add --splash FILE (BMP, GIF or "
         "JPEG) or leave PROP_SPLASH empty\n"},
        {"an image with the splash off", "--set PROP_START_JAR=app.jar --splash splash.bmp", 0,
         "jarstart-tool: warning: the splash image splash.bmp is stored but PROP_SPLASH is off, so it never shows: "
         "--set PROP_SPLASH=yes shows it\n"},
        {"a bundled runtime not beside the output", "--set PROP_START_JAR=app.jar --set PROP_JRE_PATH=rt\\bin\\javaw.exe",
         0,
         "jarstart-tool: warning: PROP_JRE_PATH names rt\\bin\\javaw.exe, which is not beside out.exe: ship the "
         "runtime there, or the launcher looks for another\n"},
        {"a bundled runtime beside the output", "--set PROP_START_JAR=app.jar --set PROP_JRE_PATH=jre\\bin\\javaw.exe",
         0, ""},
        {"refusals written anyway with --force", "--force --set PROP_SPLASH=yes --set PROP_RUNTIME_CHOICE=latest", 0,
         "jarstart-tool: warning: PROP_SPLASH is on but the launcher has no splash image: add --splash FILE (BMP, GIF "
         "or JPEG) or leave PROP_SPLASH empty (written: --force)\n"
         "jarstart-tool: warning: PROP_RUNTIME_CHOICE is first or newest, got \"latest\" (written: --force)\n"
         "jarstart-tool: warning: the launcher names nothing to start: set PROP_START_JAR to the application's jar, or "
         "PROP_MAIN_CLASS or PROP_MAIN_MODULE (written: --force)\n"},
        {"a sound configuration", "--set PROP_START_JAR=app.jar --set PROP_SPLASH=yes --splash splash.bmp "
                                  "--set PROP_SPLASH_TIMEOUT=-1 --set PROP_MIN_VERSION=1.8.0_202 --set "
                                  "PROP_RUNTIME_CHOICE=Newest --set PROP_KEEP_ALIVE=yes",
         0, ""},
    };
    std::vector<std::string> before = FolderEntries(folder);
    for (const CheckCase& c : cases) {
        SCOPED_TRACE(c.what);
        DeleteFileA((folder + "out.exe").c_str());
        ToolRun run = RunTool(std::string("configure launcher.exe -o out.exe ") + c.options, folder);
        ASSERT_TRUE(run.started);
        EXPECT_EQ(run.exitCode, c.exitCode);
        EXPECT_EQ(LineFeeds(run.err), c.err);
        EXPECT_EQ(run.out, "");
        std::vector<std::string> after = FolderEntries(folder);
        if (c.exitCode == 0) {
            std::vector<std::string> written = before;
            written.push_back("out.exe");
            std::sort(written.begin(), written.end());
            EXPECT_EQ(after, written);
        } else {
            EXPECT_EQ(after, before) << "nothing written";
        }
    }
}

TEST(ConfigureChecksTest, KeptPropertiesAreCheckedToo) {
    std::string folder = MakeTempFolder("tool-checks-keep");
    CopyLauncher(folder, "launcher.exe");
    ASSERT_EQ(RunTool("configure launcher.exe -o app.exe --set PROP_START_JAR=app.jar", folder).exitCode, 0u);
    // The start jar kept from the input is enough; turning the splash on
    // in a copy that has no image is not.
    ToolRun kept = RunTool("configure app.exe -o app.exe --keep --set PROP_MIN_VERSION=17", folder);
    EXPECT_EQ(kept.exitCode, 0u) << kept.err;
    ToolRun splash = RunTool("configure app.exe -o app.exe --keep --set PROP_SPLASH=1", folder);
    EXPECT_EQ(splash.exitCode, 2u);
    EXPECT_NE(splash.err.find("PROP_SPLASH is on but the launcher has no splash image"), std::string::npos) << splash.err;
    ToolRun cleared = RunTool("configure app.exe -o app.exe --keep --set PROP_START_JAR=", folder);
    EXPECT_EQ(cleared.exitCode, 2u);
    EXPECT_NE(cleared.err.find("names nothing to start"), std::string::npos) << cleared.err;
}

TEST(ConfigureChecksTest, PropertiesListsEveryPropertyWithItsTypeAndMeaning) {
    ToolRun run = RunTool("properties");
    ASSERT_EQ(run.exitCode, 0u) << run.err;
    std::vector<std::string> lines = Lines(run.out);
    ASSERT_EQ(lines.size(), sizeof(kLauncherProperties) / sizeof(kLauncherProperties[0]));
    EXPECT_EQ(lines[0].compare(0, 16, "96   PROP_SPLASH"), 0) << lines[0];
    EXPECT_NE(lines[8].find("PROP_MIN_VERSION         version       minimum Java version"), std::string::npos)
        << lines[8];
    EXPECT_NE(run.out.find("PROP_RUNTIME_CHOICE      first|newest"), std::string::npos) << run.out;
}

TEST(ConfigureChecksTest, HelpAndVersionPrintToStandardOutputAndExitWith0) {
    ToolRun help = RunTool("--help");
    EXPECT_EQ(help.exitCode, 0u);
    EXPECT_EQ(LineFeeds(help.out).compare(0, 7, "usage:\n"), 0) << help.out;
    EXPECT_NE(help.out.find("jarstart-tool properties"), std::string::npos);
    ToolRun configure = RunTool("configure --help");
    EXPECT_EQ(configure.exitCode, 0u);
    EXPECT_NE(configure.out.find("--config FILE"), std::string::npos) << configure.out;
    EXPECT_EQ(configure.out.find("jarstart-tool show"), std::string::npos) << configure.out;
    ToolRun version = RunTool("--version");
    EXPECT_EQ(version.exitCode, 0u);
    EXPECT_EQ(version.out.compare(0, 14, "jarstart-tool "), 0) << version.out;
    EXPECT_EQ(version.err, "");
}
