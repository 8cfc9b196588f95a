#include "ui/SystemLibrary.h"

#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tests/support/Paths.h"
#include "tools/testing/common/FileUtil.h"
#include "tools/jarstart-tool/PeImage.h"

namespace {

std::string Lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return static_cast<char>(tolower(c)); });
    return text;
}

std::string SystemFolder() {
    char system[MAX_PATH] = {};
    GetSystemDirectoryA(system, MAX_PATH);
    return Lower(system);
}

}  // namespace

TEST(SystemLibraryTest, EachLibraryOfTheWindowsComesFromTheSystemFolder) {
    for (const char* name : {"ole32.dll", "oleaut32.dll", "comctl32.dll", "shell32.dll", "riched32.dll"}) {
        SCOPED_TRACE(name);
        HMODULE library = LoadSystemLibrary(name);
        ASSERT_NE(library, nullptr);
        char path[MAX_PATH] = {};
        GetModuleFileNameA(library, path, MAX_PATH);
        EXPECT_EQ(Lower(path), SystemFolder() + "\\" + name);
    }
}

TEST(SystemLibraryTest, FunctionsAreFoundInTheirLibraryAndMissingOnesAreNull) {
    struct Case {
        const char* library;
        const char* function;
        bool found;
    };
    const Case cases[] = {
        {"ole32.dll", "CoInitialize", true},
        {"ole32.dll", "CreateStreamOnHGlobal", true},
        {"oleaut32.dll", "OleLoadPicture", true},
        {"comctl32.dll", "InitCommonControls", true},
        {"shell32.dll", "ShellExecuteA", true},
        {"ole32.dll", "NoSuchFunctionAnywhere", false},
        {"no-such-library-anywhere.dll", "CoInitialize", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.library) + " " + c.function);
        FARPROC function = GetSystemLibraryFunction(c.library, c.function);
        EXPECT_EQ(function != nullptr, c.found);
        if (c.found) {
            EXPECT_EQ(function, GetProcAddress(GetModuleHandleA(c.library), c.function));
        }
    }
}

TEST(SystemLibraryTest, TheLauncherImportsNoneOfTheLibrariesOnlyItsWindowsNeed) {
    std::string bytes;
    ASSERT_TRUE(ReadWholeFile(BuildDir() + "jarstart.exe", &bytes));
    std::vector<std::string> dlls;
    ASSERT_TRUE(ReadImportedDlls(bytes, &dlls));
    ASSERT_FALSE(dlls.empty());
    for (std::string& dll : dlls) dll = Lower(dll);
    for (const char* late : {"ole32.dll", "oleaut32.dll", "comctl32.dll", "shell32.dll", "riched32.dll",
                             "riched20.dll"})
        EXPECT_EQ(std::count(dlls.begin(), dlls.end(), std::string(late)), 0) << late << " is imported";
}
