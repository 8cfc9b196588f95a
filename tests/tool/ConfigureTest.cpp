// configure and show, run as the real tool on copies of the real launcher.
#include <windows.h>

#include <gtest/gtest.h>

#include "tests/support/Paths.h"
#include "tests/tool/RunTool.h"
#include "tests/tool/ToolTestFiles.h"
#include "tools/jarstart-tool/FileBytes.h"
#include "tools/jarstart-tool/StringBlock.h"
#include "tools/testing/common/FileUtil.h"

namespace {
struct PropertySetting {
    int id;
    const char* name;  // set by name when given, by id otherwise
    std::string value;
};

std::string SetArguments(const std::vector<PropertySetting>& settings) {
    std::string args;
    for (const PropertySetting& s : settings) {
        std::string key = s.name ? s.name : std::to_string(s.id);
        args += " --set " + QuoteArgument(key + "=" + s.value);
    }
    return args;
}

// --force: these tests store values and bytes as given, sound or not; what
// configure refuses is ConfigureChecksTest's subject.
ToolRun Configure(const std::string& input, const std::string& output, const std::string& more) {
    return RunTool("configure " + QuoteArgument(input) + " -o " + QuoteArgument(output) + " --force" + more);
}

std::string LongValue(size_t length) {
    std::string value;
    for (size_t i = 0; value.size() < length; ++i) value.push_back("abcdefghijklmnopqrstuvwxyz0123456789"[i % 36]);
    return value;
}

// Bytes of every value 0..255, including NULs, so a text conversion would show.
std::string ImageBytes(size_t length, unsigned seed) {
    std::string bytes;
    for (size_t i = 0; i < length; ++i) bytes.push_back(static_cast<char>((i * 131 + seed) & 0xFF));
    return bytes;
}
}  // namespace

TEST(ConfigureTest, ShowReadsBackAllTenPropertiesAsSetByNameOrId) {
    std::string folder = MakeTempFolder("tool-roundtrip");
    std::vector<PropertySetting> settings = {
        {96, "PROP_SPLASH", "yes"},
        {97, nullptr, ""},  // empty: the launcher's example value "alive" goes
        {98, "PROP_SPLASH_TIMEOUT", "5"},
        {99, nullptr, "jre\\bin\\javaw.exe"},
        {100, "PROP_VM_PARAMS", "-Dapp.name=\"Quill mark\" -Xmx64m"},
        {101, nullptr, "lib\\" + LongValue(600) + ".jar"},
        {102, "PROP_WATCH_APP_WINDOW", "caf\xC3\xA9 \xC3\xA9t\xC3\xA9 \xE6\x97\xA5\xE6\x9C\xAC"},  // UTF-8
        {103, nullptr, "work dir\\"},
        {104, "PROP_MIN_VERSION", "1.6"},
        {105, "PROP_SEARCH_JDK_ONLY", "0"},
    };
    std::string out = folder + "app.exe";
    ToolRun run = Configure(BuildDir() + "jarstart.exe", out, SetArguments(settings));
    ASSERT_EQ(run.exitCode, 0u) << run.err;
    for (const std::string& line : Lines(run.err))
        EXPECT_EQ(line.compare(0, 24, "jarstart-tool: warning: "), 0) << line;

    std::string splash;
    std::map<int, std::string> shown = ShowProperties(out, &splash);
    ASSERT_EQ(shown.size(), 10u);
    for (const PropertySetting& s : settings) {
        EXPECT_EQ(shown[s.id], s.value) << "id " << s.id;
        EXPECT_EQ(LoadPropertyLikeLauncher(out, s.id), s.value) << "id " << s.id;
    }
    EXPECT_EQ(splash, "splash image: absent");
}

TEST(ConfigureTest, ShowNamesEachPropertyOnItsLineAndTheLaunchersKindVersionAndMachine) {
    const std::pair<const char*, const char*> launchers[] = {{"jarstart.exe", "kind: GUI"},
                                                             {"jarstart-console.exe", "kind: console"}};
    for (const auto& launcher : launchers) {
        ToolRun run = RunTool("show " + QuoteArgument(BuildDir() + launcher.first));
        ASSERT_EQ(run.exitCode, 0u) << run.err;
        std::vector<std::string> lines = Lines(run.out);
        const char* expected[] = {"96 PROP_SPLASH=", "97 PROP_KEEP_ALIVE=alive", "98 PROP_SPLASH_TIMEOUT=3",
                                  "99 PROP_JRE_PATH=", "100 PROP_VM_PARAMS=", "101 PROP_START_JAR=main.jar",
                                  "102 PROP_WATCH_APP_WINDOW=", "103 PROP_WORK_DIR=", "104 PROP_MIN_VERSION=1.4",
                                  "105 PROP_SEARCH_JDK_ONLY=", "splash image: absent", "icon: none",
                                  // The launchers' own version information: the project's.
                                  "version: ", "version FileDescription: jarstart launcher", "version FileVersion: ",
                                  "version ProductName: jarstart", "version ProductVersion: ", launcher.second,
                                  sizeof(void*) == 8 ? "machine: x64" : "machine: x86", "signature: none",
                                  "example configuration: "};
        ASSERT_EQ(lines.size(), sizeof(expected) / sizeof(expected[0])) << run.out;
        for (size_t i = 0; i < lines.size(); ++i)
            EXPECT_EQ(lines[i].compare(0, strlen(expected[i]), expected[i]), 0) << lines[i];
    }
}

