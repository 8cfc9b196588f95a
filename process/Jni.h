#pragma once
// The JNI invocation interface as the runtime's jvm.dll exports it, declared
// here from the published layout rather than taken from a runtime's own
// headers: the launcher must build where no Java development kit exists,
// and it needs only the invocation functions and the few JNI functions that
// find and call the application's main method.
//
// Every function of both tables sits at a fixed slot. The slots this
// launcher does not call are kept as untyped padding of the right count, so
// the slots it does call stay where the VM puts them; the static_asserts
// below check the counts.
#include <stdarg.h>
#include <stddef.h>

#ifdef _WIN32
#define JARSTART_JNICALL __stdcall
#else
#define JARSTART_JNICALL
#endif

// Windows' primitive Java types: jint is a long there (32 bits on both
// machines), jlong a 64-bit integer.
typedef long jint;
typedef long long jlong;
typedef unsigned char jboolean;
typedef unsigned short jchar;
typedef jint jsize;

struct JObjectOpaque;
typedef JObjectOpaque* jobject;
typedef jobject jclass;
typedef jobject jstring;
typedef jobject jthrowable;
typedef jobject jobjectArray;
struct JMethodOpaque;
typedef JMethodOpaque* jmethodID;

const jint JNI_OK = 0;
const jint JNI_ERR = -1;
const jint JNI_EDETACHED = -2;
const jint JNI_EVERSION = -3;
const jint JNI_ENOMEM = -4;
const jint JNI_EEXIST = -5;
const jint JNI_EINVAL = -6;

const jint JNI_VERSION_1_1 = 0x00010001;
const jint JNI_VERSION_1_2 = 0x00010002;
const jint JNI_VERSION_1_4 = 0x00010004;
const jint JNI_VERSION_1_6 = 0x00010006;
const jint JNI_VERSION_1_8 = 0x00010008;

const jboolean JNI_FALSE = 0;
const jboolean JNI_TRUE = 1;

struct JNINativeInterface_;
typedef const JNINativeInterface_* JNIEnv;
struct JNIInvokeInterface_;
typedef const JNIInvokeInterface_* JavaVM;

// One VM option: "-Xss1m", "-Dname=value", or one of the hooks ("exit",
// "abort", "vfprintf") with the function in extraInfo.
struct JavaVMOption {
    char* optionString;
    void* extraInfo;
};

struct JavaVMInitArgs {
    jint version;
    jint nOptions;
    JavaVMOption* options;
    jboolean ignoreUnrecognized;
};

// The version 1.1 arguments, which JNI_GetDefaultJavaVMInitArgs still
// fills in: javaStackSize is the VM's default stack for a Java thread, the
// reservation the main thread gets when no -Xss is given. The VM writes the
// whole structure, so every field is here.
struct JDK1_1InitArgs {
    jint version;
    char** properties;
    jint checkSource;
    jint nativeStackSize;
    jint javaStackSize;
    jint minHeapSize;
    jint maxHeapSize;
    jint verifyMode;
    char* classpath;
    jint(JARSTART_JNICALL* vfprintf)(void* stream, const char* format, va_list arguments);
    void(JARSTART_JNICALL* exit)(jint code);
    void(JARSTART_JNICALL* abort)(void);
    jint enableClassGC;
    jint enableVerboseGC;
    jint disableAsyncGC;
    jint verbose;
    jboolean debugging;
    jint debugPort;
};

struct JavaVMAttachArgs {
    jint version;
    char* name;
    jobject group;
};

// The hooks' types, as the VM calls them.
typedef void(JARSTART_JNICALL* JniExitHook)(jint code);
typedef void(JARSTART_JNICALL* JniAbortHook)(void);
typedef jint(JARSTART_JNICALL* JniVfprintfHook)(void* stream, const char* format, va_list arguments);

struct JNIInvokeInterface_ {
    void* reserved0;
    void* reserved1;
    void* reserved2;
    jint(JARSTART_JNICALL* DestroyJavaVM)(JavaVM* vm);
    jint(JARSTART_JNICALL* AttachCurrentThread)(JavaVM* vm, void** env, void* args);
    jint(JARSTART_JNICALL* DetachCurrentThread)(JavaVM* vm);
    jint(JARSTART_JNICALL* GetEnv)(JavaVM* vm, void** env, jint version);
    jint(JARSTART_JNICALL* AttachCurrentThreadAsDaemon)(JavaVM* vm, void** env, void* args);
};

// The slots of the JNI function table the launcher calls, by their
// published numbers; the table has kJniFunctionCount slots in all (up to
// IsVirtualThread, the last one added).
enum JniSlot {
    kJniGetVersion = 4,
    kJniFindClass = 6,
    kJniExceptionOccurred = 15,
    kJniExceptionDescribe = 16,
    kJniExceptionClear = 17,
    kJniDeleteLocalRef = 23,
    kJniGetMethodID = 33,
    kJniCallObjectMethod = 34,
    kJniGetStaticMethodID = 113,
    kJniCallStaticObjectMethod = 114,
    kJniCallStaticVoidMethod = 141,
    kJniNewString = 163,
    kJniNewStringUTF = 167,
    kJniGetStringUTFChars = 169,
    kJniReleaseStringUTFChars = 170,
    kJniNewObjectArray = 172,
    kJniSetObjectArrayElement = 174,
    kJniExceptionCheck = 228,
    kJniFunctionCount = 235
};

