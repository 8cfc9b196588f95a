#pragma once
// Launcher properties: ids of the launcher's own string table.
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
};
