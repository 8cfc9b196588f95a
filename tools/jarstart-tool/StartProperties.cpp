#include "tools/jarstart-tool/StartProperties.h"

#include "base/PropertyIds.h"
#include "tools/jarstart-tool/PropertyNames.h"

namespace {
bool IsSet(const std::vector<std::u16string>& strings, int id) {
    size_t index = static_cast<size_t>(id - kFirstPropertyId);
    return index < strings.size() && !strings[index].empty();
}
}  // namespace

std::string StartPropertiesProblem(const std::vector<std::u16string>& strings) {
    const int targets[] = {PROP_START_JAR, PROP_MAIN_CLASS, PROP_MAIN_MODULE};
    std::vector<std::string> named;
    for (int id : targets)
        if (IsSet(strings, id)) named.push_back(PropertyName(id));
    if (named.size() > 1) {
        std::string list = named[0];
        for (size_t i = 1; i < named.size(); ++i) list += (i + 1 == named.size() ? " and " : ", ") + named[i];
        return list + " each name what to start; a launcher starts one: set the other" +
               (named.size() > 2 ? "s" : "") + " to empty";
    }
    if (IsSet(strings, PROP_CLASS_PATH) && !IsSet(strings, PROP_MAIN_CLASS))
        return "PROP_CLASS_PATH is set without PROP_MAIN_CLASS: a class path needs a class to start";
    if (IsSet(strings, PROP_MODULE_PATH) && !IsSet(strings, PROP_MAIN_MODULE))
        return "PROP_MODULE_PATH is set without PROP_MAIN_MODULE: a module path needs a module to start";
    return std::string();
}
