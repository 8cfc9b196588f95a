#include "tools/jarstart-tool/PropertyNames.h"

#include <cstring>

namespace {
struct NamedProperty {
    int id;
    const char* name;
};

const NamedProperty kProperties[] = {
    {96, "PROP_SPLASH"},
    {97, "PROP_KEEP_ALIVE"},
    {98, "PROP_SPLASH_TIMEOUT"},
    {99, "PROP_JRE_PATH"},
    {100, "PROP_VM_PARAMS"},
    {101, "PROP_START_JAR"},
    {102, "PROP_WATCH_APP_WINDOW"},
    {103, "PROP_WORK_DIR"},
    {104, "PROP_MIN_VERSION"},
    {105, "PROP_SEARCH_JDK_ONLY"},
    {106, "PROP_DOWNLOAD_URL"},
};
}  // namespace

const char* PropertyName(int id) {
    for (const NamedProperty& p : kProperties)
        if (p.id == id) return p.name;
    return "";
}

bool ParsePropertyKey(const std::string& key, int* id) {
    for (const NamedProperty& p : kProperties) {
        if (key == p.name) {
            *id = p.id;
            return true;
        }
    }
    // Digits only: no sign, no blanks, no leading zeros that would let
    // "0101" pass for 101.
    if (key.empty() || key.size() > 3 || key[0] == '0') return false;
    int value = 0;
    for (char c : key) {
        if (c < '0' || c > '9') return false;
        value = value * 10 + (c - '0');
    }
    if (value < FIRST_PROPERTY_ID || value > DOWNLOAD_URL_PROPERTY_ID) return false;
    *id = value;
    return true;
}
