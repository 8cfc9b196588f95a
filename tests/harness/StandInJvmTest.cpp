// The stand-in jvm.dll refuses and records as a VM does: every in-process
// launcher test relies on it. Each test loads its own copy (a module per
// path), as the VM it holds starts only once per module.
#include <windows.h>

#include <cstdarg>
#include <cstdio>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "process/Jni.h"
#include "tests/support/ChildProcess.h"
#include "tests/support/FakeJvm.h"
#include "tests/support/Paths.h"
#include "tests/support/ScopedEnvironment.h"
#include "tools/testing/standin-jvm/StandInJvm.h"

namespace {

const int kBits = static_cast<int>(sizeof(void*) * 8);
const char kSlotCallVariable[] = "JARSTART_TEST_STANDIN_JVM_SLOT";

// The VM's messages as the vfprintf hook receives them.
std::string g_vmText;

jint JARSTART_JNICALL CaptureVmText(void*, const char* format, va_list arguments) {
    char buffer[1024];
    int n = vsnprintf(buffer, sizeof(buffer), format, arguments);
    if (n > 0) g_vmText.append(buffer, n < static_cast<int>(sizeof(buffer)) ? n : sizeof(buffer) - 1);
    return n;
}

void JARSTART_JNICALL IgnoreExit(jint) {}

struct LoadedJvm {
    HMODULE module = nullptr;
    CreateJavaVmFunction create = nullptr;
    GetDefaultJavaVmInitArgsFunction defaults = nullptr;
    GetCreatedJavaVmsFunction created = nullptr;
};

// A fake home with the stand-in, loaded with its bin folder as the DLL
// directory (where its runtime library is).
LoadedJvm LoadStandIn(const std::string& home) {
    UseJvmDllOf(kBits, home);
    LoadedJvm jvm;
    SetDllDirectoryA((home + "\\bin").c_str());
    jvm.module = LoadLibraryA((home + "\\bin\\server\\jvm.dll").c_str());
    SetDllDirectoryA(nullptr);
    if (!jvm.module) {
        ADD_FAILURE() << "cannot load the stand-in from " << home << " (error " << GetLastError() << ")";
        return jvm;
    }
    jvm.create = reinterpret_cast<CreateJavaVmFunction>(GetProcAddress(jvm.module, "JNI_CreateJavaVM"));
    jvm.defaults =
        reinterpret_cast<GetDefaultJavaVmInitArgsFunction>(GetProcAddress(jvm.module, "JNI_GetDefaultJavaVMInitArgs"));
    jvm.created = reinterpret_cast<GetCreatedJavaVmsFunction>(GetProcAddress(jvm.module, "JNI_GetCreatedJavaVMs"));
    EXPECT_TRUE(jvm.create && jvm.defaults && jvm.created) << "the three exports under their plain names";
    return jvm;
}

jint Create(const LoadedJvm& jvm, jint version, std::vector<JavaVMOption> options, bool ignoreUnrecognized,
            JavaVM** vm, JNIEnv** env) {
    JavaVMInitArgs args = {};
    args.version = version;
    args.nOptions = static_cast<jint>(options.size());
    args.options = options.empty() ? nullptr : options.data();
    args.ignoreUnrecognized = ignoreUnrecognized ? JNI_TRUE : JNI_FALSE;
    return jvm.create(vm, reinterpret_cast<void**>(env), &args);
}

JavaVMOption Option(const char* text, void* extra = nullptr) {
    return JavaVMOption{const_cast<char*>(text), extra};
}

}  // namespace

TEST(StandInJvmTest, RefusesJniVersionsBelow1_2AndASecondVmAsAVmDoes) {
    std::string home = MakeTempFolder("standin-jvm-refusals") + "jre";
    LoadedJvm jvm = LoadStandIn(home);
    ASSERT_TRUE(jvm.create);
    JavaVM* vm = nullptr;
    JNIEnv* env = nullptr;
    EXPECT_EQ(Create(jvm, JNI_VERSION_1_1, {}, false, &vm, &env), JNI_EVERSION);
    jsize count = -1;
    EXPECT_EQ(jvm.created(&vm, 1, &count), JNI_OK);
    EXPECT_EQ(count, 0);
    ASSERT_EQ(Create(jvm, JNI_VERSION_1_2, {}, false, &vm, &env), JNI_OK);
    ASSERT_NE(env, nullptr);
    EXPECT_EQ((*env)->GetVersion(env), JNI_VERSION_1_8);
    EXPECT_EQ(jvm.created(&vm, 1, &count), JNI_OK);
    EXPECT_EQ(count, 1);
    JavaVM* second = nullptr;
    EXPECT_EQ(Create(jvm, JNI_VERSION_1_8, {}, false, &second, &env), JNI_EEXIST);
    EXPECT_EQ(ReadRecordedVm(home).All("created"),
              (std::vector<std::string>{std::to_string(JNI_EVERSION), "0", std::to_string(JNI_EEXIST)}));
}

