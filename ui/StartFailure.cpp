#include "ui/StartFailure.h"

#include <windows.h>

#include "framework/AppModule.h"
#include "launcher/Globals.h"
#include "ui/NagScreen.h"
#include "ui/Ole.h"
#include "ui/RichEditLibrary.h"
#include "ui/SystemLibrary.h"

const char* const kDownloadPage = "https://adoptium.net/";

CString ComposeStartFailureMessage(bool jdkOnly, const char* minVersion) {
    CString message = "This application cannot start since no appropriate JVM was found.\n";
    message += jdkOnly ? "It is required to have JDK version " : "It is required to have JRE version ";
    message += minVersion;
    message += " or higher installed on your computer.\n";
    message += "Please go to ";
    message += kDownloadPage;
    message += " for installation instructions.";
    return message;
}

int ShowStartFailure() {
    InitializeOle();
    typedef void(WINAPI * InitCommonControlsFn)();
    InitCommonControlsFn initCommonControls =
        reinterpret_cast<InitCommonControlsFn>(GetSystemLibraryFunction("comctl32.dll", "InitCommonControls"));
    if (initCommonControls) initCommonControls();
    LoadRichEditLibrary();

    // The dialog runs the system's own modal loop; the loop object is
    // registered for the framework's sake only.
    CMessageLoop loop;
    BOOL registered = _Module.AddMessageLoop(&loop);

    CString message = ComposeStartFailureMessage(g_searchJdkOnly != 0, g_minJavaVersion);
    NagScreen dialog("Application Cannot Start", kDownloadPage, message, 55);
    dialog.RunModal(GetActiveWindow(), 0);

    if (registered) _Module.RemoveMessageLoop();
    return 1;
}