TEST(ConfigureTest, ACopyStartsFromNoPropertiesAndKeepsTheInputsOnlyWhenAsked) {
    // jarstart.exe's example (a keep-alive window, another product's VM
    // parameter) must not ship with an application that set only its jar.
    std::string folder = MakeTempFolder("tool-keep");
    std::string fresh = folder + "app.exe", kept = folder + "kept.exe";
    ASSERT_EQ(Configure(BuildDir() + "jarstart.exe", fresh, " --set PROP_START_JAR=demo.jar").exitCode, 0u);
    std::map<int, std::string> after = ShowProperties(fresh);
    for (const auto& property : after) EXPECT_EQ(property.second, property.first == 101 ? "demo.jar" : "") << property.first;
    EXPECT_EQ(RunTool("show " + QuoteArgument(fresh)).out.find("example configuration"), std::string::npos);

    ASSERT_EQ(Configure(fresh, kept, " --keep --set PROP_MIN_VERSION=11").exitCode, 0u);
    std::map<int, std::string> before = after;
    before[104] = "11";
    EXPECT_EQ(ShowProperties(kept), before);
}

TEST(ConfigureTest, ValuesOfSeveralThousandCharactersAreStoredWhole) {
    std::string folder = MakeTempFolder("tool-long");
    std::string out = folder + "app.exe";
    std::string value = LongValue(3000);
    ASSERT_EQ(Configure(BuildDir() + "jarstart.exe", out, " --set " + QuoteArgument("PROP_VM_PARAMS=" + value)).exitCode,
              0u);
    EXPECT_EQ(ShowProperties(out)[100], value);
    EXPECT_EQ(LoadPropertyLikeLauncher(out, 100), value);
}

TEST(ConfigureTest, ReconfiguringAConfiguredExeLeavesExactlyOnePropertyBlock) {
    std::string folder = MakeTempFolder("tool-reconfigure");
    std::string first = folder + "first.exe", second = folder + "second.exe";
    ASSERT_EQ(Configure(BuildDir() + "jarstart.exe", first, " --set PROP_START_JAR=one.jar").exitCode, 0u);
    ASSERT_EQ(Configure(first, second, " --keep --set PROP_SPLASH=on").exitCode, 0u);
    EXPECT_EQ(ResourceLanguages(second, 6, StringBlockId(96)).size(), 1u);
    std::map<int, std::string> shown = ShowProperties(second);
    EXPECT_EQ(shown[101], "one.jar");
    EXPECT_EQ(shown[96], "on");
}

TEST(ConfigureTest, ACopyOfThePropertyBlockInAnotherLanguageIsRemoved) {
    std::string folder = MakeTempFolder("tool-languages");
    std::string input = CopyLauncher(folder, "input.exe");
    // A block for US English, as a resource compiler writes by default.
    std::vector<std::u16string> strings(16);
    strings[101 - 96] = u"stale.jar";
    std::string block;
    ASSERT_TRUE(EncodeStringBlock(strings, &block));
    ASSERT_TRUE(AddResource(input, MAKEINTRESOURCEA(6), MAKEINTRESOURCEA(7), 1033, block));
    ASSERT_EQ(ResourceLanguages(input, 6, 7).size(), 2u);

    std::string out = folder + "app.exe";
    ASSERT_EQ(Configure(input, out, " --set PROP_START_JAR=fresh.jar").exitCode, 0u);
    std::vector<unsigned> languages = ResourceLanguages(out, 6, 7);
    ASSERT_EQ(languages.size(), 1u);
    EXPECT_EQ(languages[0], 0u);  // LANG_NEUTRAL
    EXPECT_EQ(LoadPropertyLikeLauncher(out, 101), "fresh.jar");
}

