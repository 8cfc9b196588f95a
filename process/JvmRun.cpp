#include "process/JvmRun.h"

#include <stdio.h>

#include "base/DiagnosticLog.h"

namespace {

const int kMessageCapacity = 16 * 1024;

// The VM may write from any of its threads; the buffer is guarded.
CRITICAL_SECTION s_messageLock;
bool s_messageLockReady = false;
char s_messages[kMessageCapacity + 1];
int s_messageLength = 0;
bool s_copyToStandardError = false;
volatile LONG s_refused = 0;

void AppendMessage(const char* text, int length) {
    if (!s_messageLockReady) return;
    EnterCriticalSection(&s_messageLock);
    int room = kMessageCapacity - s_messageLength;
    int copied = length < room ? length : room;
    for (int i = 0; i < copied; ++i) s_messages[s_messageLength + i] = text[i];
    s_messageLength += copied;
    s_messages[s_messageLength] = '\0';
    LeaveCriticalSection(&s_messageLock);
}

// The VM's own output (its errors, warnings, -version), never through the C
// runtime's FILE of the launcher, which need not be the VM's C runtime.
jint JARSTART_JNICALL VfprintfHook(void*, const char* format, va_list arguments) {
    char text[2048];
    int length = _vsnprintf(text, sizeof(text) - 1, format, arguments);
    if (length < 0 || length > static_cast<int>(sizeof(text)) - 1) length = static_cast<int>(sizeof(text)) - 1;
    text[length] = '\0';
    AppendMessage(text, length);
    // One log entry per message, without the line end it came with.
    int logged = length;
    while (logged > 0 && (text[logged - 1] == '\n' || text[logged - 1] == '\r')) --logged;
    if (logged > 0) write(CString(text, logged));
    if (s_copyToStandardError) {
        DWORD written = 0;
        WriteFile(GetStdHandle(STD_ERROR_HANDLE), text, static_cast<DWORD>(length), &written, nullptr);
    }
    return length;
}

// System.exit: the VM ends the process with the code once this returns.
void JARSTART_JNICALL ExitHook(jint) {}

void JARSTART_JNICALL AbortHook() { write("The Java VM aborted."); }

// A text of the ANSI code page as a Java string.
jstring NewAnsiString(JNIEnv* env, const char* text) {
    int length = MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0);
    if (length <= 0) return (*env)->NewString(env, nullptr, 0);
    wchar_t* wide = new (std::nothrow) wchar_t[length];
    if (!wide) return nullptr;
    MultiByteToWideChar(CP_ACP, 0, text, -1, wide, length);
    jstring result = (*env)->NewString(env, reinterpret_cast<const jchar*>(wide), length - 1);
    delete[] wide;
    return result;
}

// The exception, if one is pending, as java prints it: on standard error.
bool ReportException(JNIEnv* env) {
    if (!(*env)->ExceptionOccurred(env)) return false;
    (*env)->ExceptionDescribe(env);
    return true;
}

// Loads the main class the way java does, through the runtime's own
// launcher helper: it reads the manifest (Main-Class, Launcher-Agent-Class,
// Add-Opens, the JavaFX application case) and checks the class; then
// calls main with the arguments. 0 when main returned normally.
int RunMain(JNIEnv* env, const JvmRunRequest& request) {
    jclass helper = (*env)->FindClass(env, "sun/launcher/LauncherHelper");
    if (!helper || ReportException(env)) return 1;
    jmethodID check =
        (*env)->GetStaticMethodID(env, helper, "checkAndLoadMain", "(ZILjava/lang/String;)Ljava/lang/Class;");
    if (!check || ReportException(env)) return 1;
    jstring what = NewAnsiString(env, request.what);
    if (!what || ReportException(env)) return 1;
    jclass mainClass = static_cast<jclass>(
        (*env)->CallStaticObjectMethod(env, helper, check, static_cast<int>(JNI_TRUE), request.mode, what));
    if (ReportException(env) || !mainClass) return 1;
    jmethodID main = (*env)->GetStaticMethodID(env, mainClass, "main", "([Ljava/lang/String;)V");
    if (!main || ReportException(env)) return 1;

    jclass stringClass = (*env)->FindClass(env, "java/lang/String");
    if (!stringClass || ReportException(env)) return 1;
    jobjectArray arguments = (*env)->NewObjectArray(env, request.arguments.Count(), stringClass, nullptr);
    if (!arguments || ReportException(env)) return 1;
    for (int i = 0; i < request.arguments.Count(); ++i) {
        const wchar_t* argument = request.arguments[i];
        jstring text = (*env)->NewString(env, reinterpret_cast<const jchar*>(argument),
                                         WideTextList::Length(argument));
        if (!text || ReportException(env)) return 1;
        (*env)->SetObjectArrayElement(env, arguments, i, text);
        (*env)->DeleteLocalRef(env, text);
    }
    (*env)->CallStaticVoidMethod(env, mainClass, main, arguments);
    return ReportException(env) ? 1 : 0;
}

