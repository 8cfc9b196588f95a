#include "ui/RichEditLibrary.h"

#include <windows.h>

#include <algorithm>
#include <string>

#include <gtest/gtest.h>

namespace {
std::string Lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return static_cast<char>(tolower(c)); });
    return text;
}
}  // namespace

TEST(RichEditLibraryTest, ComesFromTheSystemFolderAndProvidesTheRichEditClass) {
    HMODULE library = LoadRichEditLibrary();
    ASSERT_NE(library, nullptr);
    char path[MAX_PATH] = {}, system[MAX_PATH] = {};
    GetModuleFileNameA(library, path, MAX_PATH);
    GetSystemDirectoryA(system, MAX_PATH);
    EXPECT_EQ(Lower(path), Lower(std::string(system) + "\\riched32.dll"));
    WNDCLASSEXA info = {};
    info.cbSize = sizeof(info);
    EXPECT_TRUE(GetClassInfoExA(nullptr, "RichEdit20A", &info) || GetClassInfoExA(library, "RichEdit20A", &info));
}
