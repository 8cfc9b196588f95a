// configure on executables damaged where a loader trusts them (header
// offsets and counts, the resource directory) and on outputs that cannot be
// written: every case exits with 2 and one line naming the problem, and
// nothing is written.
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tests/support/Paths.h"
#include "tests/tool/RunTool.h"
#include "tests/tool/ToolTestFiles.h"
#include "tools/jarstart-tool/FileBytes.h"

namespace {

unsigned Read16(const std::string& b, size_t at) {
    return static_cast<unsigned char>(b[at]) | (static_cast<unsigned char>(b[at + 1]) << 8);
}
unsigned Read32(const std::string& b, size_t at) { return Read16(b, at) | (Read16(b, at + 2) << 16); }
void Write16(std::string& b, size_t at, unsigned v) {
    b[at] = static_cast<char>(v & 0xFF);
    b[at + 1] = static_cast<char>((v >> 8) & 0xFF);
}
void Write32(std::string& b, size_t at, unsigned v) {
    Write16(b, at, v & 0xFFFF);
    Write16(b, at + 2, v >> 16);
}

// Where the parts of the launcher's own (intact) image are, in file offsets.
struct Layout {
    size_t pe = 0;             // "PE\0\0"
    size_t sectionCount = 0;   // the file header's NumberOfSections
    size_t resourceEntry = 0;  // the resource data directory: RVA, size
    size_t resourceRoot = 0;   // the root resource directory
    unsigned resourceRva = 0;
    std::vector<size_t> dataEntries;  // every IMAGE_RESOURCE_DATA_ENTRY
};

Layout FindLayout(const std::string& b) {
    Layout l;
    l.pe = Read32(b, 0x3C);
    l.sectionCount = l.pe + 6;
    size_t optional = l.pe + 24;
    // The data directories follow a longer optional header in PE32+.
    size_t directories = optional + (Read16(b, optional) == 0x20b ? 112 : 96);
    l.resourceEntry = directories + 2 * 8;
    l.resourceRva = Read32(b, l.resourceEntry);
    size_t sections = optional + Read16(b, l.pe + 20);
    for (unsigned i = 0; i < Read16(b, l.sectionCount); ++i) {
        size_t s = sections + 40 * i;
        unsigned rva = Read32(b, s + 12), raw = Read32(b, s + 20), size = Read32(b, s + 16);
        if (l.resourceRva >= rva && l.resourceRva < rva + size) l.resourceRoot = raw + (l.resourceRva - rva);
    }
    // Three levels (type, name, language), then the data entries.
    std::function<void(size_t, int)> walk = [&](size_t dir, int level) {
        unsigned count = Read16(b, dir + 12) + Read16(b, dir + 14);
        for (unsigned i = 0; i < count; ++i) {
            unsigned target = Read32(b, dir + 16 + 8 * i + 4);
            if (target & 0x80000000u) walk(l.resourceRoot + (target & 0x7FFFFFFFu), level + 1);
            else l.dataEntries.push_back(l.resourceRoot + target);
        }
    };
    if (l.resourceRoot) walk(l.resourceRoot, 0);
    return l;
}

struct Damage {
    const char* what;
    std::function<void(std::string&, const Layout&)> apply;
};

}  // namespace

