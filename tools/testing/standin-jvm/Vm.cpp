// The stand-in VM's exports and invocation interface: it starts once per
// process, checks its options as a VM does, and records what it was given.
#include <windows.h>

#include <cstdarg>
#include <cstdio>
#include <mutex>
#include <set>
#include <string>

#include "tools/testing/standin-jvm/Record.h"
#include "tools/testing/standin-jvm/StandInJvm.h"
#include "tools/testing/standin-jvm/StandInRuntime.h"
#include "tools/testing/standin-jvm/Vm.h"

#define STANDIN_EXPORT extern "C" __declspec(dllexport)

namespace {

std::mutex g_attachLock;
std::set<DWORD> g_attached;

bool StartsWith(const std::string& text, const char* prefix) { return text.compare(0, strlen(prefix), prefix) == 0; }

// The options a VM itself understands. The ones that take a value need it
// after '=': the java program turns "--add-opens x" into "--add-opens=x"
// before it reaches the VM. Options only the java program knows (-jar, -cp,
// -m, -splash:, -client, -server, @file) are unknown here.
bool IsKnownOption(const std::string& option) {
    static const char* const kPrefixes[] = {
        "-D", "-X", "-verbose", "-ea", "-da", "-enableassertions", "-disableassertions", "-esa", "-dsa",
        "-enablesystemassertions", "-disablesystemassertions", "-agentlib:", "-agentpath:", "-javaagent:",
        "--add-opens=", "--add-exports=", "--add-modules=", "--add-reads=", "--module-path=",
        "--upgrade-module-path=", "--limit-modules=", "--patch-module=", "--enable-native-access=",
    };
    for (const char* prefix : kPrefixes)
        if (StartsWith(option, prefix)) return true;
    return option == "--enable-preview";
}

bool IsSupportedVersion(jint version) {
    switch (version) {
    case JNI_VERSION_1_2: case JNI_VERSION_1_4: case JNI_VERSION_1_6: case JNI_VERSION_1_8:
    case 0x00090000: case 0x000a0000: case 0x00130000: case 0x00140000: case 0x00150000:
        return true;
    default:
        return false;
    }
}

void Attach() {
    std::lock_guard<std::mutex> hold(g_attachLock);
    g_attached.insert(GetCurrentThreadId());
}

bool IsAttached() {
    std::lock_guard<std::mutex> hold(g_attachLock);
    return g_attached.count(GetCurrentThreadId()) != 0;
}

jint Refuse(jint code, const std::string& why) {
    RecordAdd("refusal", why);
    RecordAdd("created", std::to_string(code));
    return code;
}

// The process's application id, or "" with *unknown set when the system
// cannot tell (Wine takes the id but answers E_NOTIMPL when asked for it).
std::string AppUserModelId(bool* unknown) {
    typedef HRESULT(WINAPI * GetIdFunction)(PWSTR*);
    HMODULE shell = LoadLibraryA("shell32.dll");
    GetIdFunction get = shell ? reinterpret_cast<GetIdFunction>(
                                    GetProcAddress(shell, "GetCurrentProcessExplicitAppUserModelID"))
                              : nullptr;
    PWSTR id = nullptr;
    std::string utf8;
    HRESULT result = get ? get(&id) : E_NOTIMPL;
    *unknown = result == E_NOTIMPL;
    if (SUCCEEDED(result) && id) {
        int size = WideCharToMultiByte(CP_UTF8, 0, id, -1, nullptr, 0, nullptr, nullptr);
        if (size > 1) {
            utf8.assign(size - 1, '\0');
            WideCharToMultiByte(CP_UTF8, 0, id, -1, &utf8[0], size, nullptr, nullptr);
        }
        CoTaskMemFree(id);
    }
    return utf8;
}

// --- the invocation interface ---

jint JARSTART_JNICALL DestroyJavaVM(JavaVM*) {
    bool waited = WaitForNonDaemonThreads();
    if (waited) RecordAdd("destroyWaited", "1");
    RecordAdd("destroyed", "1");
    return JNI_OK;
}

jint JARSTART_JNICALL AttachCurrentThread(JavaVM*, void** env, void*) {
    Attach();
    *env = StandInEnv();
    return JNI_OK;
}

jint JARSTART_JNICALL DetachCurrentThread(JavaVM*) {
    std::lock_guard<std::mutex> hold(g_attachLock);
    return g_attached.erase(GetCurrentThreadId()) ? JNI_OK : JNI_EDETACHED;
}

jint JARSTART_JNICALL GetEnv(JavaVM*, void** env, jint version) {
    if (!IsAttached()) {
        *env = nullptr;
        return JNI_EDETACHED;
    }
    if (!IsSupportedVersion(version)) {
        *env = nullptr;
        return JNI_EVERSION;
    }
    *env = StandInEnv();
    return JNI_OK;
}

const JNIInvokeInterface_ kInvokeTable = {
    nullptr, nullptr, nullptr, DestroyJavaVM, AttachCurrentThread, DetachCurrentThread, GetEnv, AttachCurrentThread,
};
const JNIInvokeInterface_* g_vm = &kInvokeTable;

}  // namespace

