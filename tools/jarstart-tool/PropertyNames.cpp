#include "tools/jarstart-tool/PropertyNames.h"

#include <algorithm>
#include <cstring>
#include <vector>

const char* PropertyName(int id) {
    for (const LauncherPropertyInfo& p : kLauncherProperties)
        if (p.id == id) return p.name;
    return "";
}

bool ParsePropertyKey(const std::string& key, int* id) {
    for (const LauncherPropertyInfo& p : kLauncherProperties) {
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
    // Ids the table skips are no properties either.
    for (const LauncherPropertyInfo& p : kLauncherProperties) {
        if (p.id != value) continue;
        *id = value;
        return true;
    }
    return false;
}

std::string PropertyIdRange() {
    return std::to_string(kFirstPropertyId) + ".." + std::to_string(kLastPropertyId);
}

namespace {
const PropertyDescription kDescriptions[] = {
    {PROP_SPLASH, PropertyKind::Bool, "", "show the splash image while the application starts, and watch the start-up"},
    {PROP_KEEP_ALIVE, PropertyKind::Bool, "",
     "create the launcher window and the one-second start-up timer even without a splash"},
    {PROP_SPLASH_TIMEOUT, PropertyKind::Int, "", "start-up countdown in seconds while the splash shows; below 1 means 2"},
    {PROP_JRE_PATH, PropertyKind::String, "",
     "a bundled runtime's Java executable, relative to the launcher's folder; tried first"},
    {PROP_VM_PARAMS, PropertyKind::String, "", "VM parameters used when there is no .vmoptions file"},
    {PROP_START_JAR, PropertyKind::String, "", "the application's jar, put after -jar as stored"},
    {PROP_WATCH_APP_WINDOW, PropertyKind::Bool, "",
     "while the splash shows, end the launcher as soon as the application's window is visible"},
    {PROP_WORK_DIR, PropertyKind::String, "", "working directory, relative to the launcher's folder; empty = that folder"},
    {PROP_MIN_VERSION, PropertyKind::Version, "", "minimum Java version; empty means 1.3"},
    {PROP_SEARCH_JDK_ONLY, PropertyKind::Bool, "",
     "accept only a development kit, and put its lib jars on the boot class path"},
    {PROP_DOWNLOAD_URL, PropertyKind::String, "",
     "the download page the start failure dialog shows and opens; empty = the built-in address"},
    {PROP_PASS_ALL_ARGUMENTS, PropertyKind::Bool, "",
     "read no switches: the whole command line after the program name goes to the application"},
    {PROP_SHOW_START_ERRORS, PropertyKind::Bool, "",
     "watch the start even without a splash; an early non-zero exit shows the \"Application Error\" dialog"},
    {PROP_SINGLE_INSTANCE, PropertyKind::String, "",
     "an instance name: while its application runs, another start brings its window to the front"},
    {PROP_MAX_VERSION, PropertyKind::Version, "", "the highest Java version accepted (17 = every 17.x); empty = none"},
    {PROP_RUNTIME_CHOICE, PropertyKind::Choice, "first newest",
     "first (or empty): the first fitting runtime of the search; newest: the highest version"},
    {PROP_MAIN_CLASS, PropertyKind::String, "", "start this main class instead of a jar"},
    {PROP_CLASS_PATH, PropertyKind::String, "",
     "the class path for PROP_MAIN_CLASS: entries separated by ;, dir\\* for every jar in dir"},
    {PROP_MAIN_MODULE, PropertyKind::String, "", "start this module (module or module/class) instead of a jar"},
    {PROP_MODULE_PATH, PropertyKind::String, "",
     "the module path for PROP_MAIN_MODULE; empty when the modules are in the runtime image"},
    {PROP_IN_PROCESS, PropertyKind::Bool, "",
     "run the application inside the launcher's process (the runtime's jvm.dll) when the runtime allows it"},
    {PROP_APP_ID, PropertyKind::String, "",
     "the process's Windows application id (AppUserModelID), for taskbar grouping and pinning"},
};

char Upper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

std::string UpperCase(const std::string& text) {
    std::string upper;
    for (char c : text) upper += Upper(c);
    return upper;
}

size_t EditDistance(const std::string& a, const std::string& b) {
    std::vector<size_t> row(b.size() + 1);
    for (size_t j = 0; j <= b.size(); ++j) row[j] = j;
    for (size_t i = 1; i <= a.size(); ++i) {
        size_t diagonal = row[0];
        row[0] = i;
        for (size_t j = 1; j <= b.size(); ++j) {
            size_t above = row[j];
            size_t replace = diagonal + (a[i - 1] == b[j - 1] ? 0 : 1);
            row[j] = std::min(std::min(above + 1, row[j - 1] + 1), replace);
            diagonal = above;
        }
    }
    return row[b.size()];
}
}  // namespace

PropertyDescription DescribeProperty(int id) {
    for (const PropertyDescription& d : kDescriptions)
        if (d.id == id) return d;
    PropertyDescription unknown = {id, PropertyKind::String, "", ""};
    return unknown;
}

std::string PropertyKindText(const PropertyDescription& description) {
    switch (description.kind) {
    case PropertyKind::Bool: return "bool";
    case PropertyKind::Int: return "int";
    case PropertyKind::Version: return "version";
    case PropertyKind::Choice: {
        std::string words = description.choices;
        for (char& c : words)
            if (c == ' ') c = '|';
        return words;
    }
    case PropertyKind::String: break;
    }
    return "string";
}

std::string NearestPropertyName(const std::string& key) {
    std::string wanted = UpperCase(key);
    if (wanted.compare(0, 5, "PROP_") != 0) wanted = "PROP_" + wanted;
    std::string nearest;
    size_t best = 0;
    for (const LauncherPropertyInfo& p : kLauncherProperties) {
        size_t distance = EditDistance(wanted, p.name);
        if (nearest.empty() || distance < best) {
            nearest = p.name;
            best = distance;
        }
    }
    // A third of the name may differ: PROP_MINVERSION and PROP_MIN_VER find
    // PROP_MIN_VERSION, PROP_NOPE finds nothing.
    return !nearest.empty() && best * 3 <= nearest.size() - 5 ? nearest : std::string();
}

std::string PropertyListText() {
    size_t nameWidth = 0, kindWidth = 0;
    for (const LauncherPropertyInfo& p : kLauncherProperties) {
        nameWidth = std::max(nameWidth, std::string(p.name).size());
        kindWidth = std::max(kindWidth, PropertyKindText(DescribeProperty(p.id)).size());
    }
    std::string text;
    for (const LauncherPropertyInfo& p : kLauncherProperties) {
        PropertyDescription d = DescribeProperty(p.id);
        std::string name = p.name, kind = PropertyKindText(d);
        std::string id = std::to_string(p.id);
        text += id + std::string(3 - id.size(), ' ') + "  " + name + std::string(nameWidth - name.size(), ' ') + "  " + kind +
                std::string(kindWidth - kind.size(), ' ') + "  " + d.meaning;
        while (!text.empty() && text.back() == ' ') text.pop_back();
        text += "\n";
    }
    return text;
}