TEST(StandInJvmTest, RefusesAnUnknownOptionWithItsTextThroughTheHookUnlessToldToIgnoreIt) {
    std::string home = MakeTempFolder("standin-jvm-unknown") + "jre";
    LoadedJvm jvm = LoadStandIn(home);
    ASSERT_TRUE(jvm.create);
    JavaVM* vm = nullptr;
    JNIEnv* env = nullptr;
    for (const char* javaOnly : {"-jar", "-cp", "-splash:s.png", "-client", "-server", "--add-opens", "-m"}) {
        g_vmText.clear();
        EXPECT_EQ(Create(jvm, JNI_VERSION_1_8, {Option("vfprintf", reinterpret_cast<void*>(&CaptureVmText)),
                                                Option("-Dok=1"), Option(javaOnly)},
                         false, &vm, &env),
                  JNI_ERR)
            << javaOnly;
        EXPECT_EQ(g_vmText, std::string("Unrecognized option: ") + javaOnly + "\n");
    }
    g_vmText.clear();
    EXPECT_EQ(Create(jvm, JNI_VERSION_1_8, {Option("-jar")}, true, &vm, &env), JNI_OK);
    EXPECT_EQ(g_vmText, "");
}

TEST(StandInJvmTest, RecordsEveryOptionWholeTheHooksAndTheRequestedVersion) {
    std::string home = MakeTempFolder("standin-jvm-options") + "jre";
    LoadedJvm jvm = LoadStandIn(home);
    ASSERT_TRUE(jvm.create);
    std::vector<std::string> texts = {"-Dwith.blanks=a b  c", "-Xss4m", "-XX:+UseG1GC", "-verbose:gc", "-ea",
                                      "--add-opens=java.base/java.lang=ALL-UNNAMED", "--enable-preview",
                                      "-javaagent:agent.jar", "-Djava.class.path=C:\\x y\\app.jar"};
    std::vector<JavaVMOption> options;
    for (const std::string& text : texts) options.push_back(Option(text.c_str()));
    options.push_back(Option("exit", reinterpret_cast<void*>(&IgnoreExit)));
    options.push_back(Option("vfprintf", reinterpret_cast<void*>(&CaptureVmText)));
    JavaVM* vm = nullptr;
    JNIEnv* env = nullptr;
    ASSERT_EQ(Create(jvm, JNI_VERSION_1_8, options, false, &vm, &env), JNI_OK);
    RecordedVm record = ReadRecordedVm(home);
    std::vector<std::string> expected = texts;
    expected.push_back("exit");
    expected.push_back("vfprintf");
    EXPECT_EQ(record.All("option"), expected);
    EXPECT_EQ(record.All("hook"), (std::vector<std::string>{"exit", "vfprintf"}));
    EXPECT_EQ(record.Value("createVersion"), std::to_string(JNI_VERSION_1_8));
    EXPECT_EQ(record.Value("processId"), std::to_string(GetCurrentProcessId()));
    // This process loaded the first test's runtime library already, and the
    // system reuses a loaded library of that name.
    std::string runtimeDll = record.Value("runtimeDll");
    EXPECT_EQ(runtimeDll.substr(runtimeDll.find_last_of('\\') + 1), "standinrt.dll") << runtimeDll;
}

TEST(StandInJvmTest, GivesTheDocumentedDefaultThreadStackInVersion1_1Arguments) {
    std::string home = MakeTempFolder("standin-jvm-stack") + "jre";
    LoadedJvm jvm = LoadStandIn(home);
    ASSERT_TRUE(jvm.defaults);
    JDK1_1InitArgs args = {};
    args.version = JNI_VERSION_1_1;
    ASSERT_EQ(jvm.defaults(&args), JNI_OK);
    EXPECT_EQ(args.javaStackSize, kBits == 64 ? 1024 * 1024 : 320 * 1024);
}