struct JNINativeInterface_ {
    void* reserved[4];
    jint(JARSTART_JNICALL* GetVersion)(JNIEnv* env);
    void* DefineClass;
    jclass(JARSTART_JNICALL* FindClass)(JNIEnv* env, const char* name);
    void* slots7to14[kJniExceptionOccurred - kJniFindClass - 1];
    jthrowable(JARSTART_JNICALL* ExceptionOccurred)(JNIEnv* env);
    void(JARSTART_JNICALL* ExceptionDescribe)(JNIEnv* env);
    void(JARSTART_JNICALL* ExceptionClear)(JNIEnv* env);
    void* slots18to22[kJniDeleteLocalRef - kJniExceptionClear - 1];
    void(JARSTART_JNICALL* DeleteLocalRef)(JNIEnv* env, jobject object);
    void* slots24to32[kJniGetMethodID - kJniDeleteLocalRef - 1];
    jmethodID(JARSTART_JNICALL* GetMethodID)(JNIEnv* env, jclass cls, const char* name, const char* signature);
    jobject(JARSTART_JNICALL* CallObjectMethod)(JNIEnv* env, jobject object, jmethodID method, ...);
    void* slots35to112[kJniGetStaticMethodID - kJniCallObjectMethod - 1];
    jmethodID(JARSTART_JNICALL* GetStaticMethodID)(JNIEnv* env, jclass cls, const char* name,
                                                   const char* signature);
    jobject(JARSTART_JNICALL* CallStaticObjectMethod)(JNIEnv* env, jclass cls, jmethodID method, ...);
    void* slots115to140[kJniCallStaticVoidMethod - kJniCallStaticObjectMethod - 1];
    void(JARSTART_JNICALL* CallStaticVoidMethod)(JNIEnv* env, jclass cls, jmethodID method, ...);
    void* slots142to162[kJniNewString - kJniCallStaticVoidMethod - 1];
    jstring(JARSTART_JNICALL* NewString)(JNIEnv* env, const jchar* characters, jsize length);
    void* slots164to166[kJniNewStringUTF - kJniNewString - 1];
    jstring(JARSTART_JNICALL* NewStringUTF)(JNIEnv* env, const char* characters);
    void* slot168;
    const char*(JARSTART_JNICALL* GetStringUTFChars)(JNIEnv* env, jstring text, jboolean* isCopy);
    void(JARSTART_JNICALL* ReleaseStringUTFChars)(JNIEnv* env, jstring text, const char* characters);
    void* slot171;
    jobjectArray(JARSTART_JNICALL* NewObjectArray)(JNIEnv* env, jsize length, jclass elementClass,
                                                   jobject initialElement);
    void* slot173;
    void(JARSTART_JNICALL* SetObjectArrayElement)(JNIEnv* env, jobjectArray array, jsize index, jobject value);
    void* slots175to227[kJniExceptionCheck - kJniSetObjectArrayElement - 1];
    jboolean(JARSTART_JNICALL* ExceptionCheck)(JNIEnv* env);
    void* slots229to234[kJniFunctionCount - kJniExceptionCheck - 1];
};

#define JARSTART_JNI_SLOT(member, slot) \
    static_assert(offsetof(JNINativeInterface_, member) == (slot) * sizeof(void*), #member " is in slot " #slot)
JARSTART_JNI_SLOT(GetVersion, kJniGetVersion);
JARSTART_JNI_SLOT(FindClass, kJniFindClass);
JARSTART_JNI_SLOT(ExceptionOccurred, kJniExceptionOccurred);
JARSTART_JNI_SLOT(ExceptionDescribe, kJniExceptionDescribe);
JARSTART_JNI_SLOT(ExceptionClear, kJniExceptionClear);
JARSTART_JNI_SLOT(DeleteLocalRef, kJniDeleteLocalRef);
JARSTART_JNI_SLOT(GetMethodID, kJniGetMethodID);
JARSTART_JNI_SLOT(GetStaticMethodID, kJniGetStaticMethodID);
JARSTART_JNI_SLOT(CallStaticObjectMethod, kJniCallStaticObjectMethod);
JARSTART_JNI_SLOT(CallStaticVoidMethod, kJniCallStaticVoidMethod);
JARSTART_JNI_SLOT(NewString, kJniNewString);
JARSTART_JNI_SLOT(NewStringUTF, kJniNewStringUTF);
JARSTART_JNI_SLOT(GetStringUTFChars, kJniGetStringUTFChars);
JARSTART_JNI_SLOT(NewObjectArray, kJniNewObjectArray);
JARSTART_JNI_SLOT(SetObjectArrayElement, kJniSetObjectArrayElement);
JARSTART_JNI_SLOT(ExceptionCheck, kJniExceptionCheck);
#undef JARSTART_JNI_SLOT
static_assert(sizeof(JNINativeInterface_) == kJniFunctionCount * sizeof(void*), "the JNI table has all its slots");
static_assert(sizeof(JNIInvokeInterface_) == 8 * sizeof(void*), "the invocation table has all its slots");

// The three functions jvm.dll exports, as GetProcAddress finds them.
typedef jint(JARSTART_JNICALL* CreateJavaVmFunction)(JavaVM** vm, void** env, void* args);
typedef jint(JARSTART_JNICALL* GetDefaultJavaVmInitArgsFunction)(void* args);
typedef jint(JARSTART_JNICALL* GetCreatedJavaVmsFunction)(JavaVM** vms, jsize count, jsize* found);
