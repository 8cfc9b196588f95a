// The real launcher with no runtime to find: it shows the start failure
// dialog and ends with 1 however the dialog is closed.
#include <windows.h>

#include <psapi.h>
#include <richedit.h>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "base/PropertyIds.h"
#include "tests/support/Dialogs.h"
#include "tests/support/Paths.h"
#include "tests/ui/UiTestSupport.h"
#include "tools/jarstart-tool/Configure.h"

namespace {

std::string ConfiguredLauncher(const std::string& name, const std::map<int, std::string>& props) {
    std::string copy = MakeTempFolder("ui-launcher-" + name) + "launcher.exe";
    ConfigureRequest request;
    request.input = BuildDir() + "jarstart.exe";
    request.output = copy;
    for (int id = kFirstPropertyId; id <= kLastPropertyId; ++id) request.props[id] = "";
    for (const auto& prop : props) request.props[prop.first] = prop.second;
    request.props[101] = "app.jar";
    std::string error;
    EXPECT_TRUE(ConfigureLauncher(request, &error)) << error;
    return copy;
}

// Restores JAVA_HOME (which the Linux environment leaks into Wine) after a
// test that runs the launcher without it.
class WithoutJavaHome {
public:
    WithoutJavaHome() {
        char value[MAX_PATH] = {};
        m_had = GetEnvironmentVariableA("JAVA_HOME", value, MAX_PATH) > 0;
        m_value = value;
        SetEnvironmentVariableA("JAVA_HOME", nullptr);
    }
    ~WithoutJavaHome() {
        if (m_had) SetEnvironmentVariableA("JAVA_HOME", m_value.c_str());
    }

private:
    bool m_had;
    std::string m_value;
};

// Starts the launcher at exe with no arguments, as a double click does.
bool StartLauncher(const std::string& exe, PROCESS_INFORMATION* process) {
    std::string line = "\"" + exe + "\"";
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    return CreateProcessA(nullptr, &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, process) != FALSE;
}

// Waits for the launcher to end once its dialog is closed, ends it when it
// does not within 15 s, and closes its handles; true when it ended by itself.
bool EndLauncher(PROCESS_INFORMATION& process, DWORD* exitCode) {
    bool ended = WaitForSingleObject(process.hProcess, 15000) == WAIT_OBJECT_0;
    if (!ended) TerminateProcess(process.hProcess, 99);
    GetExitCodeProcess(process.hProcess, exitCode);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return ended;
}

// WM_GETTEXT, not GetWindowText: that one does not ask a window of another
// process for its text.
std::string RichEditText(HWND edit) {
    char text[1024] = {};
    SendMessageA(edit, WM_GETTEXT, sizeof(text), reinterpret_cast<LPARAM>(text));
    return text;
}

std::string Lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(tolower(c)); });
    return text;
}

}  // namespace

TEST(StartFailureE2ETest, NoRuntimeShowsTheDialogWithTheRuntimeKindAndVersionAndEndsWith1) {
    const char first[] = "This application cannot start since no appropriate JVM was found.\r\n";
    const char last[] = " or higher installed on your computer.\r\nPlease go to https://adoptium.net/ for installation instructions.";
    struct Case {
        const char* name;
        std::map<int, std::string> props;
        const char* secondLine;
        bool closeWithEscape;
    };
    const Case cases[] = {
        {"jre-default", {}, "It is required to have JRE version 1.3", false},
        {"jre-1.8", {{104, "1.8"}}, "It is required to have JRE version 1.8", true},
        {"jdk", {{105, "true"}}, "It is required to have JDK version 1.3", true},
        // A minimum that is no version is the default one, never "none".
        {"jre-typo", {{104, "eleven"}}, "It is required to have JRE version 1.3", true},
    };
    WithoutJavaHome noJavaHome;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::string exe = ConfiguredLauncher(c.name, c.props);
        PROCESS_INFORMATION process = {};
        ASSERT_TRUE(StartLauncher(exe, &process));

        HWND dialog = WaitForDialog(process.dwProcessId, 30000);
        char caption[128] = {};
        std::string text;
        LONG exStyle = 0;
        if (dialog) {
            GetWindowTextA(dialog, caption, sizeof(caption));
            text = RichEditText(GetDlgItem(dialog, 1004));
            exStyle = GetWindowLongA(dialog, GWL_EXSTYLE);
            if (c.closeWithEscape) {
                SetForegroundWindow(dialog);
                WaitUntil([&] { return GetForegroundWindow() == dialog; }, 5000);
                PressKey(VK_ESCAPE);
            } else {
                RECT button;
                GetWindowRect(GetDlgItem(dialog, IDOK), &button);
                ClickAt((button.left + button.right) / 2, (button.top + button.bottom) / 2);
            }
        }
        DWORD exitCode = 0;
        bool ended = EndLauncher(process, &exitCode);

        ASSERT_NE(dialog, nullptr) << "no dialog appeared";
        EXPECT_STREQ(caption, "Application Cannot Start");
        EXPECT_TRUE(exStyle & WS_EX_TOPMOST);
        EXPECT_EQ(text, std::string(first) + c.secondLine + last);
        EXPECT_TRUE(ended) << (c.closeWithEscape ? "Escape" : "OK") << " did not close the dialog";
        EXPECT_EQ(exitCode, 1u);
    }
}

