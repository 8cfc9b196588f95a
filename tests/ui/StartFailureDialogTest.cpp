// The start failure dialog as the user meets it: a real modal dialog on the
// display, inspected and driven from a second thread with real input.
#include "ui/StartFailure.h"

#include <windows.h>
#include <commctrl.h>
#include <richedit.h>

#include <atomic>
#include <string>
#include <thread>

#include <gtest/gtest.h>

#include "base/Globals.h"
#include "tests/support/Paths.h"
#include "tests/ui/UiTestSupport.h"
#include "ui/NagScreen.h"
#include "ui/RichEditLibrary.h"

namespace {

const char kCaption[] = "Application Cannot Start";

struct DialogSearch {
    bool visibleOnly;
    HWND found;
};

BOOL CALLBACK TakeDialog(HWND window, LPARAM param) {
    DialogSearch* search = reinterpret_cast<DialogSearch*>(param);
    char className[64] = {};
    GetClassNameA(window, className, sizeof(className));
    if (std::string(className) == "#32770" && (!search->visibleOnly || IsWindowVisible(window))) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

HWND FindDialog(DWORD threadId, bool visibleOnly) {
    DialogSearch search = {visibleOnly, nullptr};
    EnumThreadWindows(threadId, TakeDialog, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// Shows the dialog with show() on this thread while drive() runs on a second
// thread once the dialog is visible. drive() must close the dialog. Whatever
// drive() does, and even when the dialog shows late or a check in drive()
// gave up early, the dialog never outlives the test: until show() returns,
// every dialog of this thread is closed again and again, so a failure costs
// seconds, not the test program's time limit. Returns what show() returned;
// *closedByDrive tells whether drive() closed it.
template <class Show, class Drive>
INT_PTR WhileDialogRuns(Show show, Drive drive, bool* closedByDrive) {
    DWORD dialogThread = GetCurrentThreadId();
    *closedByDrive = false;
    std::atomic<bool> returned(false);
    std::thread driver([&] {
        HWND dialog = nullptr;
        WaitUntil([&] { return returned || (dialog = FindDialog(dialogThread, true)) != nullptr; }, 15000);
        if (dialog) {
            drive(dialog);
            *closedByDrive = WaitUntil([&] { return !IsWindow(dialog); }, 10000);
        }
        while (!returned) {
            HWND left = FindDialog(dialogThread, false);
            if (left) PostMessageA(left, WM_COMMAND, IDOK, 0);
            Sleep(50);
        }
    });
    INT_PTR result = show();
    returned = true;
    driver.join();
    return result;
}

INT_PTR RunNagScreen() {
    InitCommonControls();
    LoadRichEditLibrary();
    NagScreen dialog(kCaption, kDownloadPage, ComposeStartFailureMessage(false, "1.3"), 55);
    return dialog.RunModal(nullptr, 0);
}

std::string WindowText(HWND window) {
    char text[1024] = {};
    GetWindowTextA(window, text, sizeof(text));
    return text;
}

// The text as the control holds it: one "\r" per paragraph end.
std::string RichEditText(HWND edit) {
    char text[1024] = {};
    GETTEXTEX request = {};
    request.cb = sizeof(text);
    request.flags = GT_DEFAULT;
    request.codepage = CP_ACP;
    SendMessageA(edit, EM_GETTEXTEX, reinterpret_cast<WPARAM>(&request), reinterpret_cast<LPARAM>(text));
    return text;
}

std::string WithCarriageReturns(std::string text) {
    for (char& c : text) {
        if (c == '\n') c = '\r';
    }
    return text;
}

// Screen position inside the character at index of the edit's text.
POINT PointInCharacter(HWND edit, int index) {
    POINTL here = {}, next = {};
    SendMessageA(edit, EM_POSFROMCHAR, reinterpret_cast<WPARAM>(&here), index);
    SendMessageA(edit, EM_POSFROMCHAR, reinterpret_cast<WPARAM>(&next), index + 1);
    POINT point = {(here.x + next.x) / 2, here.y + 6};
    ClientToScreen(edit, &point);
    return point;
}

}  // namespace

TEST(StartFailureDialogTest, IsATopmostDialogWithoutCloseBoxCentredInTheWorkArea) {
    std::string caption;
    LONG style = 0, exStyle = 0;
    RECT rect = {}, workArea = {};
    Screenshot shot;
    bool shotTaken = false;
    bool closed = false;
    int result = static_cast<int>(WhileDialogRuns(
        [] { return static_cast<INT_PTR>(ShowStartFailure()); },
        [&](HWND dialog) {
            caption = WindowText(dialog);
            style = GetWindowLongA(dialog, GWL_STYLE);
            exStyle = GetWindowLongA(dialog, GWL_EXSTYLE);
            GetWindowRect(dialog, &rect);
            SystemParametersInfoA(SPI_GETWORKAREA, 0, &workArea, 0);
            shotTaken = TakeScreenshot("start-failure-dialog", &shot);
            PostMessageA(dialog, WM_COMMAND, IDOK, 0);
        },
        &closed));

    EXPECT_EQ(result, 1);
    ASSERT_TRUE(closed) << "the dialog did not appear or did not close";
    EXPECT_EQ(caption, kCaption);
    EXPECT_TRUE(exStyle & WS_EX_TOPMOST);
    EXPECT_FALSE(style & WS_SYSMENU) << "a system menu brings a close box";
    EXPECT_TRUE(style & WS_CAPTION);
    int width = rect.right - rect.left, height = rect.bottom - rect.top;
    EXPECT_GT(width, 0);
    EXPECT_EQ(rect.left, (workArea.left + workArea.right) / 2 - width / 2);
    EXPECT_EQ(rect.top, (workArea.top + workArea.bottom) / 2 - height / 2);
    ASSERT_TRUE(shotTaken);
    // The dialog is on the screen where the system says it is: its face
    // colour fills the space between the text and the button.
    EXPECT_TRUE(ColourNear(shot.Pixel(rect.left + 8, rect.bottom - 8), GetSysColor(COLOR_BTNFACE), 8));
}

TEST(StartFailureDialogTest, ShowsTheThreeLinesForTheRuntimeKindWithNothingSelected) {
    struct Case { int jdkOnly; const char* minVersion; };
    const Case cases[] = {{0, "1.3"}, {1, "1.6.0_10"}};
    int savedJdkOnly = g_searchJdkOnly;
    CString savedVersion = g_minJavaVersion;
    for (const Case& c : cases) {
        g_searchJdkOnly = c.jdkOnly;
        g_minJavaVersion = c.minVersion;
        std::string text;
        CHARRANGE selection = {-2, -2};
        bool closed = false;
        WhileDialogRuns([] { return static_cast<INT_PTR>(ShowStartFailure()); },
                        [&](HWND dialog) {
                            HWND edit = GetDlgItem(dialog, NagScreen::IDC_MESSAGE);
                            text = RichEditText(edit);
                            SendMessageA(edit, EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&selection));
                            PostMessageA(dialog, WM_COMMAND, IDOK, 0);
                        },
                        &closed);
        ASSERT_TRUE(closed);
        EXPECT_EQ(text, WithCarriageReturns(std::string(ComposeStartFailureMessage(c.jdkOnly != 0, c.minVersion))));
        EXPECT_NE(text.find(c.jdkOnly ? "have JDK version " : "have JRE version "), std::string::npos);
        EXPECT_EQ(selection.cpMin, selection.cpMax) << "selected " << selection.cpMin << ".." << selection.cpMax;
    }
    g_searchJdkOnly = savedJdkOnly;
    g_minJavaVersion = savedVersion;
}

TEST(StartFailureDialogTest, EscapeClosesItLikeCancel) {
    bool closed = false;
    INT_PTR result = WhileDialogRuns(RunNagScreen,
                                     [](HWND dialog) {
                                         SetForegroundWindow(dialog);
                                         WaitUntil([&] { return GetForegroundWindow() == dialog; }, 5000);
                                         PressKey(VK_ESCAPE);
                                     },
                                     &closed);
    EXPECT_TRUE(closed);
    EXPECT_EQ(result, IDCANCEL);
}

TEST(StartFailureDialogTest, AClickOnOkClosesIt) {
    bool closed = false;
    INT_PTR result = WhileDialogRuns(RunNagScreen,
                                     [](HWND dialog) {
                                         RECT button;
                                         GetWindowRect(GetDlgItem(dialog, IDOK), &button);
                                         ClickAt((button.left + button.right) / 2, (button.top + button.bottom) / 2);
                                     },
                                     &closed);
    EXPECT_TRUE(closed);
    EXPECT_EQ(result, IDOK);
}

TEST(StartFailureDialogTest, APressOnTheLinkOpensTheAddressOnceAndTheDialogStaysOpen) {
    RecordingBrowser browser;
    ASSERT_TRUE(browser.Ready());
    std::string afterMove, afterClick, afterSettle;
    bool openAfterClick = false;
    bool closed = false;
    WhileDialogRuns(RunNagScreen,
                    [&](HWND dialog) {
                        HWND edit = GetDlgItem(dialog, NagScreen::IDC_MESSAGE);
                        std::string text = RichEditText(edit);
                        int link = static_cast<int>(text.find("adoptium"));
                        // Moving over the link opens nothing. Proving that
                        // something does not happen needs a bounded wait.
                        POINT over = PointInCharacter(edit, link + 1);
                        MovePointerTo(over.x, over.y);
                        MovePointerTo(over.x + 3, over.y);
                        WaitUntil([&] { return !browser.Opened().empty(); }, 2000);
                        afterMove = browser.Opened();

                        POINT press = PointInCharacter(edit, link + 3);
                        ClickAt(press.x, press.y);
                        WaitUntil([&] { return !browser.Opened().empty(); }, 15000);
                        afterClick = browser.Opened();
                        WaitUntil([&] { return browser.Opened() != afterClick; }, 2000);
                        afterSettle = browser.Opened();
                        openAfterClick = IsWindowVisible(dialog) != FALSE;
                        PostMessageA(dialog, WM_COMMAND, IDOK, 0);
                    },
                    &closed);
    EXPECT_TRUE(closed);
    EXPECT_EQ(afterMove, "");
    EXPECT_EQ(afterClick, std::string(kDownloadPage) + "\n");
    EXPECT_EQ(afterSettle, afterClick) << "opened more than once";
    EXPECT_TRUE(openAfterClick);
}