namespace {

struct MainCall {
    JNIEnv* env;
    bool threw = false;
};

// The launcher's part: the main class from the launcher helper, the
// arguments as Java strings, main on a thread of its own.
DWORD WINAPI CallMain(void* parameter) {
    MainCall* call = static_cast<MainCall*>(parameter);
    JNIEnv* env = call->env;
    jclass helper = (*env)->FindClass(env, "sun/launcher/LauncherHelper");
    jmethodID load = (*env)->GetStaticMethodID(env, helper, "checkAndLoadMain", "(ZILjava/lang/String;)Ljava/lang/Class;");
    jstring name = (*env)->NewStringUTF(env, "com.example.Main");
    jclass mainClass = static_cast<jclass>((*env)->CallStaticObjectMethod(env, helper, load, JNI_TRUE, 1, name));
    jmethodID main = (*env)->GetStaticMethodID(env, mainClass, "main", "([Ljava/lang/String;)V");
    jclass stringClass = (*env)->FindClass(env, "java/lang/String");
    const jchar wide[] = {0x00E9, 't', 0x00E9, ' ', 0xD83D, 0xDE00};
    jobjectArray args = (*env)->NewObjectArray(env, 2, stringClass, nullptr);
    (*env)->SetObjectArrayElement(env, args, 0, (*env)->NewString(env, wide, 6));
    (*env)->SetObjectArrayElement(env, args, 1, (*env)->NewStringUTF(env, "a b"));
    (*env)->CallStaticVoidMethod(env, mainClass, main, args);
    call->threw = (*env)->ExceptionOccurred(env) != nullptr;
    return 0;
}

}  // namespace

TEST(StandInJvmTest, RunsMainAndRecordsTheLaunchItsArgumentsItsThreadAndItsStack) {
    std::string home = MakeTempFolder("standin-jvm-main") + "jre";
    LoadedJvm jvm = LoadStandIn(home);
    ASSERT_TRUE(jvm.create);
    JavaVM* vm = nullptr;
    JNIEnv* env = nullptr;
    std::string behaviour = StandInMainOption("throw");
    ASSERT_EQ(Create(jvm, JNI_VERSION_1_8, {Option(behaviour.c_str())}, false, &vm, &env), JNI_OK);
    MainCall call{env};
    const SIZE_T kReserve = 4 * 1024 * 1024;
    HANDLE thread = CreateThread(nullptr, kReserve, CallMain, &call, STACK_SIZE_PARAM_IS_A_RESERVATION, nullptr);
    ASSERT_NE(thread, nullptr);
    WaitForSingleObject(thread, INFINITE);
    CloseHandle(thread);
    EXPECT_TRUE(call.threw);
    RecordedVm record = ReadRecordedVm(home);
    EXPECT_EQ(record.Value("launchMode"), "1");
    EXPECT_EQ(record.Value("launchName"), "com.example.Main");
    EXPECT_EQ(record.Value("launchPrint"), "1");
    EXPECT_EQ(record.Value("mainClass"), "com/example/Main");
    EXPECT_EQ(record.All("arg"), (std::vector<std::string>{"\xC3\xA9t\xC3\xA9 \xF0\x9F\x98\x80", "a b"}));
    EXPECT_EQ(record.Value("mainOnFirstThread"), "0");
    unsigned long long reserve = std::stoull(record.Value("mainStackReserve").empty() ? "0" : record.Value("mainStackReserve"));
    EXPECT_GE(reserve, kReserve);
    EXPECT_LT(reserve, kReserve + 1024 * 1024);
    EXPECT_EQ(record.Value("mainEnded"), "threw");
    // The same main on this program's first thread, as a launcher that
    // does not give main a thread of its own would run it.
    (*env)->ExceptionClear(env);
    CallMain(&call);
    EXPECT_EQ(ReadRecordedVm(home).All("mainOnFirstThread"), (std::vector<std::string>{"0", "1"}));
    EXPECT_EQ((*vm)->DestroyJavaVM(vm), JNI_OK);
    EXPECT_EQ(ReadRecordedVm(home).Value("destroyed"), "1");
}

