#include "launcher/InProcessStart.h"

#include <windows.h>

#include "base/DiagnosticLog.h"
#include "base/Environment.h"
#include "base/Globals.h"
#include "base/LauncherProperties.h"
#include "base/PropertyIds.h"
#include "framework/Text.h"
#include "launcher/JvmOptions.h"
#include "process/JvmOutput.h"
#include "runtime/BootClassPath.h"
#include "runtime/ExeMachine.h"
#include "runtime/JavaRelease.h"
#include "runtime/JvmLibrary.h"
#include "ui/SystemLibrary.h"

namespace {

bool NotPossible(const CString& reason) {
    g_log << "In-process start not possible: " << reason << logEnd;
    return false;
}

// java reads JDK_JAVA_OPTIONS since 9; an older runtime's java ignores it.
CString ReadJdkJavaOptions(const CString& runtimeHome) {
    if (!IsJava9OrLaterHome(runtimeHome)) return CString();
    DWORD size = GetEnvironmentVariableA("JDK_JAVA_OPTIONS", nullptr, 0);
    if (size == 0) return CString();
    CString value;
    char* buffer = value.GetBuffer(static_cast<int>(size));
    if (!buffer) return CString();
    GetEnvironmentVariableA("JDK_JAVA_OPTIONS", buffer, size);
    value.ReleaseBuffer();
    if (!value.IsEmpty()) g_log << "Picked up JDK_JAVA_OPTIONS: " << value << logEnd;
    return value;
}

}  // namespace

bool PrepareInProcessStart(const CString& javaPath, const CString& vmParameters, const StartTarget& target,
                           const LauncherOptions& options, bool captureOutput, JvmRunRequest* request) {
    CString home = HomeOfJavaProgram(javaPath);
    if (home.IsEmpty()) return NotPossible(javaPath + " is in no runtime's bin folder");
    JvmLibraryChoice choice = ChooseJvmLibrary(home, OwnMachine());
    if (!choice.possible) return NotPossible(choice.reason);
    // The VM takes the standard handles as it loads and starts.
    if (captureOutput && !CaptureApplicationOutput()) write("ERROR: Cannot capture the application's output.");
    CString why;
    if (!LoadJvm(choice.path, choice.binFolder, &request->jvm, &why)) return NotPossible(why);
    g_log << "In-process start: " << choice.path << logEnd;

    CString bootClassPath = g_searchJdkOnly ? BuildBootClassPath() : CString();
    Text passThrough = options.GetArguments();
    TextList ansiArguments;
    SplitCommandLineWords(passThrough.c_str(), &ansiArguments);
    CString jdkJavaOptions = ReadJdkJavaOptions(home);

    JvmOptionInputs inputs;
    inputs.vmParameters = vmParameters;
    inputs.jdkJavaOptions = jdkJavaOptions;
    inputs.bootClassPath = bootClassPath;
    inputs.target = &target;
    inputs.arguments = &ansiArguments;
    JvmStartPlan plan;
    ComposeJvmOptions(inputs, &plan);
    for (int i = 0; i < plan.dropped.Count(); ++i) g_log << "Not passed to the VM: " << plan.dropped[i] << logEnd;
    for (int i = 0; i < plan.options.Count(); ++i) {
        g_log << "VM option: " << plan.options[i] << logEnd;
        request->options.Add(plan.options[i]);
    }
    request->mode = plan.mode;
    request->what = plan.what;
    TakePassThroughArguments(passThrough.c_str(), GetCommandLineW(), &request->arguments);
    request->stackSize = plan.stackSize ? plan.stackSize : DefaultJvmStackSize(request->jvm);
    return true;
}

void TakeApplicationId() {
    CString id = ReadStringProperty(PROP_APP_ID);
    if (id.IsEmpty()) return;
    g_log << "PROP_APP_ID: " << id << logEnd;
    wchar_t wide[260];
    if (MultiByteToWideChar(CP_ACP, 0, id, -1, wide, 260) == 0) {
        write("ERROR: Cannot set the application id.");
        return;
    }
    // Looked up, not imported: Windows before 7 has no application ids and
    // must still start the launcher. shell32 comes from the system folder
    // only and stays loaded, as the id lives in it for the process's life.
    typedef HRESULT(WINAPI * SetAppIdFunction)(const wchar_t*);
    SetAppIdFunction setAppId = reinterpret_cast<SetAppIdFunction>(
        GetSystemLibraryFunction("shell32.dll", "SetCurrentProcessExplicitAppUserModelID"));
    if (!setAppId || FAILED(setAppId(wide))) write("ERROR: Cannot set the application id.");
}
