#include "ui/Splash.h"

#include <cstdlib>

#include "base/Globals.h"
#include "base/LauncherProperties.h"
#include "base/Messages.h"
#include "base/PropertyIds.h"
#include "framework/ScopedWin.h"
#include "ui/BitmapFile.h"
#include "ui/Ole.h"

namespace {

const DWORD kSplashStyle = WS_POPUP | SS_BITMAP;  // 0x8000000E: no frame, sizes itself to its bitmap

// The bitmap the window shows belongs to the picture, so the picture lives
// until the process ends, after the window is gone. Registered when a
// picture is loaded, not as a static object: the console launcher, which
// shows none, carries no splash code.
void ReleaseSplashPicture() {
    ReleasePicture(g_splashPicture);
}

// Centres on the whole primary screen, not the work area. An image larger
// than the screen gets a negative position, truncated toward zero.
void CentreOnScreen(HWND window) {
    RECT rect;
    GetWindowRect(window, &rect);
    int x = (GetSystemMetrics(SM_CXSCREEN) + rect.left - rect.right) / 2;
    int y = (GetSystemMetrics(SM_CYSCREEN) + rect.top - rect.bottom) / 2;
    SetWindowPos(window, HWND_TOP, x, y, 0, 0, SWP_NOSIZE);
}

}  // namespace

IStream* LoadSplashImageStream() {
    IStream* stream = CreateMemoryStream();
    if (!stream) return nullptr;
    HMODULE module = GetModuleHandleA(nullptr);
    // A missing resource is not reported here: the stream stays empty and
    // the picture load fails on it with the same message as a bad image.
    HRSRC resource = FindResourceA(module, MAKEINTRESOURCEA(kSplashResourceId), MAKEINTRESOURCEA(kSplashResourceType));
    if (resource) {
        HGLOBAL data = LoadResource(module, resource);
        const void* bytes = data ? LockResource(data) : nullptr;
        DWORD size = SizeofResource(module, resource);
        // A BMP file cut short is left out, so that it fails to load like any
        // other broken image instead of being shown with whatever follows it.
        if (bytes && size > 0 && !IsIncompleteBitmapFile(static_cast<const unsigned char*>(bytes), size))
            stream->Write(bytes, size, nullptr);
    }
    LARGE_INTEGER start = {};
    stream->Seek(start, STREAM_SEEK_SET, nullptr);
    return stream;
}

bool PrepareSplash() {
    g_splashPrepared = 1;
    // PROP_SHOW_START_ERRORS watches the start as the splash does, with the
    // window hidden.
    bool watchOnly = !g_splashActive && g_showStartErrors;
    if (!g_splashActive && !watchOnly) return true;

    g_splashCountdown = ReadIntProperty(PROP_SPLASH_TIMEOUT);
    if (g_splashCountdown < 1) g_splashCountdown = 2;
    // A start whose window is up is over: an error after it is the
    // application's own business, not a failed start.
    g_watchAppWindow = g_showStartErrors || ReadBoolProperty(PROP_WATCH_APP_WINDOW) ? 1 : 0;
    if (watchOnly) {
        g_splashActive = 1;
        return true;
    }
    ScopedComPtr<IStream> stream(LoadSplashImageStream());
    g_splashPicture = LoadPicture(stream);
    if (!g_splashPicture) {
        g_splashPrepared = 0;
        ShowErrorMessage("Cannot load splash screen. Probably unsupported or invalid file.");
        return false;
    }
    static bool s_releaseAtExit = false;
    if (!s_releaseAtExit) s_releaseAtExit = std::atexit(ReleaseSplashPicture) == 0;
    return true;
}

bool CreateSplashWindow(HINSTANCE instance, int showCommand) {
    if (!g_splashPrepared && !PrepareSplash()) return false;
    g_splashPrepared = 0;
    // After PrepareSplash the watch of PROP_SHOW_START_ERRORS counts as the
    // splash; only a loaded picture is shown.
    if (!g_splashActive && !g_keepAlive) return true;
    g_splashWnd = CreateWindowExA(WS_EX_TOOLWINDOW, "STATIC", "", kSplashStyle, 0, 0, CW_USEDEFAULT, CW_USEDEFAULT,
                                  nullptr, nullptr, instance, nullptr);
    // Without the picture the window only owns the start-up timer.
    if (!g_splashPicture || !g_splashActive) return true;
    BringWindowToTop(g_splashWnd);
    // The static control takes the bitmap's size.
    SendMessageA(g_splashWnd, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(GetPictureHandle(g_splashPicture)));
    CentreOnScreen(g_splashWnd);
    // Painted now: the message loop runs only after this returns.
    ShowWindow(g_splashWnd, showCommand);
    UpdateWindow(g_splashWnd);
    return true;
}