DWORD WINAPI JvmThread(void* parameter) {
    JvmRunRequest* request = static_cast<JvmRunRequest*>(parameter);
    int count = request->options.Count();
    JavaVMOption* options = new (std::nothrow) JavaVMOption[count + 3];
    if (!options) return 1;
    for (int i = 0; i < count; ++i) {
        options[i].optionString = const_cast<char*>(request->options[i]);
        options[i].extraInfo = nullptr;
    }
    options[count].optionString = const_cast<char*>("exit");
    options[count].extraInfo = reinterpret_cast<void*>(&ExitHook);
    options[count + 1].optionString = const_cast<char*>("abort");
    options[count + 1].extraInfo = reinterpret_cast<void*>(&AbortHook);
    options[count + 2].optionString = const_cast<char*>("vfprintf");
    options[count + 2].extraInfo = reinterpret_cast<void*>(&VfprintfHook);

    JavaVMInitArgs arguments;
    arguments.version = JNI_VERSION_1_2;
    arguments.nOptions = count + 3;
    arguments.options = options;
    // A misspelt option is an error, as it is for java, not a silent no-op.
    arguments.ignoreUnrecognized = JNI_FALSE;
    JavaVM* vm = nullptr;
    JNIEnv* env = nullptr;
    jint created = request->jvm.createJavaVm(&vm, reinterpret_cast<void**>(&env), &arguments);
    delete[] options;
    if (created != JNI_OK || !vm || !env) {
        InterlockedExchange(&s_refused, 1);
        return 1;
    }
    int exitCode = RunMain(env, *request);
    // Detached first, so that DestroyJavaVM waits for the application's
    // other non-daemon threads as java does.
    if ((*vm)->DetachCurrentThread(vm) != JNI_OK) exitCode = 1;
    (*vm)->DestroyJavaVM(vm);
    return static_cast<DWORD>(exitCode);
}

}  // namespace

size_t DefaultJvmStackSize(const LoadedJvm& jvm) {
    JDK1_1InitArgs defaults = {};
    defaults.version = JNI_VERSION_1_1;
    if (!jvm.getDefaultInitArgs || jvm.getDefaultInitArgs(&defaults) != JNI_OK) return 0;
    return defaults.javaStackSize > 0 ? static_cast<size_t>(defaults.javaStackSize) : 0;
}

HANDLE StartJvmThread(JvmRunRequest* request, DWORD* error) {
    if (!s_messageLockReady) {
        InitializeCriticalSection(&s_messageLock);
        s_messageLockReady = true;
    }
    // The stack is reserved, not committed: a large -Xss costs address
    // space only.
    DWORD threadId = 0;
    HANDLE thread = CreateThread(nullptr, request->stackSize, JvmThread, request,
                                 request->stackSize ? STACK_SIZE_PARAM_IS_A_RESERVATION : 0, &threadId);
    if (!thread) *error = GetLastError();
    return thread;
}

bool JvmRefusedToStart() { return s_refused != 0; }

CString JvmMessages() {
    if (!s_messageLockReady) return CString();
    EnterCriticalSection(&s_messageLock);
    CString text(s_messages, s_messageLength);
    LeaveCriticalSection(&s_messageLock);
    return text;
}

void CopyJvmMessagesToStandardError(bool copy) { s_copyToStandardError = copy; }