// Run as a child by the next test: calls the JNI slot the variable names
// ("<jvm.dll>|<slot>") of a VM created from that file.
TEST(StandInJvmChild, CallsTheSlotTheEnvironmentNames) {
    char value[MAX_PATH * 2] = "";
    if (!GetEnvironmentVariableA(kSlotCallVariable, value, sizeof(value))) GTEST_SKIP() << "run by the test below";
    std::string text = value;
    std::string home = text.substr(0, text.find('|'));
    int slot = atoi(text.c_str() + text.find('|') + 1);
    std::string jvmDll = home + "\\bin\\server\\jvm.dll";
    if (text.substr(text.find('|') + 1) == "load") {
        // A fresh process, so no runtime library of that name is loaded yet:
        // without bin as the DLL directory the dependency is missing.
        EXPECT_EQ(LoadLibraryA(jvmDll.c_str()), nullptr);
        EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_MOD_NOT_FOUND));
        SetDllDirectoryA((home + "\\bin").c_str());
        EXPECT_NE(LoadLibraryA(jvmDll.c_str()), nullptr);
        return;
    }
    SetDllDirectoryA((home + "\\bin").c_str());
    HMODULE module = LoadLibraryA(jvmDll.c_str());
    ASSERT_NE(module, nullptr);
    auto create = reinterpret_cast<CreateJavaVmFunction>(GetProcAddress(module, "JNI_CreateJavaVM"));
    JavaVMInitArgs args = {JNI_VERSION_1_8, 0, nullptr, JNI_FALSE};
    JavaVM* vm = nullptr;
    JNIEnv* env = nullptr;
    ASSERT_EQ(create(&vm, reinterpret_cast<void**>(&env), &args), JNI_OK);
    if (text.substr(text.find('|') + 1) == "describe") {
        // A pending exception described as the VM's own trace, on standard error.
        jclass helper = (*env)->FindClass(env, "java/lang/Missing");
        EXPECT_EQ(helper, nullptr);
        EXPECT_EQ((*env)->ExceptionCheck(env), JNI_TRUE);
        (*env)->ExceptionDescribe(env);
        EXPECT_EQ((*env)->ExceptionOccurred(env), nullptr);
        return;
    }
    typedef void(JARSTART_JNICALL * AnySlot)(JNIEnv*);
    reinterpret_cast<AnySlot const*>(*env)[slot](env);
    ADD_FAILURE() << "slot " << slot << " returned";
}

TEST(StandInJvmTest, ItsRuntimeLibraryIsFoundOnlyWithTheBinFolderAsTheDllDirectory) {
    std::string home = MakeTempFolder("standin-jvm-dependency") + "jre";
    UseJvmDllOf(kBits, home);
    char self[MAX_PATH] = "";
    GetModuleFileNameA(nullptr, self, MAX_PATH);
    ScopedEnvironment environment;
    environment.Set(kSlotCallVariable, (home + "|load").c_str());
    ChildRun run = RunCapturing("\"" + std::string(self) + "\" --gtest_filter=StandInJvmChild.*");
    ASSERT_TRUE(run.started);
    EXPECT_EQ(run.exitCode, 0u) << run.out;
    EXPECT_NE(run.out.find("[  PASSED  ] 1 test."), std::string::npos) << "ran, not skipped: " << run.out;
}

TEST(StandInJvmTest, ExceptionDescribeWritesTheVmsTraceToStandardErrorAndClearsTheException) {
    std::string home = MakeTempFolder("standin-jvm-describe") + "jre";
    UseJvmDllOf(kBits, home);
    char self[MAX_PATH] = "";
    GetModuleFileNameA(nullptr, self, MAX_PATH);
    ScopedEnvironment environment;
    environment.Set(kSlotCallVariable, (home + "|describe").c_str());
    ChildRun run = RunCapturing("\"" + std::string(self) + "\" --gtest_filter=StandInJvmChild.*");
    ASSERT_TRUE(run.started);
    EXPECT_EQ(run.exitCode, 0u) << run.out;
    EXPECT_NE(run.out.find("[  PASSED  ] 1 test."), std::string::npos) << "ran, not skipped: " << run.out;
    EXPECT_EQ(run.err, "Exception in thread \"main\" java.lang.NoClassDefFoundError: java/lang/Missing\n"
                       "\tat StandIn.main(StandIn.java)\n");
}

TEST(StandInJvmTest, AnUnimplementedSlotStopsTheProcessLoudlyWithItsOwnCode) {
    std::string home = MakeTempFolder("standin-jvm-slot") + "jre";
    UseJvmDllOf(kBits, home);
    char self[MAX_PATH] = "";
    GetModuleFileNameA(nullptr, self, MAX_PATH);
    for (int slot : {5, 34, 170 + 1, kJniFunctionCount - 1}) {
        ScopedEnvironment environment;
        std::string value = home + "|" + std::to_string(slot);
        environment.Set(kSlotCallVariable, value.c_str());
        ChildRun run = RunCapturing("\"" + std::string(self) + "\" --gtest_filter=StandInJvmChild.*");
        ASSERT_TRUE(run.started);
        EXPECT_EQ(run.exitCode, static_cast<DWORD>(kStandInJvmStopExitCode)) << run.out;
        std::string text = "unimplemented JNI slot " + std::to_string(slot);
        EXPECT_NE(run.err.find(text + "\n"), std::string::npos) << run.err;
        EXPECT_EQ(ReadRecordedVm(home).Value("stop"), text);
    }
}
