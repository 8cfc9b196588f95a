// The dialog helpers read and close real dialogs: a message box and a
// dialog with a rich-edit control, each run by a thread of this process.
#include <windows.h>

#include <atomic>
#include <thread>

#include <gtest/gtest.h>

#include "tests/support/Dialogs.h"
#include "tests/support/Files.h"

TEST(DialogsTest, ReadsAMessageBoxAndPressesItsOkButton) {
    struct Case {
        const char* caption;
        const char* text;
        UINT style;
    };
    const Case cases[] = {
        {"", "Short", MB_OK | MB_ICONERROR},
        {"Caption", "A longer text\nover two lines", MB_OK | MB_ICONINFORMATION},
        {"Choice", "Press OK or Cancel", MB_OKCANCEL},
    };
    for (const Case& c : cases) {
        std::atomic<int> answer{0};
        std::thread box([&] { answer = MessageBoxA(nullptr, c.text, c.caption, c.style); });
        HWND dialog = WaitForDialog(GetCurrentProcessId(), 15000);
        EXPECT_NE(dialog, nullptr) << c.text;
        if (dialog) {
            EXPECT_EQ(GetWindowTextString(dialog), c.caption);
            EXPECT_EQ(GetDialogText(dialog), c.text);
            EXPECT_EQ(GetClassNameString(dialog), "#32770");
            PressDialogButton(dialog, IDOK);
        }
        box.join();
        EXPECT_EQ(answer, IDOK) << c.text;
    }
}

TEST(DialogsTest, ReadsTheTextOfTheRichEditControl) {
    ASSERT_NE(LoadLibraryA("riched20.dll"), nullptr);
    const char text[] = "Line one\r\nhttp://example.invalid/download";
    std::atomic<bool> done{false};
    std::thread owner([&] {
        HWND dialog = CreateWindowExA(0, "#32770", "Rich", WS_POPUP | WS_CAPTION, 10, 10, 300, 200, nullptr,
                                      nullptr, nullptr, nullptr);
        HWND edit = CreateWindowExA(0, "RichEdit20A", "", WS_CHILD | WS_VISIBLE | ES_MULTILINE | ES_READONLY, 5, 5, 280,
                                    100, dialog, reinterpret_cast<HMENU>(1004), nullptr, nullptr);
        SendMessageA(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text));
        // Shown when complete, as a dialog is after its initialisation.
        ShowWindow(dialog, SW_SHOW);
        while (!done) {
            MSG msg;
            while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
        }
        DestroyWindow(dialog);
    });
    HWND dialog = WaitForDialog(GetCurrentProcessId(), 15000);
    EXPECT_NE(dialog, nullptr);
    std::string read = dialog ? GetDialogText(dialog) : std::string();
    done = true;
    owner.join();
    // The control keeps paragraphs apart with a lone CR.
    EXPECT_TRUE(read == text || read == "Line one\rhttp://example.invalid/download") << "[" << read << "]";
}
