// configure --icon: every image of the .ico becomes the executable's icon,
// read back through the loader and the icon functions a shell uses.
#include <windows.h>

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "framework/ScopedWin.h"
#include "tests/support/Paths.h"
#include "tests/tool/RunTool.h"
#include "tests/tool/ToolTestFiles.h"
#include "tools/jarstart-tool/FileBytes.h"
#include "tools/jarstart-tool/IconFile.h"

namespace {
unsigned ReadWord(const std::string& bytes, size_t at) {
    return static_cast<unsigned char>(bytes[at]) | (static_cast<unsigned char>(bytes[at + 1]) << 8);
}


std::string WriteIco(const std::string& folder, const std::string& name, const std::string& bytes) {
    std::string path = folder + name;
    DWORD error = 0;
    EXPECT_TRUE(WriteFileBytes(path, bytes, &error)) << error;
    return path;
}

ToolRun ConfigureIcon(const std::string& input, const std::string& output, const std::string& ico) {
    return RunTool("configure " + QuoteArgument(input) + " -o " + QuoteArgument(output) +
                   " --set PROP_START_JAR=app.jar --icon " + QuoteArgument(ico));
}

struct GroupEntry {
    int width;
    int bitCount;
    unsigned long size;
    int id;
};

std::vector<GroupEntry> GroupEntries(const std::string& group) {
    std::vector<GroupEntry> entries;
    if (group.size() < 6) return entries;
    unsigned count = ReadWord(group, 4);
    for (unsigned i = 0; i < count && 6 + 14 * (i + 1) <= group.size(); ++i) {
        size_t at = 6 + 14 * i;
        GroupEntry entry;
        entry.width = static_cast<unsigned char>(group[at]);
        entry.bitCount = static_cast<int>(ReadWord(group, at + 6));
        entry.size = ReadWord(group, at + 8) | (static_cast<unsigned long>(ReadWord(group, at + 10)) << 16);
        entry.id = static_cast<int>(ReadWord(group, at + 12));
        entries.push_back(entry);
    }
    return entries;
}

BOOL CALLBACK CountName(HMODULE, LPCSTR, LPSTR, LONG_PTR param) {
    ++*reinterpret_cast<int*>(param);
    return TRUE;
}

int CountResources(const std::string& exe, LPCSTR type) {
    ScopedModule module(LoadLibraryExA(exe.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE));
    int count = 0;
    EnumResourceNamesA(module, type, CountName, reinterpret_cast<LONG_PTR>(&count));
    return count;
}
}  // namespace

TEST(IconTest, EveryImageOfTheIconFileBecomesAnIconOfTheExeThatTheIconFunctionsUse) {
    std::string folder = MakeTempFolder("tool-icon");
    std::vector<IcoImage> images = {{16, IconImageBytes(16)}, {32, IconImageBytes(32)}, {48, IconImageBytes(48)}};
    std::string ico = WriteIco(folder, "app.ico", IcoFile(images));
    std::string out = folder + "app.exe";
    ToolRun run = ConfigureIcon(BuildDir() + "jarstart.exe", out, ico);
    ASSERT_EQ(run.exitCode, 0u) << run.err;

    std::string group;
    ASSERT_TRUE(ReadResourceBytes(out, 14, ICON_GROUP_ID, &group));
    std::vector<GroupEntry> entries = GroupEntries(group);
    ASSERT_EQ(entries.size(), images.size());
    for (size_t i = 0; i < images.size(); ++i) {
        SCOPED_TRACE(images[i].side);
        EXPECT_EQ(entries[i].width, images[i].side);
        EXPECT_EQ(entries[i].bitCount, 32);
        EXPECT_EQ(entries[i].size, images[i].bytes.size());
        std::string stored;
        ASSERT_TRUE(ReadResourceBytes(out, 3, entries[i].id, &stored));
        EXPECT_TRUE(stored == images[i].bytes) << "image stored changed";
    }

    // As a shell picks and draws it: the best image for a size, made into an icon.
    ScopedModule module(LoadLibraryExA(out.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE));
    ASSERT_NE(static_cast<HMODULE>(module), nullptr);
    HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(ICON_GROUP_ID), MAKEINTRESOURCEA(14));
    ASSERT_TRUE(found);
    PBYTE directory = static_cast<PBYTE>(LockResource(LoadResource(module, found)));
    int id32 = LookupIconIdFromDirectoryEx(directory, TRUE, 32, 32, LR_DEFAULTCOLOR);
    EXPECT_EQ(id32, entries[1].id);
    HRSRC image = FindResourceA(module, MAKEINTRESOURCEA(id32), MAKEINTRESOURCEA(3));
    ASSERT_TRUE(image);
    HICON icon = CreateIconFromResourceEx(static_cast<PBYTE>(LockResource(LoadResource(module, image))),
                                          SizeofResource(module, image), TRUE, 0x00030000, 32, 32, LR_DEFAULTCOLOR);
    ASSERT_TRUE(icon);
    ICONINFO info = {};
    ASSERT_TRUE(GetIconInfo(icon, &info));
    BITMAP bitmap = {};
    GetObjectA(info.hbmColor, sizeof(bitmap), &bitmap);
    EXPECT_EQ(bitmap.bmWidth, 32);
    if (info.hbmColor) DeleteObject(info.hbmColor);
    if (info.hbmMask) DeleteObject(info.hbmMask);
    DestroyIcon(icon);
    EXPECT_EQ(ExtractIconExA(out.c_str(), -1, nullptr, nullptr, 0), 1u) << "one icon group";
}

