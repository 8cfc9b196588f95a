#pragma once
// The launcher's own switches: -c / -d / -p (or with "/").
#include "framework/Text.h"

class LauncherOptions {
public:
    LauncherOptions();
    void Parse(Text text);
    Text GetArguments() const;

    bool m_help;
    bool m_console;
    bool m_debug;
    Text m_arguments;

private:
    int ParseSwitch(const Text& text, int position);
    bool IsSwitchEnd(const Text& text, int position, int last) const;
};

// The usage text shown for a malformed command line.
extern const char* const kUsageText;

// What follows the program name on a process's full command line
// (GetCommandLineA), exactly as given, without the blanks that separate the
// two. The name ends the way the system reads it: a quoted name at its
// closing quote, an unquoted one at the first blank or tab.
Text ArgumentsAfterProgramName(const char* commandLine);