TEST(ConfigureTest, OtherResourcesAreCopiedUnchanged) {
    std::string folder = MakeTempFolder("tool-others");
    std::string input = CopyLauncher(folder, "input.exe");
    std::string payload = ImageBytes(777, 3);
    ASSERT_TRUE(AddResource(input, MAKEINTRESOURCEA(10), "EXTRA", 1033, payload));
    std::string out = folder + "app.exe";
    ASSERT_EQ(Configure(input, out, " --set 101=x.jar").exitCode, 0u);
    std::string read;
    ASSERT_TRUE(ReadNamedResource(out, 10, "EXTRA", &read));
    EXPECT_EQ(read, payload);
}

TEST(ConfigureTest, SplashImageIsStoredByteForByteAndReplacedOnReconfigure) {
    std::string folder = MakeTempFolder("tool-splash");
    std::string image = ImageBytes(5000, 7), other = ImageBytes(1234, 99);
    DWORD error = 0;
    ASSERT_TRUE(WriteFileBytes(folder + "splash.gif", image, &error)) << error;
    ASSERT_TRUE(WriteFileBytes(folder + "other.gif", other, &error)) << error;

    std::string first = folder + "first.exe";
    ASSERT_EQ(Configure(BuildDir() + "jarstart.exe", first, " --splash " + QuoteArgument(folder + "splash.gif")).exitCode,
              0u);
    std::string read;
    ASSERT_TRUE(ReadResourceBytes(first, 2, 104, &read));
    EXPECT_EQ(read, image);
    std::string splashLine;
    ShowProperties(first, &splashLine);
    EXPECT_EQ(splashLine, "splash image: present (5000 bytes)");

    // Not named: kept. Named again: replaced, still in one language only.
    std::string second = folder + "second.exe", third = folder + "third.exe";
    ASSERT_EQ(Configure(first, second, " --set PROP_SPLASH=1").exitCode, 0u);
    ASSERT_TRUE(ReadResourceBytes(second, 2, 104, &read));
    EXPECT_EQ(read, image);
    ASSERT_EQ(Configure(second, third, " --splash " + QuoteArgument(folder + "other.gif")).exitCode, 0u);
    ASSERT_TRUE(ReadResourceBytes(third, 2, 104, &read));
    EXPECT_EQ(read, other);
    EXPECT_EQ(ResourceLanguages(third, 2, 104).size(), 1u);
}

TEST(ConfigureTest, AnExeCanBeConfiguredInPlace) {
    std::string folder = MakeTempFolder("tool-inplace");
    std::string exe = CopyLauncher(folder, "app.exe");
    ASSERT_EQ(Configure(exe, exe, " --set PROP_START_JAR=same.jar").exitCode, 0u);
    EXPECT_EQ(ShowProperties(exe)[101], "same.jar");
    EXPECT_EQ(FolderEntries(folder), std::vector<std::string>{"app.exe"});
}

TEST(ConfigureTest, TheDownloadAddressIsShownOnlyWhenSet) {
    std::string folder = MakeTempFolder("tool-download-url");
    std::string out = folder + "app.exe";
    ToolRun run = Configure(BuildDir() + "jarstart.exe", out, " --set PROP_DOWNLOAD_URL=https://downloads.example.org/rt");
    ASSERT_EQ(run.exitCode, 0u) << run.err;
    ToolRun shown = RunTool("show " + QuoteArgument(out));
    EXPECT_NE(shown.out.find("106 PROP_DOWNLOAD_URL=https://downloads.example.org/rt"), std::string::npos)
        << shown.out;
    EXPECT_EQ(LoadPropertyLikeLauncher(out, 106), "https://downloads.example.org/rt");

    ToolRun cleared = Configure(out, out, " --set 106=");
    ASSERT_EQ(cleared.exitCode, 0u) << cleared.err;
    EXPECT_EQ(RunTool("show " + QuoteArgument(out)).out.find("PROP_DOWNLOAD_URL"), std::string::npos);
}

