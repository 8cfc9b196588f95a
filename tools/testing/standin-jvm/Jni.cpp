// The stand-in's JNI function table: the few classes a launcher needs
// (sun/launcher/LauncherHelper, java/lang/String, the application's main
// class), strings, object arrays and pending exceptions. Every reference it
// hands out is remembered, and one it never handed out stops the test.
#include <windows.h>

#include <cstdarg>
#include <memory>
#include <mutex>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "tools/testing/standin-jvm/Record.h"
#include "tools/testing/standin-jvm/StandInJvm.h"
#include "tools/testing/standin-jvm/Vm.h"

namespace {

enum class Kind { Class, String, Array, Throwable };

struct Object {
    Kind kind;
    std::string name;      // a class's name ("a/b/C"), a throwable's class
    std::u16string text;   // a string's characters, a throwable's message
    std::vector<Object*> elements;
};

struct Method {
    Object* owner;
    std::string name;
    std::string signature;
};

std::mutex g_lock;
std::set<Object*> g_objects;
std::vector<std::unique_ptr<Object>> g_owned;
std::vector<std::unique_ptr<Method>> g_methods;
thread_local Object* t_pending = nullptr;

const char kHelperClass[] = "sun/launcher/LauncherHelper";
const char kCheckAndLoadMain[] = "checkAndLoadMain";
const char kCheckAndLoadMainSignature[] = "(ZILjava/lang/String;)Ljava/lang/Class;";
const char kGetApplicationClass[] = "getApplicationClass";
const char kGetApplicationClassSignature[] = "()Ljava/lang/Class;";
const char kMainSignature[] = "([Ljava/lang/String;)V";

Object* g_mainClass = nullptr;

Object* NewObject(Kind kind, const std::string& name, const std::u16string& text = std::u16string()) {
    std::lock_guard<std::mutex> hold(g_lock);
    g_owned.push_back(std::unique_ptr<Object>(new Object{kind, name, text, {}}));
    g_objects.insert(g_owned.back().get());
    return g_owned.back().get();
}

Object* Checked(jobject reference, const char* where) {
    if (!reference) return nullptr;
    Object* object = reinterpret_cast<Object*>(reference);
    std::lock_guard<std::mutex> hold(g_lock);
    if (g_objects.count(object) == 0) StopLoudly(std::string("invalid reference passed to ") + where);
    return object;
}

Object* CheckedOf(jobject reference, Kind kind, const char* where) {
    Object* object = Checked(reference, where);
    if (object && object->kind != kind) StopLoudly(std::string("reference of the wrong kind passed to ") + where);
    return object;
}

jobject Ref(Object* object) { return reinterpret_cast<jobject>(object); }

void Throw(const std::string& className, const std::string& message) {
    t_pending = NewObject(Kind::Throwable, className, std::u16string(message.begin(), message.end()));
}

std::string Utf8Of(const std::u16string& text) {
    if (text.empty()) return std::string();
    const wchar_t* wide = reinterpret_cast<const wchar_t*>(text.data());
    int size = WideCharToMultiByte(CP_UTF8, 0, wide, static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string utf8(size > 0 ? size : 0, '\0');
    if (size > 0) WideCharToMultiByte(CP_UTF8, 0, wide, static_cast<int>(text.size()), &utf8[0], size, nullptr, nullptr);
    return utf8;
}

// Java's modified UTF-8 (NUL as C0 80, each surrogate on its own) to
// UTF-16; a malformed byte stops the test, as it is the caller's fault.
std::u16string FromModifiedUtf8(const char* bytes) {
    std::u16string text;
    const unsigned char* p = reinterpret_cast<const unsigned char*>(bytes);
    while (*p) {
        if (p[0] < 0x80) {
            text.push_back(p[0]);
            p += 1;
        } else if ((p[0] & 0xE0) == 0xC0 && (p[1] & 0xC0) == 0x80) {
            text.push_back(static_cast<char16_t>(((p[0] & 0x1F) << 6) | (p[1] & 0x3F)));
            p += 2;
        } else if ((p[0] & 0xF0) == 0xE0 && (p[1] & 0xC0) == 0x80 && (p[2] & 0xC0) == 0x80) {
            text.push_back(static_cast<char16_t>(((p[0] & 0x0F) << 12) | ((p[1] & 0x3F) << 6) | (p[2] & 0x3F)));
            p += 3;
        } else {
            StopLoudly("NewStringUTF was given bytes that are not modified UTF-8");
        }
    }
    return text;
}

std::string ToModifiedUtf8(const std::u16string& text) {
    std::string bytes;
    for (char16_t c : text) {
        if (c != 0 && c < 0x80) {
            bytes.push_back(static_cast<char>(c));
        } else if (c < 0x800) {
            bytes.push_back(static_cast<char>(0xC0 | (c >> 6)));
            bytes.push_back(static_cast<char>(0x80 | (c & 0x3F)));
        } else {
            bytes.push_back(static_cast<char>(0xE0 | (c >> 12)));
            bytes.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
            bytes.push_back(static_cast<char>(0x80 | (c & 0x3F)));
        }
    }
    return bytes;
}

// What checkAndLoadMain returns: the class named by the class or module
// start; for a jar the stand-in cannot read the manifest, so a fixed class.
std::string MainClassName(jint mode, const std::string& name) {
    if (mode == 2) return "StandInMain";
    std::string className = name;
    size_t slash = className.find('/');
    if (mode == 3) className = slash == std::string::npos ? "StandInModuleMain" : className.substr(slash + 1);
    for (char& c : className)
        if (c == '.') c = '/';
    return className;
}

// --- the implemented slots ---

jint JARSTART_JNICALL VersionOfJni(JNIEnv*) { return JNI_VERSION_1_8; }

jclass JARSTART_JNICALL FindClass(JNIEnv*, const char* name) {
    RecordAdd("findClass", name ? name : "<null>");
    std::string wanted = name ? name : "";
    if (wanted == kHelperClass || wanted == "java/lang/String" ||
        (g_mainClass && wanted == g_mainClass->name))
        return Ref(NewObject(Kind::Class, wanted));
    Throw("java.lang.NoClassDefFoundError", wanted);
    return nullptr;
}

jthrowable JARSTART_JNICALL ExceptionOccurred(JNIEnv*) { return Ref(t_pending); }

void JARSTART_JNICALL ExceptionDescribe(JNIEnv*) {
    if (!t_pending) return;
    std::string message = Utf8Of(t_pending->text);
    std::string where = g_mainClass ? g_mainClass->name : std::string("StandIn");
    for (char& c : where)
        if (c == '/') c = '.';
    WriteToStdHandle(STD_ERROR_HANDLE, "Exception in thread \"main\" " + t_pending->name +
                                           (message.empty() ? "" : ": " + message) + "\n\tat " + where +
                                           ".main(StandIn.java)\n");
    t_pending = nullptr;
}

void JARSTART_JNICALL ExceptionClear(JNIEnv*) { t_pending = nullptr; }

jboolean JARSTART_JNICALL ExceptionCheck(JNIEnv*) { return t_pending ? JNI_TRUE : JNI_FALSE; }

void JARSTART_JNICALL DeleteLocalRef(JNIEnv*, jobject object) { Checked(object, "DeleteLocalRef"); }

jmethodID FindMethod(Object* owner, const char* name, const char* signature, bool isStatic) {
    std::string n = name ? name : "";
    std::string s = signature ? signature : "";
    bool known = false;
    if (isStatic && owner->name == kHelperClass)
        known = (n == kCheckAndLoadMain && s == kCheckAndLoadMainSignature) ||
                (n == kGetApplicationClass && s == kGetApplicationClassSignature);
    if (isStatic && g_mainClass && owner->name == g_mainClass->name) known = n == "main" && s == kMainSignature;
    if (!known) {
        Throw("java.lang.NoSuchMethodError", n);
        return nullptr;
    }
    std::lock_guard<std::mutex> hold(g_lock);
    g_methods.push_back(std::unique_ptr<Method>(new Method{owner, n, s}));
    return reinterpret_cast<jmethodID>(g_methods.back().get());
}

Method* CheckedMethod(jmethodID id, const char* where) {
    std::lock_guard<std::mutex> hold(g_lock);
    for (const auto& method : g_methods)
        if (reinterpret_cast<jmethodID>(method.get()) == id) return method.get();
    StopLoudly(std::string("invalid method id passed to ") + where);
}

jmethodID JARSTART_JNICALL GetMethodID(JNIEnv*, jclass cls, const char* name, const char* signature) {
    return FindMethod(CheckedOf(cls, Kind::Class, "GetMethodID"), name, signature, false);
}

jmethodID JARSTART_JNICALL GetStaticMethodID(JNIEnv*, jclass cls, const char* name, const char* signature) {
    Object* owner = CheckedOf(cls, Kind::Class, "GetStaticMethodID");
    if (!owner) StopLoudly("GetStaticMethodID was given no class");
    return FindMethod(owner, name, signature, true);
}

jobject JARSTART_JNICALL CallStaticObjectMethod(JNIEnv*, jclass cls, jmethodID id, ...) {
    CheckedOf(cls, Kind::Class, "CallStaticObjectMethod");
    Method* method = CheckedMethod(id, "CallStaticObjectMethod");
    if (method->name == kGetApplicationClass) return Ref(g_mainClass);
    if (method->name != kCheckAndLoadMain) StopLoudly("CallStaticObjectMethod of " + method->name);
    va_list arguments;
    va_start(arguments, id);
    int print = va_arg(arguments, int);  // a jboolean, promoted
    jint mode = va_arg(arguments, jint);
    jstring nameRef = va_arg(arguments, jstring);
    va_end(arguments);
    Object* name = CheckedOf(nameRef, Kind::String, "checkAndLoadMain");
    std::string utf8 = name ? Utf8Of(name->text) : std::string();
    RecordAdd("launchPrint", std::to_string(print));
    RecordAdd("launchMode", std::to_string(mode));
    RecordAdd("launchName", utf8);
    if (mode < 1 || mode > 3 || !name || utf8.empty()) {
        Throw("java.lang.IllegalArgumentException", "no main class or module given");
        return nullptr;
    }
    g_mainClass = NewObject(Kind::Class, MainClassName(mode, utf8));
    return Ref(g_mainClass);
}

void JARSTART_JNICALL CallStaticVoidMethod(JNIEnv*, jclass cls, jmethodID id, ...) {
    Object* owner = CheckedOf(cls, Kind::Class, "CallStaticVoidMethod");
    Method* method = CheckedMethod(id, "CallStaticVoidMethod");
    if (method->name != "main") StopLoudly("CallStaticVoidMethod of " + method->name);
    va_list arguments;
    va_start(arguments, id);
    jobjectArray argsRef = va_arg(arguments, jobjectArray);
    va_end(arguments);
    Object* args = CheckedOf(argsRef, Kind::Array, "main");
    if (!args) StopLoudly("main was given no argument array");
    RecordAdd("mainClass", owner->name);
    for (Object* element : args->elements) {
        if (!element) StopLoudly("main was given a null argument");
        RecordAdd("arg", Utf8Of(element->text));
    }
    if (!RunMainBehaviour()) Throw("java.lang.RuntimeException", "the stand-in's main threw as asked");
}

jstring JARSTART_JNICALL NewString(JNIEnv*, const jchar* characters, jsize length) {
    if (length < 0 || (length > 0 && !characters)) StopLoudly("NewString was given a bad length or no characters");
    return Ref(NewObject(Kind::String, "java/lang/String",
                         std::u16string(reinterpret_cast<const char16_t*>(characters), length)));
}

jstring JARSTART_JNICALL NewStringUTF(JNIEnv*, const char* bytes) {
    if (!bytes) return nullptr;
    return Ref(NewObject(Kind::String, "java/lang/String", FromModifiedUtf8(bytes)));
}

const char* JARSTART_JNICALL GetStringUTFChars(JNIEnv*, jstring text, jboolean* isCopy) {
    Object* object = CheckedOf(text, Kind::String, "GetStringUTFChars");
    if (!object) StopLoudly("GetStringUTFChars was given no string");
    std::string bytes = ToModifiedUtf8(object->text);
    char* copy = new char[bytes.size() + 1];
    memcpy(copy, bytes.c_str(), bytes.size() + 1);
    if (isCopy) *isCopy = JNI_TRUE;
    return copy;
}

void JARSTART_JNICALL ReleaseStringUTFChars(JNIEnv*, jstring text, const char* characters) {
    CheckedOf(text, Kind::String, "ReleaseStringUTFChars");
    delete[] characters;
}

jobjectArray JARSTART_JNICALL NewObjectArray(JNIEnv*, jsize length, jclass elementClass, jobject initial) {
    Object* cls = CheckedOf(elementClass, Kind::Class, "NewObjectArray");
    if (!cls || length < 0) StopLoudly("NewObjectArray was given no class or a negative length");
    Object* array = NewObject(Kind::Array, "[L" + cls->name + ";");
    array->elements.assign(static_cast<size_t>(length), Checked(initial, "NewObjectArray"));
    return Ref(array);
}

void JARSTART_JNICALL SetObjectArrayElement(JNIEnv*, jobjectArray arrayRef, jsize index, jobject value) {
    Object* array = CheckedOf(arrayRef, Kind::Array, "SetObjectArrayElement");
    if (!array) StopLoudly("SetObjectArrayElement was given no array");
    if (index < 0 || static_cast<size_t>(index) >= array->elements.size()) {
        Throw("java.lang.ArrayIndexOutOfBoundsException", std::to_string(index));
        return;
    }
    array->elements[static_cast<size_t>(index)] = Checked(value, "SetObjectArrayElement");
}

// --- every other slot ---

template <int Slot>
void JARSTART_JNICALL Unimplemented() {
    StopLoudly("unimplemented JNI slot " + std::to_string(Slot));
}

template <int... Slots>
void FillUnimplemented(void** table, std::integer_sequence<int, Slots...>) {
    ((table[Slots] = reinterpret_cast<void*>(&Unimplemented<Slots>)), ...);
}

template <typename Function>
void Put(void** table, int slot, Function function) {
    table[slot] = reinterpret_cast<void*>(function);
}

void* g_table[kJniFunctionCount];
const JNINativeInterface_* g_env = nullptr;

}  // namespace

JNIEnv* StandInEnv() {
    static std::once_flag once;
    std::call_once(once, [] {
        FillUnimplemented(g_table, std::make_integer_sequence<int, kJniFunctionCount>());
        for (int slot = 0; slot < 4; ++slot) g_table[slot] = nullptr;  // reserved
        Put(g_table, kJniGetVersion, &VersionOfJni);
        Put(g_table, kJniFindClass, &FindClass);
        Put(g_table, kJniExceptionOccurred, &ExceptionOccurred);
        Put(g_table, kJniExceptionDescribe, &ExceptionDescribe);
        Put(g_table, kJniExceptionClear, &ExceptionClear);
        Put(g_table, kJniDeleteLocalRef, &DeleteLocalRef);
        Put(g_table, kJniGetMethodID, &GetMethodID);
        Put(g_table, kJniGetStaticMethodID, &GetStaticMethodID);
        Put(g_table, kJniCallStaticObjectMethod, &CallStaticObjectMethod);
        Put(g_table, kJniCallStaticVoidMethod, &CallStaticVoidMethod);
        Put(g_table, kJniNewString, &NewString);
        Put(g_table, kJniNewStringUTF, &NewStringUTF);
        Put(g_table, kJniGetStringUTFChars, &GetStringUTFChars);
        Put(g_table, kJniReleaseStringUTFChars, &ReleaseStringUTFChars);
        Put(g_table, kJniNewObjectArray, &NewObjectArray);
        Put(g_table, kJniSetObjectArrayElement, &SetObjectArrayElement);
        Put(g_table, kJniExceptionCheck, &ExceptionCheck);
        g_env = reinterpret_cast<const JNINativeInterface_*>(g_table);
    });
    static_assert(sizeof(g_table) == sizeof(JNINativeInterface_), "the table has every slot");
    return const_cast<JNIEnv*>(&g_env);
}
