#include "tools/jarstart-tool/PropertyNames.h"

#include <cstring>

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