TEST(IconTest, ReconfiguringWithAnotherIconLeavesOnlyItsImagesAndTheProperties) {
    std::string folder = MakeTempFolder("tool-icon-again");
    std::string first = WriteIco(folder, "first.ico", IcoFile({{16, IconImageBytes(16)}, {32, IconImageBytes(32)}}));
    std::string second = WriteIco(folder, "second.ico", IcoFile({{24, IconImageBytes(24)}}));
    std::string out = folder + "app.exe";
    ASSERT_EQ(RunTool("configure " + QuoteArgument(BuildDir() + "jarstart.exe") + " -o " + QuoteArgument(out) +
                      " --set PROP_START_JAR=app.jar --icon " + QuoteArgument(first))
                  .exitCode,
              0u);
    ToolRun run = RunTool("configure " + QuoteArgument(out) + " -o " + QuoteArgument(out) + " --keep --icon " +
                          QuoteArgument(second));
    ASSERT_EQ(run.exitCode, 0u) << run.err;
    EXPECT_EQ(CountResources(out, MAKEINTRESOURCEA(14)), 1);
    EXPECT_EQ(CountResources(out, MAKEINTRESOURCEA(3)), 1);
    std::string group;
    ASSERT_TRUE(ReadResourceBytes(out, 14, ICON_GROUP_ID, &group));
    std::vector<GroupEntry> entries = GroupEntries(group);
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].width, 24);
    EXPECT_EQ(LoadPropertyLikeLauncher(out, 101), "app.jar");
}

TEST(IconTest, ABogusIconFileExitsWithTwoAMessageAndNoOutput) {
    std::string good = IcoFile({{16, IconImageBytes(16)}, {32, IconImageBytes(32)}});
    auto patched = [&](size_t at, unsigned long value) {
        std::string bytes = good;
        for (int i = 0; i < 4; ++i) bytes[at + i] = static_cast<char>((value >> (8 * i)) & 0xFF);
        return bytes;
    };
    std::string manyImages = good;
    manyImages[4] = static_cast<char>(0xFF);  // a directory of 65535 entries in a small file
    manyImages[5] = static_cast<char>(0xFF);
    std::string zeroImages = good.substr(0, 4) + std::string("\0\0", 2) + good.substr(6);
    std::string cursor = good;
    cursor[2] = 2;
    std::string notAnImage = good;
    notAnImage[6 + 32] = 'x';  // the first image's header size
    const struct {
        const char* what;
        std::string bytes;
        const char* message;
    } cases[] = {
        {"empty file", "", "not an icon file"},
        {"a cursor file", cursor, "not an icon file"},
        {"no images", zeroImages, "holds no image"},
        {"directory past the end", manyImages, "runs past its end"},
        {"size past the end", patched(6 + 8, 100000), "does not lie inside"},
        {"size wrapping around", patched(6 + 8, 0xFFFFFFF0ul), "does not lie inside"},
        {"offset past the end", patched(6 + 12, 0x7FFFFFFFul), "does not lie inside"},
        {"offset inside the directory", patched(6 + 12, 10), "does not lie inside"},
        {"size zero", patched(6 + 16 + 8, 0), "does not lie inside"},
        {"neither bitmap nor PNG", notAnImage, "neither a bitmap nor a PNG"},
    };
    std::string folder = MakeTempFolder("tool-icon-bad");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        std::string ico = WriteIco(folder, "bad.ico", c.bytes);
        std::string out = folder + "out.exe";
        ToolRun run = ConfigureIcon(BuildDir() + "jarstart.exe", out, ico);
        EXPECT_EQ(run.exitCode, 2u);
        EXPECT_NE(run.err.find(c.message), std::string::npos) << run.err;
        EXPECT_EQ(run.out, "");
        EXPECT_EQ(GetFileAttributesA(out.c_str()), INVALID_FILE_ATTRIBUTES) << "an output was written";
        std::vector<std::string> left = FolderEntries(folder);
        EXPECT_EQ(left, std::vector<std::string>{"bad.ico"}) << "a temporary file was left behind";
    }
}

TEST(IconTest, APngImageIsStoredAsItIs) {
    std::string png = std::string("\x89PNG\r\n\x1a\n", 8) + std::string(40, '\x5a');
    std::vector<IconImage> images;
    std::string error;
    ASSERT_TRUE(ParseIconFile(IcoFile({{256, png}, {16, IconImageBytes(16)}}), &images, &error)) << error;
    ASSERT_EQ(images.size(), 2u);
    EXPECT_EQ(images[0].width, 0) << "256 is stored as 0";
    EXPECT_TRUE(images[0].bytes == png);
    std::vector<ResourceItem> items = IconResources(images, 0);
    ASSERT_EQ(items.size(), 3u);
    EXPECT_TRUE(items[0].type.Is(3) && items[0].name.Is(1));
    EXPECT_TRUE(items[1].type.Is(3) && items[1].name.Is(2));
    EXPECT_TRUE(items[2].type.Is(14) && items[2].name.Is(ICON_GROUP_ID));
    EXPECT_EQ(items[2].bytes.size(), 6u + 14u * 2u);
}
