// A copy of this test program, given another splash image as its resource
// 104, stands in for a configured launcher: started with
//   --splash-child <result file>
// it creates the splash as the launch sequence does and never runs a test.
// On success it writes "left top right bottom visible" to the result file and
// keeps the splash up (handling its messages) until it is ended; when the
// splash cannot be created it exits with 1.
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "base/Globals.h"
#include "ui/Splash.h"

namespace {

int RunSplashChild(const std::string& resultFile) {
    g_splashActive = 1;
    g_keepAlive = 0;
    if (!CreateSplashWindow(GetModuleHandleA(nullptr), SW_SHOWNORMAL)) return 1;
    RECT rect = {};
    GetWindowRect(g_splashWnd, &rect);
    std::string temp = resultFile + ".part";
    if (FILE* out = std::fopen(temp.c_str(), "w")) {
        std::fprintf(out, "%ld %ld %ld %ld %d", rect.left, rect.top, rect.right, rect.bottom,
                     IsWindowVisible(g_splashWnd) ? 1 : 0);
        std::fclose(out);
        MoveFileA(temp.c_str(), resultFile.c_str());
    }
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) DispatchMessageA(&message);
    return 0;
}

// Runs before the test runner's main, so that the child never starts it.
struct SplashChildMode {
    SplashChildMode() {
        const char* commandLine = GetCommandLineA();
        const char* flag = std::strstr(commandLine, " --splash-child ");
        if (!flag) return;
        std::string resultFile = flag + std::strlen(" --splash-child ");
        ExitProcess(static_cast<UINT>(RunSplashChild(resultFile)));
    }
} s_splashChildMode;

}  // namespace
