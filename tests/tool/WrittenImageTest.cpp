// What configure writes, read by the system itself: the loader finds every
// resource of the tree the tool's writer laid out, configuring twice gives
// the bytes of configuring once, and the configured launcher runs. (The
// build machine's tool writes the same bytes: tools/scripts/cross-check.sh.)
#include <windows.h>

#include <gtest/gtest.h>

#include "framework/ScopedWin.h"
#include "tests/support/Paths.h"
#include "tests/support/SplashBmp.h"
#include "tests/tool/RunTool.h"
#include "tests/tool/ToolTestFiles.h"
#include "tools/jarstart-tool/FileBytes.h"
#include "tools/jarstart-tool/PeImage.h"

namespace {
std::string Bytes(const std::string& path) {
    std::string bytes;
    DWORD error = 0;
    ReadFileBytes(path, &bytes, &error);
    return bytes;
}

LPCWSTR Param(const ResourceId& id, std::wstring* text) {
    text->assign(id.text.begin(), id.text.end());
    return id.isNumber ? MAKEINTRESOURCEW(id.number) : text->c_str();
}

void ExpectTheLoaderReadsEveryResource(const std::string& exe) {
    std::vector<ResourceItem> items;
    ASSERT_TRUE(ReadResources(Bytes(exe), &items));
    ScopedModule module(LoadLibraryExA(exe.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE));
    ASSERT_TRUE(module);
    for (const ResourceItem& item : items) {
        std::wstring type, name;
        HRSRC found = FindResourceExW(module, Param(item.type, &type), Param(item.name, &name), item.language);
        ASSERT_TRUE(found) << item.type.number << "/" << item.name.number << "/" << item.language;
        const char* data = static_cast<const char*>(LockResource(LoadResource(module, found)));
        EXPECT_TRUE(std::string(data, SizeofResource(module, found)) == item.bytes) << item.type.number;
    }
}
}  // namespace

TEST(WrittenImageTest, TheLoaderReadsEveryResourceAndConfiguringTwiceEqualsOnce) {
    std::string folder = MakeTempFolder("tool-written");
    CopyLauncher(folder, "launcher.exe");
    DWORD error = 0;
    ASSERT_TRUE(WriteFileBytes(folder + "splash.bmp", MakeSplashBmp(40, 20), &error));
    ASSERT_TRUE(WriteFileBytes(folder + "app.ico", IcoFile({{16, IconImageBytes(16)}, {32, IconImageBytes(32)}}), &error));
    const char* cases[] = {
        "--set PROP_START_JAR=demo.jar --set PROP_SPLASH=yes --splash splash.bmp",
        "--set PROP_START_JAR=demo.jar --icon app.ico --version 1.2.3.4 --product \"Quill Mark\" --copyright \"(c) \xce\xa9\xce\xbc\xce\xad\xce\xb3\xce\xb1\"",
        "--set PROP_START_JAR=demo.jar --set \"PROP_VM_PARAMS=-Dname=\xe6\x97\xa5\xe6\x9c\xac \xf0\x9f\x98\x80\" --set PROP_DOWNLOAD_URL=https://example.com/",
    };
    for (const char* options : cases) {
        SCOPED_TRACE(options);
        ToolRun once = RunTool(std::string("configure launcher.exe -o once.exe ") + options, folder);
        ASSERT_EQ(once.exitCode, 0u) << once.err;
        ASSERT_EQ(RunTool(std::string("configure once.exe -o twice.exe ") + options, folder).exitCode, 0u);
        EXPECT_TRUE(Bytes(folder + "twice.exe") == Bytes(folder + "once.exe")) << "configuring twice differs from once";
        ExpectTheLoaderReadsEveryResource(folder + "once.exe");
    }
    EXPECT_EQ(LoadPropertyLikeLauncher(folder + "once.exe", 100), "-Dname=\xe6\x97\xa5\xe6\x9c\xac \xf0\x9f\x98\x80");
}
