// The configuration file configure reads with --config: the rules on their
// own, and the round trip through the real tool (file, configure, show).
#include "tools/jarstart-tool/ConfigFile.h"

#include <windows.h>

#include <gtest/gtest.h>

#include "tests/support/Paths.h"
#include "tests/support/SplashBmp.h"
#include "tests/tool/RunTool.h"
#include "tests/tool/ToolTestFiles.h"
#include "tools/jarstart-tool/FileBytes.h"

namespace {
// The tool writes its text through the C runtime in text mode: line ends
// reach a pipe as CR LF on Windows.
std::string LineFeeds(std::string text) {
    for (size_t at; (at = text.find("\r\n")) != std::string::npos;) text.erase(at, 1);
    return text;
}
}  // namespace

TEST(ConfigFileTest, EachSettingBecomesTheOptionItStandsForInTheFilesOrder) {
    std::vector<std::string> options;
    std::string error;
    ASSERT_TRUE(ConfigFileOptions("\xEF\xBB\xBF# the application\r\n"
                                  "PROP_START_JAR = app.jar\r\n"
                                  "\r\n"
                                  "   # indented comment\n"
                                  "104=11\n"
                                  "PROP_VM_PARAMS=-Dapp.home=\"%JARSTART_EXEDIR%\" -Xmx1g\n"
                                  "splash=art/splash.bmp\n"
                                  "icon=C:\\art\\app.ico\n"
                                  "version=1.2.3\n"
                                  "product=Quill Mark\n"
                                  "PROP_KEEP_ALIVE=",
                                  "app.launcher", "conf/", &options, &error))
        << error;
    std::vector<std::string> expected = {
        "--set",     "PROP_START_JAR=app.jar",   "--set",  "PROP_MIN_VERSION=11",
        "--set",     "PROP_VM_PARAMS=-Dapp.home=\"%JARSTART_EXEDIR%\" -Xmx1g",
        "--splash",  "conf/art/splash.bmp",      "--icon", "C:\\art\\app.ico",
        "--version", "1.2.3",                    "--product", "Quill Mark",
        "--set",     "PROP_KEEP_ALIVE=",
    };
    EXPECT_EQ(options, expected);
}

TEST(ConfigFileTest, ALineThatIsNoSettingIsNamedWithItsNumber) {
    const struct {
        const char* text;
        const char* error;
    } cases[] = {
        {"PROP_START_JAR=a.jar\nPROP_MINVERSION=11\n",
         "app.launcher line 2: unknown property \"PROP_MINVERSION\" (a name PROP_... or an id 96..117): did you mean "
         "PROP_MIN_VERSION? jarstart-tool properties lists them all"},
        {"# fine\n\njust words\n", "app.launcher line 3: needs NAME=value, got \"just words\""},
        {"splashscreen=x.bmp", "app.launcher line 1: unknown property \"splashscreen\" (a name PROP_... or an id "
                               "96..117): jarstart-tool properties lists them all"},
    };
    for (const auto& c : cases) {
        std::vector<std::string> options;
        std::string error;
        EXPECT_FALSE(ConfigFileOptions(c.text, "app.launcher", "", &options, &error)) << c.text;
        EXPECT_EQ(error, c.error);
    }
}

