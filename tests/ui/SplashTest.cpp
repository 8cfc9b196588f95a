// The splash window of the test program itself, whose resource 104 is a BMP
// file (tests/ui/SplashResource.rc). The other image kinds and the failures
// run through configured launcher copies (SplashE2ETest.cpp).
#include "ui/Splash.h"

#include <string>

#include <gtest/gtest.h>

#include "base/Globals.h"
#include "process/StartupWatch.h"
#include "tests/ui/UiTestSupport.h"
#include "ui/Ole.h"

namespace {

// Resets the process-wide state the splash reads and writes, before and
// after each test.
class SplashTest : public ::testing::Test {
protected:
    void SetUp() override { Reset(); }
    void TearDown() override { Reset(); }
    void Reset() {
        if (g_splashWnd) DestroyWindow(g_splashWnd);
        g_splashWnd = nullptr;
        ReleasePicture(g_splashPicture);
        g_splashActive = 1;
        g_keepAlive = 1;
        g_splashCountdown = 3;
        g_watchAppWindow = 0;
    }
};

// Lets the window paint: its messages are handled on this thread.
void PumpMessages() {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
}

std::string ResourceBytes() {
    HMODULE module = GetModuleHandleA(nullptr);
    HRSRC resource = FindResourceA(module, MAKEINTRESOURCEA(104), MAKEINTRESOURCEA(2));
    if (!resource) return std::string();
    return std::string(static_cast<const char*>(LockResource(LoadResource(module, resource))),
                       SizeofResource(module, resource));
}

}  // namespace

TEST_F(SplashTest, TheImageStreamHoldsTheResourceBytesFromTheStart) {
    std::string expected = ReadWholeFile(TestDataPath("splash.bmp"));
    ASSERT_EQ(ResourceBytes(), expected) << "the resource compiler changed the file";
    IStream* stream = LoadSplashImageStream();
    ASSERT_NE(stream, nullptr);
    std::string bytes(expected.size() + 16, '\0');
    ULONG read = 0;
    stream->Read(&bytes[0], static_cast<ULONG>(bytes.size()), &read);
    stream->Release();
    bytes.resize(read);
    EXPECT_EQ(bytes, expected);
}

TEST_F(SplashTest, TheSplashShowsTheImageCentredOnTheScreen) {
    g_keepAlive = 0;
    ASSERT_TRUE(CreateSplashWindow(GetModuleHandleA(nullptr), SW_SHOWNORMAL));
    ASSERT_NE(g_splashWnd, nullptr);
    ASSERT_NE(g_splashPicture, nullptr);
    PumpMessages();

    char className[32] = {};
    GetClassNameA(g_splashWnd, className, sizeof(className));
    EXPECT_STREQ(className, "Static");
    // The system adds WS_CLIPSIBLINGS to every top-level window.
    EXPECT_EQ(static_cast<DWORD>(GetWindowLongA(g_splashWnd, GWL_STYLE)) & ~(WS_VISIBLE | WS_CLIPSIBLINGS), 0x8000000Eu);
    EXPECT_EQ(GetWindowLongA(g_splashWnd, GWL_EXSTYLE) & WS_EX_TOOLWINDOW, WS_EX_TOOLWINDOW);
    EXPECT_TRUE(IsWindowVisible(g_splashWnd));
    EXPECT_EQ(g_splashCountdown, 2) << "no timeout property gives 2";

    RECT rect;
    GetWindowRect(g_splashWnd, &rect);
    EXPECT_EQ(rect.right - rect.left, 40);
    EXPECT_EQ(rect.bottom - rect.top, 30);
    int screenWidth = GetSystemMetrics(SM_CXSCREEN), screenHeight = GetSystemMetrics(SM_CYSCREEN);
    EXPECT_EQ(rect.left, (screenWidth - 40) / 2);
    EXPECT_EQ(rect.top, (screenHeight - 30) / 2);

    Screenshot shot;
    ASSERT_TRUE(TakeScreenshot("splash-bmp", &shot));
    ASSERT_EQ(shot.width, screenWidth);
    // The image's four quadrants: red, green / blue, yellow.
    struct Probe { int x, y; COLORREF colour; };
    const Probe probes[] = {{5, 5, RGB(255, 0, 0)}, {35, 5, RGB(0, 192, 0)},
                            {5, 25, RGB(0, 0, 255)}, {35, 25, RGB(255, 255, 0)}};
    for (const Probe& p : probes) {
        COLORREF seen = shot.Pixel(rect.left + p.x, rect.top + p.y);
        EXPECT_TRUE(ColourNear(seen, p.colour, 0))
            << "at " << p.x << "," << p.y << ": " << std::hex << seen << " instead of " << p.colour;
    }
}

TEST_F(SplashTest, KeepAliveAloneCreatesAHiddenWindowAndReadsNoSplashProperty) {
    g_splashActive = 0;
    ASSERT_TRUE(CreateSplashWindow(GetModuleHandleA(nullptr), SW_SHOWNORMAL));
    ASSERT_NE(g_splashWnd, nullptr);
    EXPECT_TRUE(IsWindow(g_splashWnd));
    EXPECT_FALSE(IsWindowVisible(g_splashWnd));
    EXPECT_EQ(g_splashPicture, nullptr);
    EXPECT_EQ(g_splashCountdown, 3) << "the countdown keeps its static value";
    // The hidden window serves the start-up timer.
    EXPECT_NE(SetTimer(g_splashWnd, kStartupTimerId, 1000, nullptr), 0u);
    KillTimer(g_splashWnd, kStartupTimerId);
}

TEST_F(SplashTest, WithSplashAndKeepAliveOffNoWindowIsCreated) {
    g_splashActive = 0;
    g_keepAlive = 0;
    EXPECT_TRUE(CreateSplashWindow(GetModuleHandleA(nullptr), SW_SHOWNORMAL));
    EXPECT_EQ(g_splashWnd, nullptr);
    EXPECT_EQ(g_splashPicture, nullptr);
}

TEST_F(SplashTest, TheSplashHonoursTheShowCommand) {
    g_keepAlive = 0;
    ASSERT_TRUE(CreateSplashWindow(GetModuleHandleA(nullptr), SW_SHOWMINNOACTIVE));
    EXPECT_TRUE(IsIconic(g_splashWnd));
}
