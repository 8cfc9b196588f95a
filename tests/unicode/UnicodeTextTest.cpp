// Text outside the Western code page, end to end: this program carries the
// launcher's manifest, so its own ANSI strings are UTF-8 like the
// launcher's, and the stand-in runtime's record keeps the wide command line.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "base/LauncherProperties.h"
#include "framework/ScopedWin.h"
#include "base/CodePages.h"
#include "launcher/LauncherOptions.h"
#include "tests/support/FakeJvm.h"
#include "tests/support/FakeRuntime.h"
#include "tests/support/Launcher.h"
#include "tests/support/Paths.h"
#include "tests/support/Registry.h"
#include "tools/jarstart-tool/Configure.h"

namespace {
const char kOmega[] = "\xce\xa9\xce\xbc\xce\xad\xce\xb3\xce\xb1";  // Ωμέγα in UTF-8
const char kJapan[] = "\xe6\x97\xa5\xe6\x9c\xac";                  // 日本

std::string ManifestOf(const std::string& exe) {
    ScopedModule module(LoadLibraryExA(exe.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE));
    if (!module) return std::string();
    HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(24));  // RT_MANIFEST
    if (!found) return std::string();
    const char* bytes = static_cast<const char*>(LockResource(LoadResource(module, found)));
    return bytes ? std::string(bytes, SizeofResource(module, found)) : std::string();
}

bool HasEntry(const std::vector<std::string>& log, const std::string& entry) {
    return std::find(log.begin(), log.end(), entry) != log.end();
}
}  // namespace

TEST(UnicodeTextTest, TheLauncherCarriesAManifestForUtf8DpiAwarenessCommonControlsAndTheSupportedSystems) {
    // Read back from the built launcher and from a configured copy, which
    // must keep it.
    std::string copy = MakeTempFolder("unicode-manifest") + "app.exe";
    ConfigureRequest request;
    request.input = BuildDir() + "jarstart.exe";
    request.output = copy;
    request.props[101] = "app.jar";
    std::string error;
    ASSERT_TRUE(ConfigureLauncher(request, &error)) << error;
    for (const std::string& exe : {BuildDir() + "jarstart.exe", copy}) {
        SCOPED_TRACE(exe);
        std::string manifest = ManifestOf(exe);
        ASSERT_FALSE(manifest.empty()) << "no manifest resource 1";
        const char* pieces[] = {
            ">UTF-8</activeCodePage>",
            "<dpiAware xmlns=\"http://schemas.microsoft.com/SMI/2005/WindowsSettings\">true/pm</dpiAware>",
            ">PerMonitorV2, PerMonitor</dpiAwareness>",
            "name=\"Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\"",
            "<requestedExecutionLevel level=\"asInvoker\" uiAccess=\"false\"/>",
            "{e2011457-1546-43c5-a5fe-008deee3d3f0}",  // Vista
            "{35138b9a-5d96-4fbd-8e2d-a2440225f93a}",  // 7
            "{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}",  // 8
            "{1f676c76-80e1-4239-95bb-83d0f6d0da78}",  // 8.1
            "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}",  // 10 and 11
        };
        for (const char* piece : pieces) EXPECT_NE(manifest.find(piece), std::string::npos) << piece;
    }
}

