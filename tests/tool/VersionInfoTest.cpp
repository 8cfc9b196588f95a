// configure --version and its names: the version information read back the
// way a file's properties page reads it, through the system's version API.
#include <windows.h>

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tests/support/Paths.h"
#include "tests/tool/RunTool.h"
#include "tests/tool/ToolTestFiles.h"
#include "tools/jarstart-tool/VersionInfo.h"

namespace {
// The version API, from version.dll as any reader of the file would use it
// (loaded here so that no test program needs another import library).
class VersionApi {
public:
    VersionApi() : m_dll(LoadLibraryA("version.dll")) {
        m_size = reinterpret_cast<SizeFn>(GetProcAddress(m_dll, "GetFileVersionInfoSizeA"));
        m_info = reinterpret_cast<InfoFn>(GetProcAddress(m_dll, "GetFileVersionInfoA"));
        m_query = reinterpret_cast<QueryFn>(GetProcAddress(m_dll, "VerQueryValueA"));
    }
    ~VersionApi() { FreeLibrary(m_dll); }
    bool Ready() const { return m_size && m_info && m_query; }

    // The whole version information of file; empty when it has none.
    std::vector<char> Read(const std::string& file) const {
        DWORD ignored = 0;
        DWORD size = m_size(file.c_str(), &ignored);
        std::vector<char> data(size);
        if (size == 0 || !m_info(file.c_str(), 0, size, data.data())) data.clear();
        return data;
    }
    // The value at path ("\\", "\\StringFileInfo\\040904B0\\ProductName", ...).
    bool Query(const std::vector<char>& data, const char* path, void** value, UINT* length) const {
        return m_query(data.data(), path, value, length) != FALSE;
    }
    std::string Text(const std::vector<char>& data, const std::string& name) const {
        void* value = nullptr;
        UINT length = 0;
        std::string path = "\\StringFileInfo\\040904B0\\" + name;
        if (!Query(data, path.c_str(), &value, &length) || !value) return "<absent>";
        return static_cast<const char*>(value);
    }

private:
    typedef DWORD(WINAPI* SizeFn)(LPCSTR, LPDWORD);
    typedef BOOL(WINAPI* InfoFn)(LPCSTR, DWORD, DWORD, LPVOID);
    typedef BOOL(WINAPI* QueryFn)(LPCVOID, LPCSTR, LPVOID*, PUINT);
    HMODULE m_dll;
    SizeFn m_size = nullptr;
    InfoFn m_info = nullptr;
    QueryFn m_query = nullptr;
};

ToolRun Configure(const std::string& input, const std::string& output, const std::string& more) {
    return RunTool("configure " + QuoteArgument(input) + " -o " + QuoteArgument(output) + " --set PROP_START_JAR=app.jar" +
                   more);
}
}  // namespace

TEST(VersionInfoTest, TheNumbersAndNamesAreReadBackThroughTheVersionApi) {
    VersionApi api;
    ASSERT_TRUE(api.Ready());
    std::string out = MakeTempFolder("tool-version") + "app.exe";
    ToolRun run = Configure(BuildDir() + "jarstart.exe", out,
                            " --version 1.2.3.4 --product \"Quill Mark\" --company \"Quill & Co.\""
                            " --description \"Quill Mark editor\" --copyright \"(c) 2026 Quill\xe9 Ltd\"");
    ASSERT_EQ(run.exitCode, 0u) << run.err;
    std::vector<char> data = api.Read(out);
    ASSERT_FALSE(data.empty()) << "no version information";

    void* value = nullptr;
    UINT length = 0;
    ASSERT_TRUE(api.Query(data, "\\", &value, &length));
    ASSERT_EQ(length, sizeof(VS_FIXEDFILEINFO));
    const VS_FIXEDFILEINFO* fixed = static_cast<const VS_FIXEDFILEINFO*>(value);
    EXPECT_EQ(fixed->dwSignature, 0xFEEF04BDu);
    EXPECT_EQ(fixed->dwFileVersionMS, 0x00010002u);
    EXPECT_EQ(fixed->dwFileVersionLS, 0x00030004u);
    EXPECT_EQ(fixed->dwProductVersionMS, 0x00010002u);
    EXPECT_EQ(fixed->dwProductVersionLS, 0x00030004u);
    EXPECT_EQ(fixed->dwFileType, static_cast<DWORD>(VFT_APP));
    EXPECT_EQ(fixed->dwFileOS, static_cast<DWORD>(VOS_NT_WINDOWS32));

    ASSERT_TRUE(api.Query(data, "\\VarFileInfo\\Translation", &value, &length));
    ASSERT_EQ(length, 4u);
    EXPECT_EQ(static_cast<const WORD*>(value)[0], 0x0409);
    EXPECT_EQ(static_cast<const WORD*>(value)[1], 1200);

    const struct { const char* name; const char* expected; } strings[] = {
        {"ProductName", "Quill Mark"},          {"CompanyName", "Quill & Co."},
        {"FileDescription", "Quill Mark editor"}, {"LegalCopyright", "(c) 2026 Quill\xe9 Ltd"},
        {"FileVersion", "1.2.3.4"},              {"ProductVersion", "1.2.3.4"},
    };
    for (const auto& s : strings) EXPECT_EQ(api.Text(data, s.name), s.expected) << s.name;
}

