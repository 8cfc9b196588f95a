#pragma once
// The launcher's own switches: -c / -d / -p (or with "/").
#include <string>

class LauncherOptions {
public:
    LauncherOptions();
    void Parse(std::string text);
    std::string GetArguments() const;

    bool m_help;
    bool m_console;
    bool m_debug;
    std::string m_arguments;

private:
    int ParseSwitch(const std::string& text, int position);
    bool IsSwitchEnd(const std::string& text, int position, int last) const;
};

// The usage text shown for a malformed command line.
extern const char* const kUsageText;
