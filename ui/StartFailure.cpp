#include "ui/StartFailure.h"

#include <windows.h>

#include "framework/AppModule.h"
#include "base/Globals.h"
#include "base/LauncherProperties.h"
#include "base/PropertyIds.h"
#include "ui/NagScreen.h"
#include "ui/Ole.h"
#include "ui/RichEditLibrary.h"
#include "ui/SystemLibrary.h"

const char* const kDownloadPage = "https://adoptium.net/";

CString StartFailureDownloadPage() {
    CString page = ReadStringProperty(PROP_DOWNLOAD_URL);
    if (page.IsEmpty()) page = kDownloadPage;
    return page;
}

CString ComposeStartFailureMessage(bool jdkOnly, const char* minVersion, const char* downloadPage,
                                   const char* maxVersion) {
    CString message = "This application cannot start since no appropriate JVM was found.\n";
    message += jdkOnly ? "It is required to have JDK version " : "It is required to have JRE version ";
    message += minVersion;
    // With a maximum, "or higher" would ask a user whose newer runtime was
    // refused for exactly what he has.
    if (maxVersion && *maxVersion) {
        message += " to ";
        message += maxVersion;
        message += " installed on your computer.\n";
    } else {
        message += " or higher installed on your computer.\n";
    }
    message += "Please go to ";
    message += downloadPage;
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

    // The same address is shown and opened: the link is the text itself.
    CString page = StartFailureDownloadPage();
    CString message = ComposeStartFailureMessage(g_searchJdkOnly != 0, g_minJavaVersion, page, g_maxJavaVersion);
    NagScreen dialog("Application Cannot Start", page, message, 55);
    dialog.RunModal(GetActiveWindow(), 0);

    if (registered) _Module.RemoveMessageLoop();
    return 1;
}
