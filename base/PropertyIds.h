#pragma once
// The launcher's resource contract, written once: the ids of the launcher
// properties in its own string table, their names, and the splash image's
// resource. The launcher, the companion tool and the tests all read it, so
// it stays plain C++ (the tool also builds for systems without windows.h).

enum LauncherProperty {
    PROP_SPLASH = 96,
    PROP_KEEP_ALIVE = 97,
    PROP_SPLASH_TIMEOUT = 98,
    PROP_JRE_PATH = 99,
    PROP_VM_PARAMS = 100,
    PROP_START_JAR = 101,
    PROP_WATCH_APP_WINDOW = 102,
    PROP_WORK_DIR = 103,
    PROP_MIN_VERSION = 104,
    PROP_SEARCH_JDK_ONLY = 105,
    PROP_DOWNLOAD_URL = 106,
    PROP_PASS_ALL_ARGUMENTS = 107,
    PROP_SHOW_START_ERRORS = 108,
    PROP_SINGLE_INSTANCE = 109,
    PROP_MAX_VERSION = 110,
    PROP_RUNTIME_CHOICE = 111,
    // What to start instead of PROP_START_JAR: a class on a class path, or a
    // module on a module path. A launcher names exactly one of the three.
    PROP_MAIN_CLASS = 112,
    PROP_CLASS_PATH = 113,
    PROP_MAIN_MODULE = 114,
    PROP_MODULE_PATH = 115,
    // The application inside the launcher's own process (the runtime's
    // jvm.dll) when the chosen runtime allows it, and the process's
    // application id for the taskbar.
    PROP_IN_PROCESS = 116,
    PROP_APP_ID = 117,
};

struct LauncherPropertyInfo {
    LauncherProperty id;
    const char* name;
    // The first properties are listed by the tool whether set or not; the
    // ones added later only when a launcher sets them.
    bool alwaysListed;
};

// Every property, in id order; ids may skip numbers.
inline constexpr LauncherPropertyInfo kLauncherProperties[] = {
    {PROP_SPLASH, "PROP_SPLASH", true},
    {PROP_KEEP_ALIVE, "PROP_KEEP_ALIVE", true},
    {PROP_SPLASH_TIMEOUT, "PROP_SPLASH_TIMEOUT", true},
    {PROP_JRE_PATH, "PROP_JRE_PATH", true},
    {PROP_VM_PARAMS, "PROP_VM_PARAMS", true},
    {PROP_START_JAR, "PROP_START_JAR", true},
    {PROP_WATCH_APP_WINDOW, "PROP_WATCH_APP_WINDOW", true},
    {PROP_WORK_DIR, "PROP_WORK_DIR", true},
    {PROP_MIN_VERSION, "PROP_MIN_VERSION", true},
    {PROP_SEARCH_JDK_ONLY, "PROP_SEARCH_JDK_ONLY", true},
    {PROP_DOWNLOAD_URL, "PROP_DOWNLOAD_URL", false},
    {PROP_PASS_ALL_ARGUMENTS, "PROP_PASS_ALL_ARGUMENTS", false},
    {PROP_SHOW_START_ERRORS, "PROP_SHOW_START_ERRORS", false},
    {PROP_SINGLE_INSTANCE, "PROP_SINGLE_INSTANCE", false},
    {PROP_MAX_VERSION, "PROP_MAX_VERSION", false},
    {PROP_RUNTIME_CHOICE, "PROP_RUNTIME_CHOICE", false},
    {PROP_MAIN_CLASS, "PROP_MAIN_CLASS", false},
    {PROP_CLASS_PATH, "PROP_CLASS_PATH", false},
    {PROP_MAIN_MODULE, "PROP_MAIN_MODULE", false},
    {PROP_MODULE_PATH, "PROP_MODULE_PATH", false},
    {PROP_IN_PROCESS, "PROP_IN_PROCESS", false},
    {PROP_APP_ID, "PROP_APP_ID", false},
};

inline constexpr int kFirstPropertyId = PROP_SPLASH;
inline constexpr int kLastPropertyId =
    kLauncherProperties[sizeof(kLauncherProperties) / sizeof(kLauncherProperties[0]) - 1].id;
constexpr bool PropertyIdsAscend() {
    for (unsigned i = 1; i < sizeof(kLauncherProperties) / sizeof(kLauncherProperties[0]); ++i)
        if (kLauncherProperties[i].id <= kLauncherProperties[i - 1].id) return false;
    return true;
}
static_assert(PropertyIdsAscend(), "the property table is in id order");

// The splash image: a whole image file as resource type 2 (RT_BITMAP's
// number), id 104.
inline constexpr int kSplashResourceType = 2;
inline constexpr int kSplashResourceId = 104;
