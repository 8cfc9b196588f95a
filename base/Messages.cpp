#include "base/Messages.h"

#include "framework/Text.h"

#include "base/Globals.h"
#include "base/StandardError.h"

namespace {

// A console program that stops to wait for a click would hang scripts; its
// caller reads standard error instead.
void ShowMessage(const char* text, UINT icon) {
    if (g_consoleLauncher) WriteStandardError(PrefixLines(LauncherFileName(), text));
    else MessageBoxA(nullptr, text, "", icon);
}

}  // namespace

void ShowErrorMessage(const char* text) {
    ShowMessage(text, MB_ICONERROR);
}

void ShowInfoMessage(const char* text) {
    ShowMessage(text, MB_ICONINFORMATION);
}

CString SystemErrorText(DWORD error) {
    char* message = nullptr;
    DWORD length = FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                                      FORMAT_MESSAGE_IGNORE_INSERTS,
                                  nullptr, error, 0, reinterpret_cast<char*>(&message), 0, nullptr);
    if (length == 0 || !message) {
        // Not snprintf: that would link a whole printf engine into the
        // launcher for this one line.
        Text fallback = "Windows error " + ToText(static_cast<unsigned long>(error));
        return CString(fallback.c_str());
    }
    // The system text ends in CR LF; in a message box that is an empty line.
    while (length > 0 && (message[length - 1] == '\r' || message[length - 1] == '\n' || message[length - 1] == ' '))
        --length;
    CString text(message, static_cast<int>(length));
    LocalFree(message);
    return text;
}