TEST(UnicodeTextTest, TheManifestsCodePageIsHonouredHereAsOnWindows10From1903) {
    // Wine honours activeCodePage: the ANSI and OEM code pages of a program
    // carrying the manifest both become UTF-8, as on Windows 10 1903+.
    EXPECT_EQ(GetACP(), static_cast<UINT>(CP_UTF8));
    EXPECT_EQ(GetOEMCP(), static_cast<UINT>(CP_UTF8));
    // And a file name of any script round-trips through the A functions.
    std::string folder = MakeTempFolder(std::string("unicode-") + kOmega);
    std::string file = folder + kJapan + ".txt";
    ScopedHandle handle(CreateFileA(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    ASSERT_NE(static_cast<HANDLE>(handle), INVALID_HANDLE_VALUE);
    // The same file, named through the wide functions.
    wchar_t wide[MAX_PATH] = {};
    ASSERT_GT(MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, file.c_str(), -1, wide, MAX_PATH), 0);
    EXPECT_NE(std::wstring(wide).find(L"\x03a9\x03bc\x03ad\x03b3\x03b1\\\x65e5\x672c.txt"), std::wstring::npos);
    EXPECT_NE(GetFileAttributesW(wide), INVALID_FILE_ATTRIBUTES);
}

TEST(UnicodeTextTest, AFolderAJarAVmOptionAndArgumentsOutsideCodePage1252ReachTheRuntimeIntact) {
    JavaSoftRegistryGuard registry;
    std::string root = MakeTempFolder("unicode-launch");
    std::string appFolder = root + kOmega + " " + kJapan + "\\";
    ASSERT_TRUE(CreateDirectoryA(appFolder.c_str(), nullptr));
    // The runtime sits in an ASCII folder: the stand-in itself is no
    // Unicode program and names its record after its own path.
    MakeFakeRuntime(root + "rt");
    std::string jar = std::string(kJapan) + ".jar";
    std::string vmOption = std::string("-Dtitle=") + kOmega;
    std::string exe = PrepareLauncher(appFolder, {{101, jar}, {100, vmOption}, {99, "..\\rt\\bin\\javaw.exe"}});
    ASSERT_FALSE(exe.empty());
    std::string arguments = std::string(kOmega) + " " + kJapan + "-\xc3\xa9";  // and an é, in UTF-8
    LaunchResult result = RunLauncher(exe, "-p " + arguments);

    std::string folder = appFolder.substr(0, appFolder.size() - 1);
    std::string javaPath = folder + "\\..\\rt\\bin\\javaw.exe";
    // The pass switch keeps the blank before the text it passes on.
    std::string argumentLine = vmOption + " -jar " + jar + "  " + arguments;
    EXPECT_TRUE(HasEntry(result.log, "Path to exe file of launcher: " + folder)) << JoinLog(result.log);
    EXPECT_TRUE(HasEntry(result.log, "PROP_START_JAR: " + jar)) << JoinLog(result.log);
    EXPECT_TRUE(HasEntry(result.log, "Jre path: " + javaPath)) << JoinLog(result.log);
    EXPECT_TRUE(HasEntry(result.log, "Full argument line: " + argumentLine)) << JoinLog(result.log);
    EXPECT_EQ(result.exitCode, 0u) << JoinLog(result.log);

    RecordedRun run = WaitForRecordedRun(root + "rt");
    ASSERT_TRUE(run.found);
    EXPECT_EQ(run.commandLineUtf8, "\"" + javaPath + "\" " + argumentLine);
}

// In-process (property 116) each argument becomes a Java string made from
// the wide command line: characters outside every code page, and outside
// the 16-bit plane, arrive as typed.
TEST(UnicodeTextTest, InProcessEveryArgumentReachesMainIntactAsAJavaString) {
    JavaSoftRegistryGuard registry;
    std::string root = MakeTempFolder(std::string("unicode-inprocess-") + kOmega);
    StandInBehaviour java17;
    java17.versionText = "openjdk version \"17.0.2\" 2022-01-18\n";
    MakeFakeRuntime(root + "rt", java17);
    UseJvmDllOf(static_cast<int>(sizeof(void*) * 8), root + "rt");
    std::string exe = PrepareLauncher(root, {{101, "app.jar"}, {99, "rt\\bin\\javaw.exe"}, {116, "1"}});
    ASSERT_FALSE(exe.empty());
    const std::string emoji = "\xF0\x9F\x98\x80";
    LaunchResult result = RunLauncher(exe, std::string("-p ") + kOmega + " \"" + kJapan + " -\xc3\xa9\" " + emoji);
    EXPECT_EQ(result.exitCode, 0u) << JoinLog(result.log);
    RecordedVm record = ReadRecordedVm(root + "rt");
    EXPECT_EQ(record.All("arg"), (std::vector<std::string>{kOmega, std::string(kJapan) + " -\xc3\xa9", emoji}));
    EXPECT_EQ(record.Value("processId"), std::to_string(result.processId));
}

TEST(UnicodeTextTest, WithPassAllArgumentsTheWholeLineReachesTheApplicationAsTypedAndWithoutItTheUsageBoxShows) {
    JavaSoftRegistryGuard registry;
    std::string root = MakeTempFolder("unicode-pass-all");
    MakeFakeRuntime(root + "rt");
    // What Explorer, a drop on the exe or a user would type: blanks, quotes
    // inside quotes, a trailing backslash, other scripts, and words that
    // look like the launcher's own switches.
    const std::string line = std::string("\"C:\\Users\\Ann\\My file.txt\" \"say \\\"hi\\\"\" C:\\Temp\\ ") +
                             "\"D:\\" + kOmega + " docs\\\\\" " + kJapan + ".txt -d /c -Xhelp";
    for (bool passAll : {true, false}) {
        SCOPED_TRACE(passAll ? "PROP_PASS_ALL_ARGUMENTS on" : "off");
        std::map<int, std::string> props = {{101, "app.jar"}, {99, "rt\\bin\\javaw.exe"}};
        if (passAll) props[107] = "1";
        std::string exe = PrepareLauncher(root, props);
        DeleteFileA((root + "rt\\bin\\javaw.exe.record").c_str());
        LaunchResult result = RunLauncher(exe, line);
        EXPECT_EQ(result.exitCode, 0u) << JoinLog(result.log);
        if (!passAll) {
            ASSERT_EQ(result.dialogs.size(), 1u) << JoinLog(result.log);
            EXPECT_EQ(result.dialogs[0].text, kUsageText);
            continue;
        }
        EXPECT_TRUE(result.dialogs.empty()) << JoinLog(result.log);
        EXPECT_TRUE(HasEntry(result.log, "Application is run with parameters: " + line)) << JoinLog(result.log);
        RecordedRun run = WaitForRecordedRun(root + "rt");
        ASSERT_TRUE(run.found);
        EXPECT_EQ(run.commandLineUtf8, "\"" + root + "rt\\bin\\javaw.exe\"  -jar app.jar " + line);
    }
}

TEST(UnicodeTextTest, AChildsConsoleTextIsConvertedFromTheSystemsOemCodePageNotOurUtf8One) {
    // A runtime without the manifest writes in the system's OEM code page
    // (437 here) even when ours is UTF-8.
    EXPECT_TRUE(OwnCodePagesAreUtf8());
    EXPECT_EQ(SystemOemCodePage(), 437u);
    const struct { std::string oem; std::string utf8; } cases[] = {
        {"plain text\r\n", "plain text\r\n"},
        {"second \x84 line\n", "second \xc3\xa4 line\n"},           // ä grows to two bytes
        {"\x82t\x82", "\xc3\xa9t\xc3\xa9"},                          // é
        {"box \xc4\xc4", "box \xe2\x94\x80\xe2\x94\x80"},              // ─ grows to three
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ConvertCodePage(c.oem.data(), static_cast<int>(c.oem.size()), SystemOemCodePage(), CP_ACP), c.utf8);
        EXPECT_EQ(ConvertCodePage(c.utf8.data(), static_cast<int>(c.utf8.size()), CP_ACP, SystemOemCodePage()), c.oem);
    }
}