TEST(StartFailureE2ETest, ARichEditLibraryPlantedBesideTheLauncherIsNotLoaded) {
    // A file of that name in the launcher's folder (a downloads folder, say)
    // must not run inside the launcher: the library the running dialog uses
    // comes from the system folder, and the dialog works.
    WithoutJavaHome noJavaHome;
    std::string exe = ConfiguredLauncher("planted", {});
    std::string folder = exe.substr(0, exe.find_last_of('\\') + 1);
    ASSERT_TRUE(CopyFileA(exe.c_str(), (folder + "RICHED32.DLL").c_str(), FALSE));
    PROCESS_INFORMATION process = {};
    ASSERT_TRUE(StartLauncher(exe, &process));
    HWND found = WaitForDialog(process.dwProcessId, 30000);
    std::string text = found ? RichEditText(GetDlgItem(found, 1004)) : std::string();
    std::vector<std::string> richEditModules;
    HMODULE modules[512];
    DWORD needed = 0;
    if (EnumProcessModules(process.hProcess, modules, sizeof(modules), &needed)) {
        for (DWORD i = 0; i < needed / sizeof(HMODULE) && i < 512; ++i) {
            char path[MAX_PATH] = {};
            GetModuleFileNameExA(process.hProcess, modules[i], path, MAX_PATH);
            std::string lower = Lower(path);
            if (lower.size() >= 12 && lower.compare(lower.size() - 12, 12, "riched32.dll") == 0) {
                richEditModules.push_back(lower);
            }
        }
    }
    if (found) PostMessageA(found, WM_COMMAND, IDOK, 0);
    DWORD exitCode = 0;
    bool ended = EndLauncher(process, &exitCode);

    ASSERT_NE(found, nullptr) << "the dialog could not be created";
    EXPECT_NE(text.find("https://adoptium.net/"), std::string::npos);
    char system[MAX_PATH] = {};
    GetSystemDirectoryA(system, MAX_PATH);
    ASSERT_EQ(richEditModules.size(), 1u);
    EXPECT_EQ(richEditModules[0], Lower(std::string(system) + "\\riched32.dll"));
    EXPECT_TRUE(ended);
}

namespace {

// The screen position inside the character at index of a rich-edit text in
// another process: the packed-result form of EM_POSFROMCHAR carries no
// pointer, so it works across processes.
POINT PointInCharacterOf(HWND edit, int index) {
    LRESULT here = SendMessageA(edit, EM_POSFROMCHAR, index, 0);
    LRESULT next = SendMessageA(edit, EM_POSFROMCHAR, index + 1, 0);
    POINT point = {(static_cast<short>(LOWORD(here)) + static_cast<short>(LOWORD(next))) / 2,
                   static_cast<short>(HIWORD(here)) + 6};
    ClientToScreen(edit, &point);
    return point;
}

}  // namespace

// The address opens by mouse and by keyboard alike. Each way runs in a
// launcher of its own: every address opened comes from a fresh process, as
// on a user's machine, and nothing one opening leaves in the test process's
// shell can decide the next.
TEST(StartFailureE2ETest, ALaunchersOwnDownloadAddressIsShownAndAClickOrTheKeyboardOpensIt) {
    const std::string address = "https://downloads.example.org/runtime17";
    for (bool keyboard : {false, true}) {
        SCOPED_TRACE(keyboard ? "keyboard: Tab to the text, then Space" : "a click on the link");
        RecordingBrowser browser;
        ASSERT_TRUE(browser.Ready());
        WithoutJavaHome noJavaHome;
        std::string exe = ConfiguredLauncher(keyboard ? "download-key" : "download-url", {{106, address}});
        PROCESS_INFORMATION process = {};
        ASSERT_TRUE(StartLauncher(exe, &process));
        HWND found = WaitForDialog(process.dwProcessId, 30000);
        std::string text, opened;
        HWND focusAtStart = nullptr, ok = nullptr, edit = nullptr, focusAfterTab = nullptr;
        if (found) {
            edit = GetDlgItem(found, 1004);
            ok = GetDlgItem(found, IDOK);
            text = RichEditText(edit);
            DWORD dialogThread = GetWindowThreadProcessId(found, nullptr);
            GUITHREADINFO info = {sizeof(info)};
            // No caret in the text: the message is not a field.
            if (GetGUIThreadInfo(dialogThread, &info)) focusAtStart = info.hwndFocus;
            if (keyboard) {
                SetForegroundWindow(found);
                WaitUntil([&] { return GetForegroundWindow() == found; }, 5000);
                PressKey(VK_TAB);
                WaitUntil([&] { return GetGUIThreadInfo(dialogThread, &info) && info.hwndFocus == edit; }, 5000);
                focusAfterTab = info.hwndFocus;
                PressKey(VK_SPACE);
            } else {
                // The control's own text: one "\r" per line end, as it counts them.
                std::string counted = text;
                counted.erase(std::remove(counted.begin(), counted.end(), '\n'), counted.end());
                int link = static_cast<int>(counted.find("downloads.example"));
                if (link >= 0) {
                    POINT press = PointInCharacterOf(edit, link + 3);
                    ClickAt(press.x, press.y);
                }
            }
            WaitUntil([&] { return !browser.Opened().empty(); }, 15000);
            opened = browser.Opened();
            PostMessageA(found, WM_COMMAND, IDOK, 0);
        }
        DWORD exitCode = 0;
        bool ended = EndLauncher(process, &exitCode);

        ASSERT_NE(found, nullptr) << "no dialog appeared";
        EXPECT_NE(text.find("Please go to " + address + " for installation instructions."), std::string::npos) << text;
        EXPECT_EQ(text.find("adoptium"), std::string::npos) << text;
        EXPECT_EQ(focusAtStart, ok);
        if (keyboard) {
            EXPECT_EQ(focusAfterTab, edit);
        }
        EXPECT_EQ(opened, address + "\n");
        EXPECT_TRUE(ended);
        EXPECT_EQ(exitCode, 1u);
    }
}