VmState& Vm() {
    static VmState state;
    return state;
}

void VmPrint(const char* format, ...) {
    va_list arguments;
    va_start(arguments, format);
    // A VM hands the hook its own C runtime's stream; the launcher must not
    // use it with another C runtime.
    if (Vm().vfprintfHook) Vm().vfprintfHook(stderr, format, arguments);
    else vfprintf(stderr, format, arguments);
    va_end(arguments);
}

STANDIN_EXPORT jint JARSTART_JNICALL JNI_GetDefaultJavaVMInitArgs(void* args) {
    jint* version = static_cast<jint*>(args);
    if (*version == JNI_VERSION_1_1) {
        // The default stack of a Java thread: 1 MB on 64-bit, 320 KB on
        // 32-bit, as the documented VMs give.
        static_cast<JDK1_1InitArgs*>(args)->javaStackSize = sizeof(void*) == 8 ? 1024 * 1024 : 320 * 1024;
        return JNI_OK;
    }
    return IsSupportedVersion(*version) ? JNI_OK : JNI_EVERSION;
}

STANDIN_EXPORT jint JARSTART_JNICALL JNI_GetCreatedJavaVMs(JavaVM** vms, jsize count, jsize* found) {
    jsize n = Vm().created ? 1 : 0;
    if (found) *found = n;
    if (n == 1 && count >= 1 && vms) vms[0] = const_cast<JavaVM*>(&g_vm);
    return JNI_OK;
}

STANDIN_EXPORT jint JARSTART_JNICALL JNI_CreateJavaVM(JavaVM** vm, void** env, void* argsPointer) {
    RecordAdd("dll", StandInDllPath());
    RecordAdd("runtimeDll", StandInRuntimePath());
    // The C runtime libraries a launcher loads from the runtime's bin
    // folder before the VM, where they came from.
    for (const char* name : {"msvcr100.dll", "vcruntime140.dll", "vcruntime140_1.dll", "msvcp140.dll"}) {
        char path[MAX_PATH * 2] = "";
        HMODULE module = GetModuleHandleA(name);
        if (module && GetModuleFileNameA(module, path, sizeof(path))) RecordAdd("module", path);
    }
    RecordAdd("processId", std::to_string(GetCurrentProcessId()));
    const JavaVMInitArgs* args = static_cast<const JavaVMInitArgs*>(argsPointer);
    RecordAdd("createVersion", std::to_string(args->version));
    RecordAdd("ignoreUnrecognized", args->ignoreUnrecognized ? "1" : "0");
    if (Vm().created) return Refuse(JNI_EEXIST, "a VM was already created in this process");
    if (!IsSupportedVersion(args->version)) return Refuse(JNI_EVERSION, "unsupported JNI version");
    VmState state;
    std::string unknown;
    for (jint i = 0; i < args->nOptions; ++i) {
        const JavaVMOption& option = args->options[i];
        std::string text = option.optionString ? option.optionString : "";
        RecordAdd("option", text);
        if (text == "exit") state.exitHook = reinterpret_cast<JniExitHook>(option.extraInfo);
        else if (text == "abort") state.abortHook = reinterpret_cast<JniAbortHook>(option.extraInfo);
        else if (text == "vfprintf") state.vfprintfHook = reinterpret_cast<JniVfprintfHook>(option.extraInfo);
        else if (StartsWith(text, STANDIN_JVM_MAIN_OPTION)) state.mainBehaviour = text.substr(strlen(STANDIN_JVM_MAIN_OPTION));
        else if (StartsWith(text, STANDIN_JVM_OUT_OPTION)) state.outText = text.substr(strlen(STANDIN_JVM_OUT_OPTION));
        else if (StartsWith(text, STANDIN_JVM_ERR_OPTION)) state.errText = text.substr(strlen(STANDIN_JVM_ERR_OPTION));
        else if (StartsWith(text, STANDIN_JVM_DELAY_OPTION))
            state.delayMs = strtoul(text.c_str() + strlen(STANDIN_JVM_DELAY_OPTION), nullptr, 10);
        else if (!IsKnownOption(text) && !args->ignoreUnrecognized && unknown.empty()) unknown = text;
        if (text == "exit" || text == "abort" || text == "vfprintf") RecordAdd("hook", text);
    }
    Vm() = state;
    if (!unknown.empty()) {
        VmPrint("Unrecognized option: %s\n", unknown.c_str());
        return Refuse(JNI_ERR, "unrecognized option " + unknown);
    }
    if (state.mainBehaviour == "fail-init") {
        VmPrint("Error occurred during initialization of VM\n%s\n",
                "The stand-in VM was asked not to start (" STANDIN_JVM_MAIN_OPTION "fail-init).");
        return Refuse(JNI_ERR, "asked to fail");
    }
    Vm().created = true;
    Attach();
    bool appIdUnknown = false;
    RecordAdd("appId", AppUserModelId(&appIdUnknown));
    if (appIdUnknown) RecordAdd("appIdUnknown", "1");
    RecordAdd("created", std::to_string(JNI_OK));
    *vm = const_cast<JavaVM*>(&g_vm);
    *env = StandInEnv();
    return JNI_OK;
}
