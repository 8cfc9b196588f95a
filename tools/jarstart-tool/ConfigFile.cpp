#include "tools/jarstart-tool/ConfigFile.h"

#include "tools/jarstart-tool/PropertyNames.h"
#include "tools/jarstart-tool/ToolArgs.h"

namespace {
bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string Trimmed(const std::string& text) {
    size_t first = 0, last = text.size();
    while (first < last && IsBlank(text[first])) ++first;
    while (last > first && IsBlank(text[last - 1])) --last;
    return text.substr(first, last - first);
}

bool IsAbsolute(const std::string& path) {
    if (!path.empty() && (path[0] == '/' || path[0] == '\\')) return true;
    return path.size() >= 2 && path[1] == ':';
}

// The settings that are no property: the option each stands for, and
// whether its value is a path.
struct FileSetting {
    const char* name;
    const char* option;
    bool isPath;
};
const FileSetting kSettings[] = {
    {"splash", "--splash", true},       {"icon", "--icon", true},         {"version", "--version", false},
    {"product", "--product", false},    {"company", "--company", false},  {"description", "--description", false},
    {"copyright", "--copyright", false},
};
}  // namespace

std::string FolderPartOf(const std::string& path) {
    size_t slash = path.find_last_of("/\\");
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

bool ConfigFileOptions(const std::string& text, const std::string& fileName, const std::string& folder,
                       std::vector<std::string>* options, std::string* error) {
    options->clear();
    size_t at = 0;
    // A byte order mark some editors put first is no part of the first name.
    if (text.compare(0, 3, "\xEF\xBB\xBF") == 0) at = 3;
    for (int number = 1; at < text.size() || at == 0; ++number) {
        size_t end = text.find('\n', at);
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(at, end - at);
        at = end + 1;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        std::string where = fileName + " line " + std::to_string(number) + ": ";
        std::string trimmed = Trimmed(line);
        if (trimmed.empty() || trimmed[0] == '#') {
            if (at > text.size()) break;
            continue;
        }
        size_t equals = trimmed.find('=');
        if (equals == std::string::npos) {
            *error = where + "needs NAME=value, got \"" + trimmed + "\"";
            return false;
        }
        std::string name = Trimmed(trimmed.substr(0, equals));
        std::string value = Trimmed(trimmed.substr(equals + 1));
        const FileSetting* setting = nullptr;
        for (const FileSetting& s : kSettings)
            if (name == s.name) setting = &s;
        if (setting) {
            options->push_back(setting->option);
            options->push_back(setting->isPath && !value.empty() && !IsAbsolute(value) ? folder + value : value);
        } else {
            int id = 0;
            if (!ParsePropertyKey(name, &id)) {
                *error = where + UnknownPropertyMessage(name);
                return false;
            }
            options->push_back("--set");
            options->push_back(std::string(PropertyName(id)) + "=" + value);
        }
        if (at > text.size()) break;
    }
    return true;
}