TEST(ConfigFileTest, AFileRoundTripsThroughConfigureAndShowAndTheCommandLineWins) {
    std::string folder = MakeTempFolder("tool-config-file");
    CopyLauncher(folder, "launcher.exe");
    CreateDirectoryA((folder + "art").c_str(), nullptr);
    CreateDirectoryA((folder + "rt").c_str(), nullptr);
    CreateDirectoryA((folder + "rt\\bin").c_str(), nullptr);
    DWORD error = 0;
    ASSERT_TRUE(WriteFileBytes(folder + "rt\\bin\\javaw.exe", "MZ", &error));
    ASSERT_TRUE(WriteFileBytes(folder + "art\\splash.bmp", MakeSplashBmp(40, 20), &error));
    ASSERT_TRUE(WriteFileBytes(folder + "art\\app.ico", IcoFile({{16, IconImageBytes(16)}, {32, IconImageBytes(32)}}),
                               &error));
    ASSERT_TRUE(WriteFileBytes(folder + "art\\app.launcher",
                               "# Quill Mark's launcher\n"
                               "PROP_START_JAR=quill.jar\n"
                               "PROP_SPLASH=yes\n"
                               "PROP_SPLASH_TIMEOUT=8\n"
                               "PROP_JRE_PATH=rt\\bin\\javaw.exe\n"
                               "PROP_VM_PARAMS=\"-Dapp.home=%JARSTART_EXEDIR%\" -Xmx1g\n"
                               "PROP_WATCH_APP_WINDOW=yes\n"
                               "PROP_MIN_VERSION=11\n"
                               "PROP_MAX_VERSION=21\n"
                               "PROP_RUNTIME_CHOICE=newest\n"
                               "PROP_SINGLE_INSTANCE=quill-mark\n"
                               "splash=splash.bmp\n"
                               "icon=app.ico\n"
                               "version=2.1.0.7\n"
                               "product=Quill Mark\n"
                               "company=Quill & Co.\n"
                               "description=Quill Mark editor\n"
                               "copyright=(c) 2026 Quill \xce\xa9\n",
                               &error));
    // The command line overrides the file: a later minimum.
    ToolRun run = RunTool("configure launcher.exe -o Quill.exe --config art\\app.launcher --set PROP_MIN_VERSION=17",
                          folder);
    ASSERT_EQ(run.exitCode, 0u) << run.err;
    EXPECT_EQ(run.err, "");
    ToolRun shown = RunTool("show Quill.exe", folder);
    ASSERT_EQ(shown.exitCode, 0u) << shown.err;
    std::string machine = sizeof(void*) == 8 ? "x64" : "x86";
    EXPECT_EQ(LineFeeds(shown.out),
              "96 PROP_SPLASH=yes\n"
              "97 PROP_KEEP_ALIVE=\n"
              "98 PROP_SPLASH_TIMEOUT=8\n"
              "99 PROP_JRE_PATH=rt\\bin\\javaw.exe\n"
              "100 PROP_VM_PARAMS=\"-Dapp.home=%JARSTART_EXEDIR%\" -Xmx1g\n"
              "101 PROP_START_JAR=quill.jar\n"
              "102 PROP_WATCH_APP_WINDOW=yes\n"
              "103 PROP_WORK_DIR=\n"
              "104 PROP_MIN_VERSION=17\n"
              "105 PROP_SEARCH_JDK_ONLY=\n"
              "109 PROP_SINGLE_INSTANCE=quill-mark\n"
              "110 PROP_MAX_VERSION=21\n"
              "111 PROP_RUNTIME_CHOICE=newest\n"
              "splash image: present (" + std::to_string(MakeSplashBmp(40, 20).size()) + " bytes)\n"
              "splash format: BMP, 40x20\n"
              "icon: 16x16 32-bit, 32x32 32-bit\n"
              "version: 2.1.0.7\n"
              "version CompanyName: Quill & Co.\n"
              "version FileDescription: Quill Mark editor\n"
              "version FileVersion: 2.1.0.7\n"
              "version LegalCopyright: (c) 2026 Quill \xce\xa9\n"
              "version ProductName: Quill Mark\n"
              "version ProductVersion: 2.1.0.7\n"
              "kind: GUI\n"
              "machine: " + machine + "\n"
              "signature: none\n");

    // The same file again, now with a mistake in it: refused, nothing written.
    ASSERT_TRUE(WriteFileBytes(folder + "art\\bad.launcher", "PROP_START_JAR=quill.jar\nPROP_SPLASH_TIMEOUT=8s\n",
                               &error));
    ToolRun bad = RunTool("configure launcher.exe -o Bad.exe --config art\\bad.launcher", folder);
    EXPECT_EQ(bad.exitCode, 2u);
    EXPECT_EQ(LineFeeds(bad.err), "jarstart-tool: PROP_SPLASH_TIMEOUT needs a whole number such as 5, got \"8s\"\n");
    EXPECT_EQ(GetFileAttributesA((folder + "Bad.exe").c_str()), INVALID_FILE_ATTRIBUTES);
}