TEST(ConfigureFaultTest, DamagedExecutablesExitWithTwoAMessageAndNoOutput) {
    std::string folder = MakeTempFolder("tool-damaged");
    std::string launcher = CopyLauncher(folder, "launcher.exe");
    std::string intact;
    DWORD error = 0;
    ASSERT_TRUE(ReadFileBytes(launcher, &intact, &error));
    Layout layout = FindLayout(intact);
    ASSERT_NE(layout.resourceRoot, 0u) << "the launcher has no resource section";
    ASSERT_FALSE(layout.dataEntries.empty());

    const Damage damages[] = {
        {"PE header offset past the end", [](std::string& b, const Layout&) { Write32(b, 0x3C, 0x7FFFFFF0u); }},
        {"65,535 sections", [](std::string& b, const Layout& l) { Write16(b, l.sectionCount, 0xFFFF); }},
        {"resource directory outside the image",
         [](std::string& b, const Layout& l) { Write32(b, l.resourceEntry, 0x7FFFFFF0u); }},
        {"resource directory with 65,535 entries",
         [](std::string& b, const Layout& l) { Write16(b, l.resourceRoot + 14, 0xFFFF); }},
        {"resource subdirectory far past the section",
         [](std::string& b, const Layout& l) { Write32(b, l.resourceRoot + 16 + 4, 0xFFFFFFF0u); }},
        {"resource subdirectory that is the root again",
         [](std::string& b, const Layout& l) { Write32(b, l.resourceRoot + 16 + 4, 0x80000000u); }},
        // A few such levels in 8 KB name a billion resources.
        {"resource types sharing one name directory",
         [](std::string& b, const Layout& l) {
             unsigned count = Read16(b, l.resourceRoot + 12) + Read16(b, l.resourceRoot + 14);
             for (unsigned i = 1; i < count; ++i)
                 Write32(b, l.resourceRoot + 16 + 8 * i + 4, Read32(b, l.resourceRoot + 16 + 4));
         }},
        {"resource data past the image",
         [](std::string& b, const Layout& l) {
             for (size_t entry : l.dataEntries) Write32(b, entry, 0x7FFFFFF0u);
         }},
        {"resource data of 2 GB",
         [](std::string& b, const Layout& l) {
             for (size_t entry : l.dataEntries) Write32(b, entry + 4, 0x7FFFFFFFu);
         }},
    };
    for (const Damage& damage : damages) {
        SCOPED_TRACE(damage.what);
        std::string bytes = intact;
        damage.apply(bytes, layout);
        ASSERT_TRUE(WriteFileBytes(folder + "damaged.exe", bytes, &error));
        std::vector<std::string> before = FolderEntries(folder);

        ToolRun run = RunTool("configure \"" + folder + "damaged.exe\" -o \"" + folder +
                              "out.exe\" --set PROP_START_JAR=app.jar");

        ASSERT_TRUE(run.started);
        EXPECT_FALSE(run.timedOut);
        EXPECT_EQ(run.exitCode, 2u) << std::hex << run.exitCode << " " << run.err;
        EXPECT_EQ(run.out, "");
        EXPECT_EQ(Lines(run.err).size(), 1u) << run.err;
        EXPECT_EQ(run.err.compare(0, 15, "jarstart-tool: "), 0) << run.err;
        EXPECT_NE(run.err.find("damaged.exe"), std::string::npos) << run.err;
        EXPECT_EQ(FolderEntries(folder), before);
        std::string after;
        ASSERT_TRUE(ReadFileBytes(folder + "damaged.exe", &after, &error));
        EXPECT_TRUE(after == bytes) << "the input was changed";
    }
}

TEST(ConfigureFaultTest, AnOutputThatCannotBeWrittenExitsWithTwoAndLeavesWhatWasThere) {
    std::string folder = MakeTempFolder("tool-unwritable");
    std::string launcher = CopyLauncher(folder, "launcher.exe");
    DWORD error = 0;
    ASSERT_TRUE(WriteFileBytes(folder + "readonly.exe", "an older build", &error));
    ASSERT_TRUE(SetFileAttributesA((folder + "readonly.exe").c_str(), FILE_ATTRIBUTE_READONLY));
    ASSERT_TRUE(CreateDirectoryA((folder + "folder.exe").c_str(), nullptr));
    ASSERT_TRUE(WriteFileBytes(folder + "plain.txt", "a file, not a folder", &error));
    const struct {
        const char* what;
        std::string output;
    } cases[] = {
        {"a read-only file of that name", folder + "readonly.exe"},
        {"a folder of that name", folder + "folder.exe"},
        {"a file where the folder should be", folder + "plain.txt\\out.exe"},
    };
    std::vector<std::string> before = FolderEntries(folder);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ToolRun run = RunTool("configure \"" + launcher + "\" -o \"" + c.output + "\" --set PROP_START_JAR=app.jar");
        ASSERT_TRUE(run.started);
        EXPECT_EQ(run.exitCode, 2u) << run.err;
        EXPECT_EQ(Lines(run.err).size(), 1u) << run.err;
        EXPECT_EQ(run.err.compare(0, 15, "jarstart-tool: "), 0) << run.err;
        EXPECT_EQ(FolderEntries(folder), before);
    }
    std::string content;
    ASSERT_TRUE(ReadFileBytes(folder + "readonly.exe", &content, &error));
    EXPECT_TRUE(content == "an older build") << "the read-only file was replaced";
    SetFileAttributesA((folder + "readonly.exe").c_str(), FILE_ATTRIBUTE_NORMAL);
}
