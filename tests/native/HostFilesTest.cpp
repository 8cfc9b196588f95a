// The tool's POSIX file layer on real files in the build folder: replacing a
// file in place keeps what the user set on it.
#ifndef _WIN32
#include <gtest/gtest.h>

#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <fstream>
#include <iterator>
#include <string>

#include "tools/jarstart-tool/HostFiles.h"

namespace {
std::string ScratchFolder() {
    std::string pattern = std::string(NATIVE_TEST_SCRATCH) + "/hostfilesXXXXXX";
    mkdir(NATIVE_TEST_SCRATCH, 0777);
    return mkdtemp(&pattern[0]) ? pattern + "/" : std::string();
}

std::string Read(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}
}  // namespace

TEST(HostFilesTest, ReplacingAFileKeepsItsModeAndALinkToItStaysALink) {
    std::string folder = ScratchFolder();
    ASSERT_FALSE(folder.empty());
    std::string target = folder + "MyApp.exe", link = folder + "current.exe";
    std::ofstream(target, std::ios::binary) << "old bytes";
    ASSERT_EQ(chmod(target.c_str(), 0750), 0);
    ASSERT_EQ(symlink("MyApp.exe", link.c_str()), 0);
    const struct {
        const char* name;
        std::string path;
    } cases[] = {{"the file", target}, {"a relative link to it", link}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ReplaceStage stage = ReplaceStage::Existing;
        std::string reason;
        std::string bytes = std::string("written through ") + c.name;
        ASSERT_TRUE(ReplaceWholeFile(c.path, bytes, &stage, &reason)) << reason;
        struct stat info;
        ASSERT_EQ(lstat(link.c_str(), &info), 0);
        EXPECT_TRUE(S_ISLNK(info.st_mode)) << "the link was replaced by a file";
        ASSERT_EQ(lstat(target.c_str(), &info), 0);
        EXPECT_TRUE(S_ISREG(info.st_mode));
        EXPECT_EQ(info.st_mode & 07777, 0750u);
        EXPECT_EQ(Read(target), bytes);
    }
}
#endif