TEST(ConfigureTest, TheClassModuleAndInProcessPropertiesAreShownWhenSetAndTheirBlockGoesWhenNoneIsLeft) {
    std::string folder = MakeTempFolder("tool-start-modes");
    std::string classApp = folder + "class.exe", moduleApp = folder + "module.exe", jarApp = folder + "jar.exe";
    const struct {
        std::string out;
        std::string settings;
        std::vector<std::string> lines;  // after 105 PROP_SEARCH_JDK_ONLY, before the splash line
    } cases[] = {
        {classApp, " --set PROP_MAIN_CLASS=com.example.Main --set " + QuoteArgument("PROP_CLASS_PATH=lib\\*;my libs"),
         {"112 PROP_MAIN_CLASS=com.example.Main", "113 PROP_CLASS_PATH=lib\\*;my libs"}},
        {moduleApp, " --set 114=com.example.app/com.example.app.Main --set PROP_MODULE_PATH=mods",
         {"114 PROP_MAIN_MODULE=com.example.app/com.example.app.Main", "115 PROP_MODULE_PATH=mods"}},
        {folder + "inprocess.exe", " --set PROP_IN_PROCESS=true --set 117=Example.Quillmark",
         {"116 PROP_IN_PROCESS=true", "117 PROP_APP_ID=Example.Quillmark"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.settings);
        ToolRun run = Configure(BuildDir() + "jarstart.exe", c.out, c.settings);
        ASSERT_EQ(run.exitCode, 0u) << run.err;
        std::vector<std::string> lines = Lines(RunTool("show " + QuoteArgument(c.out)).out);
        // The set ones after the first ten, then the splash line.
        ASSERT_GT(lines.size(), 10 + c.lines.size()) << RunTool("show " + QuoteArgument(c.out)).out;
        for (size_t i = 0; i < c.lines.size(); ++i) EXPECT_EQ(lines[10 + i], c.lines[i]);
        EXPECT_EQ(lines[10 + c.lines.size()].compare(0, 13, "splash image:"), 0) << lines[10 + c.lines.size()];
        // The launcher reads them from their own string block, 8.
        EXPECT_EQ(ResourceLanguages(c.out, 6, StringBlockId(112)).size(), 1u);
    }
    EXPECT_EQ(LoadPropertyLikeLauncher(classApp, 113), "lib\\*;my libs");
    EXPECT_EQ(LoadPropertyLikeLauncher(moduleApp, 114), "com.example.app/com.example.app.Main");

    // Back to a jar: with the other two emptied the copy has no block 8,
    // byte for byte what a jar launcher always was.
    ToolRun back = Configure(moduleApp, jarApp, " --keep --set PROP_MAIN_MODULE= --set 115= --set PROP_START_JAR=app.jar");
    ASSERT_EQ(back.exitCode, 0u) << back.err;
    EXPECT_TRUE(ResourceLanguages(jarApp, 6, StringBlockId(112)).empty());
    std::string direct = folder + "direct.exe";
    ASSERT_EQ(Configure(BuildDir() + "jarstart.exe", direct, " --set PROP_START_JAR=app.jar").exitCode, 0u);
    EXPECT_EQ(ReadWholeFile(jarApp), ReadWholeFile(direct));
}

TEST(ConfigureTest, ShowSaysWhetherTheFileIsSignedAndAConfiguredCopyIsNot) {
    std::string folder = MakeTempFolder("tool-signed");
    std::string bytes;
    DWORD error = 0;
    ASSERT_TRUE(ReadFileBytes(BuildDir() + "jarstart.exe", &bytes, &error));
    // A certificate table as a signing tool appends it: 8-byte aligned at the
    // end of the file, named by the security data directory (a file offset
    // and a size), a WIN_CERTIFICATE header and its blob.
    while (bytes.size() % 8) bytes.push_back('\0');
    size_t table = bytes.size();
    std::string certificate = std::string("\x18\0\0\0\0\x02\x02\0", 8) + std::string(16, '\x5a');
    bytes += certificate;
    auto put32 = [&bytes](size_t at, size_t value) {
        for (int i = 0; i < 4; ++i) bytes[at + i] = static_cast<char>((value >> (8 * i)) & 0xFF);
    };
    size_t pe = static_cast<unsigned char>(bytes[0x3C]) | (static_cast<unsigned char>(bytes[0x3D]) << 8);
    size_t optional = pe + 24;
    bool plus = static_cast<unsigned char>(bytes[optional]) == 0x0b && bytes[optional + 1] == 0x02;
    size_t security = optional + (plus ? 112 : 96) + 4 * 8;
    put32(security, table);
    put32(security + 4, certificate.size());
    std::string signedExe = folder + "signed.exe";
    ASSERT_TRUE(WriteFileBytes(signedExe, bytes, &error));

    ToolRun shown = RunTool("show " + QuoteArgument(signedExe));
    EXPECT_NE(shown.out.find("signature: present (24 bytes, not verified here)"), std::string::npos) << shown.out;
    std::string out = folder + "app.exe";
    ToolRun run = Configure(signedExe, out, " --set PROP_START_JAR=app.jar");
    ASSERT_EQ(run.exitCode, 0u) << run.err;
    EXPECT_NE(run.err.find("was signed; the signature no longer matched and was removed"), std::string::npos) << run.err;
    EXPECT_NE(RunTool("show " + QuoteArgument(out)).out.find("signature: none"), std::string::npos);
}