TEST(VersionInfoTest, ReconfiguringReplacesTheVersionInformationAndKeepsTheProperties) {
    VersionApi api;
    ASSERT_TRUE(api.Ready());
    std::string out = MakeTempFolder("tool-version-again") + "app.exe";
    ASSERT_EQ(Configure(BuildDir() + "jarstart.exe", out, " --set PROP_START_JAR=app.jar --version 1.0 --product Old")
                  .exitCode,
              0u);
    ToolRun run = Configure(out, out, " --keep --version 2.5.0.7 --description New");
    ASSERT_EQ(run.exitCode, 0u) << run.err;
    EXPECT_EQ(ResourceLanguages(out, 16, VERSION_RESOURCE_ID), std::vector<unsigned>{VERSION_LANGUAGE});
    std::vector<char> data = api.Read(out);
    void* value = nullptr;
    UINT length = 0;
    ASSERT_TRUE(api.Query(data, "\\", &value, &length));
    EXPECT_EQ(static_cast<const VS_FIXEDFILEINFO*>(value)->dwFileVersionMS, 0x00020005u);
    EXPECT_EQ(static_cast<const VS_FIXEDFILEINFO*>(value)->dwFileVersionLS, 0x00000007u);
    EXPECT_EQ(api.Text(data, "FileDescription"), "New");
    EXPECT_EQ(api.Text(data, "ProductName"), "<absent>") << "names not given again are not kept";
    EXPECT_EQ(LoadPropertyLikeLauncher(out, 101), "app.jar");
}

TEST(VersionInfoTest, VersionNumbersHaveOneToFourPartsOfAtMost65535) {
    const struct { const char* text; bool ok; unsigned short number[4]; } cases[] = {
        {"1.2.3.4", true, {1, 2, 3, 4}},   {"7", true, {7, 0, 0, 0}},          {"1.2", true, {1, 2, 0, 0}},
        {"65535.0.0.65535", true, {65535, 0, 0, 65535}},
        {"", false, {}},     {"1.2.3.4.5", false, {}}, {"65536", false, {}}, {"1..2", false, {}},
        {"1.2.", false, {}}, {".1", false, {}},       {"1.x", false, {}},   {"-1", false, {}},
        {"1.2.3.4 ", false, {}}, {"99999999999999999999", false, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        unsigned short number[4] = {9, 9, 9, 9};
        EXPECT_EQ(ParseVersionNumber(c.text, number), c.ok);
        if (c.ok) {
            for (int i = 0; i < 4; ++i) EXPECT_EQ(number[i], c.number[i]);
        }
    }
}

TEST(VersionInfoTest, ABadVersionNumberExitsWithTwoAndWritesNothing) {
    std::string folder = MakeTempFolder("tool-version-bad");
    for (const char* bad : {"1.2.3.4.5", "1.x", "70000"}) {
        SCOPED_TRACE(bad);
        std::string out = folder + "out.exe";
        ToolRun run = Configure(BuildDir() + "jarstart.exe", out, std::string(" --version ") + bad);
        EXPECT_EQ(run.exitCode, 2u);
        EXPECT_NE(run.err.find("--version"), std::string::npos) << run.err;
        EXPECT_EQ(GetFileAttributesA(out.c_str()), INVALID_FILE_ATTRIBUTES);
    }
    ToolRun missing = Configure(BuildDir() + "jarstart.exe", folder + "out.exe", " --product");
    EXPECT_EQ(missing.exitCode, 2u);
    EXPECT_NE(missing.err.find("--product needs a value"), std::string::npos) << missing.err;
}