TEST(UnicodeTextTest, LongPropertiesOfAnyCharactersAreReadWholeUnderTheUtf8CodePage) {
    const struct { unsigned id; int count; std::string character; } cases[] = {
        {3100, 70, "\xf0\x9f\x98\x80"},  // 280 bytes, never within two of a buffer's end
        {3101, 300, "\xc3\xa9"},
    };
    for (const auto& c : cases) {
        std::string expected;
        for (int i = 0; i < c.count; ++i) expected += c.character;
        EXPECT_EQ(std::string(ReadStringProperty(c.id)), expected) << c.id;
    }
}

TEST(UnicodeTextTest, AVmOptionsFileInTheSystemsAnsiCodePageOrInUtf8ReachesTheRuntimeIntact) {
    JavaSoftRegistryGuard registry;
    const struct { const char* name; std::string bytes; } files[] = {
        {"ansi", "-Duser.name=Jos\xE9\r\n"},                 // Notepad's 1252
        {"utf8-bom", "\xEF\xBB\xBF-Duser.name=Jos\xC3\xA9\r\n"},  // Notepad's UTF-8
    };
    for (const auto& f : files) {
        SCOPED_TRACE(f.name);
        std::string root = MakeTempFolder(std::string("unicode-vmoptions-") + f.name);
        MakeFakeRuntime(root + "rt");
        std::string exe = PrepareLauncher(root, {{101, "app.jar"}, {99, "rt\\bin\\javaw.exe"}});
        ASSERT_FALSE(exe.empty());
        FILE* file = std::fopen((exe + ".vmoptions").c_str(), "wb");
        ASSERT_NE(file, nullptr);
        std::fwrite(f.bytes.data(), 1, f.bytes.size(), file);
        std::fclose(file);
        LaunchResult result = RunLauncher(exe, "");
        EXPECT_EQ(result.exitCode, 0u) << JoinLog(result.log);
        RecordedRun run = WaitForRecordedRun(root + "rt");
        ASSERT_TRUE(run.found);
        EXPECT_NE(run.commandLineUtf8.find("\" -Duser.name=Jos\xC3\xA9 "), std::string::npos) << run.commandLineUtf8;
    }
}
