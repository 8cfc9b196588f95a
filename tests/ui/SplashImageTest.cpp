// The splash with each kind of image, in copies of this test program whose
// resource 104 is replaced the way the companion tool configures a launcher
// (SplashChild.cpp makes such a copy behave like the launcher's splash step).
#include <windows.h>

#include <cstdio>
#include <string>

#include <gtest/gtest.h>

#include "tests/support/Dialogs.h"
#include "tests/support/Paths.h"
#include "tests/support/SplashBmp.h"
#include "tests/ui/UiTestSupport.h"
#include "tools/jarstart-tool/Configure.h"

namespace {

const char kSplashError[] = "Cannot load splash screen. Probably unsupported or invalid file.";

struct ChildRun {
    PROCESS_INFORMATION process = {};
    std::string resultFile;
};

// The resource update functions take a size of 0 for "delete", so an empty
// resource is made from a one-byte one whose data entry is then given the
// size 0 in the file itself. With LOAD_LIBRARY_AS_DATAFILE the file is
// mapped as it is, so the entry's address in the mapping is its file offset.
bool EmptyTheSplashResource(const std::string& exe) {
    HMODULE module = LoadLibraryExA(exe.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    if (!module) return false;
    HRSRC entry = FindResourceA(module, MAKEINTRESOURCEA(104), MAKEINTRESOURCEA(2));
    const BYTE* base = reinterpret_cast<const BYTE*>(reinterpret_cast<ULONG_PTR>(module) & ~static_cast<ULONG_PTR>(3));
    LONG offset = entry ? static_cast<LONG>(reinterpret_cast<const BYTE*>(entry) - base) : -1;
    DWORD size = entry ? SizeofResource(module, entry) : 0;
    FreeLibrary(module);
    if (offset < 0 || size != 1) return false;
    HANDLE file = CreateFileA(exe.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    // IMAGE_RESOURCE_DATA_ENTRY: OffsetToData, then Size.
    DWORD sizeField = 0, done = 0;
    bool ok = SetFilePointer(file, offset + 4, nullptr, FILE_BEGIN) != INVALID_SET_FILE_POINTER &&
              ReadFile(file, &sizeField, 4, &done, nullptr) && done == 4 && sizeField == 1;
    DWORD zero = 0;
    ok = ok && SetFilePointer(file, offset + 4, nullptr, FILE_BEGIN) != INVALID_SET_FILE_POINTER &&
         WriteFile(file, &zero, 4, &done, nullptr) && done == 4;
    CloseHandle(file);
    return ok;
}

// A copy of this program with splash as resource 104 (none when null).
std::string MakeSplashCopy(const std::string& name, const std::string* splash) {
    char self[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, self, MAX_PATH);
    std::string copy = MakeTempFolder("ui-splash-" + name) + "splash-child.exe";
    ConfigureRequest request;
    request.input = self;
    request.output = copy;
    request.setSplash = true;
    request.splashBytes = splash && !splash->empty() ? *splash : std::string("x");
    std::string error;
    EXPECT_TRUE(ConfigureLauncher(request, &error)) << error;
    if (splash && splash->empty()) {
        EXPECT_TRUE(EmptyTheSplashResource(copy));
    }
    if (!splash) {
        HANDLE update = BeginUpdateResourceA(copy.c_str(), FALSE);
        EXPECT_NE(update, nullptr);
        EXPECT_TRUE(UpdateResourceA(update, MAKEINTRESOURCEA(2), MAKEINTRESOURCEA(104),
                                    MAKELANGID(LANG_NEUTRAL, SUBLANG_NEUTRAL), nullptr, 0));
        EXPECT_TRUE(EndUpdateResourceA(update, FALSE));
    }
    return copy;
}

bool StartChild(const std::string& exe, ChildRun* run) {
    run->resultFile = exe + ".result";
    std::string line = "\"" + exe + "\" --splash-child " + run->resultFile;
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    return CreateProcessA(nullptr, &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &run->process) !=
           FALSE;
}

void EndChild(ChildRun* run) {
    DWORD code = 0;
    if (GetExitCodeProcess(run->process.hProcess, &code) && code == STILL_ACTIVE) {
        TerminateProcess(run->process.hProcess, 0);
        WaitForSingleObject(run->process.hProcess, 10000);
    }
    CloseHandle(run->process.hThread);
    CloseHandle(run->process.hProcess);
}

std::string MessageBoxText(HWND box) {
    // The message text is the box's static control with id 0xFFFF.
    char text[512] = {};
    GetDlgItemTextA(box, 0xFFFF, text, sizeof(text));
    return text;
}

}  // namespace

TEST(SplashImageTest, BmpGifAndJpegImagesAppearSizedToTheImageAndCentred) {
    struct Case { const char* name; const char* file; int tolerance; };
    // JPEG is lossy: its colours are only near the originals.
    const Case cases[] = {{"bmp", "splash.bmp", 0}, {"gif", "splash.gif", 0}, {"jpeg", "splash.jpg", 40}};
    int screenWidth = GetSystemMetrics(SM_CXSCREEN), screenHeight = GetSystemMetrics(SM_CYSCREEN);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::string image = ReadWholeFile(TestDataPath(c.file));
        ChildRun run;
        ASSERT_TRUE(StartChild(MakeSplashCopy(c.name, &image), &run));
        bool shown = WaitUntil([&] { return !ReadWholeFile(run.resultFile).empty(); }, 15000);
        RECT rect = {};
        int visible = 0;
        std::sscanf(ReadWholeFile(run.resultFile).c_str(), "%ld %ld %ld %ld %d", &rect.left, &rect.top, &rect.right,
                    &rect.bottom, &visible);
        Screenshot shot;
        bool shotTaken = shown && TakeScreenshot(std::string("splash-") + c.name, &shot);
        EndChild(&run);

        ASSERT_TRUE(shown);
        EXPECT_EQ(visible, 1);
        EXPECT_EQ(rect.right - rect.left, 40);
        EXPECT_EQ(rect.bottom - rect.top, 30);
        EXPECT_EQ(rect.left, (screenWidth - 40) / 2);
        EXPECT_EQ(rect.top, (screenHeight - 30) / 2);
        ASSERT_TRUE(shotTaken);
        struct Probe { int x, y; COLORREF colour; };
        const Probe probes[] = {{5, 5, RGB(255, 0, 0)}, {35, 5, RGB(0, 192, 0)},
                                {5, 25, RGB(0, 0, 255)}, {35, 25, RGB(255, 255, 0)}};
        for (const Probe& p : probes) {
            COLORREF seen = shot.Pixel(rect.left + p.x, rect.top + p.y);
            EXPECT_TRUE(ColourNear(seen, p.colour, c.tolerance))
                << "at " << p.x << "," << p.y << ": " << std::hex << seen << " instead of " << p.colour;
        }
    }
}

TEST(SplashImageTest, AnImageWiderThanTheScreenGetsANegativePositionTruncatedTowardZero) {
    int screenWidth = GetSystemMetrics(SM_CXSCREEN), screenHeight = GetSystemMetrics(SM_CYSCREEN);
    std::string image = MakeRedBlueSplashBmp(screenWidth + 5, 20);
    ChildRun run;
    ASSERT_TRUE(StartChild(MakeSplashCopy("wide", &image), &run));
    bool shown = WaitUntil([&] { return !ReadWholeFile(run.resultFile).empty(); }, 15000);
    RECT rect = {};
    int visible = 0;
    std::sscanf(ReadWholeFile(run.resultFile).c_str(), "%ld %ld %ld %ld %d", &rect.left, &rect.top, &rect.right,
                &rect.bottom, &visible);
    Screenshot shot;
    bool shotTaken = shown && TakeScreenshot("splash-wide", &shot);
    EndChild(&run);

    ASSERT_TRUE(shown);
    EXPECT_EQ(rect.left, -2) << "(-5) / 2";
    EXPECT_EQ(rect.top, (screenHeight - 20) / 2);
    EXPECT_EQ(rect.right - rect.left, screenWidth + 5);
    ASSERT_TRUE(shotTaken);
    // Column x of the screen shows column x + 2 of the image.
    EXPECT_EQ(shot.Pixel(0, rect.top + 10), RGB(255, 0, 0));
    EXPECT_EQ(shot.Pixel(screenWidth / 2 - 3, rect.top + 10), RGB(255, 0, 0));
    EXPECT_EQ(shot.Pixel(screenWidth / 2 + 1, rect.top + 10), RGB(0, 0, 255));
    EXPECT_EQ(shot.Pixel(screenWidth - 1, rect.top + 10), RGB(0, 0, 255));
}

TEST(SplashImageTest, APackedBitmapAnEmptyOrAMissingResourceShowsTheErrorAndEndsWith1) {
    std::string packed = ReadWholeFile(TestDataPath("splash-packed.dib"));
    std::string empty;
    struct Case { const char* name; const std::string* splash; };
    const Case cases[] = {{"packed", &packed}, {"empty", &empty}, {"missing", nullptr}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ChildRun run;
        ASSERT_TRUE(StartChild(MakeSplashCopy(c.name, c.splash), &run));
        HWND box = WaitForDialog(run.process.dwProcessId, 15000);
        std::string text = box ? MessageBoxText(box) : std::string();
        if (box) PostMessageA(box, WM_COMMAND, IDOK, 0);
        bool ended = WaitForSingleObject(run.process.hProcess, 15000) == WAIT_OBJECT_0;
        DWORD exitCode = 0;
        GetExitCodeProcess(run.process.hProcess, &exitCode);
        bool shown = !ReadWholeFile(run.resultFile).empty();
        EndChild(&run);

        ASSERT_NE(box, nullptr) << "no error box";
        EXPECT_EQ(text, kSplashError);
        EXPECT_TRUE(ended);
        EXPECT_EQ(exitCode, 1u);
        EXPECT_FALSE(shown);
    }
}
