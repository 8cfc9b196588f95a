#include "launcher/LauncherOptions.h"

#include "framework/Text.h"

const char* const kUsageText =
    "Options: \n"
    "use -Xconsole to run java with console window\n"
    "use -Xdebug to get output to log file\n"
    "use -Xhelp to get help about usage.";

static const char kBlank = ' ';

LauncherOptions::LauncherOptions() : m_help(false), m_console(false), m_debug(false) {}

void LauncherOptions::Parse(Text text) {
    int length = static_cast<int>(text.size());
    int i = 0;
    while (i < length) {
        char c = text[i];
        if (c == kBlank) {
            ++i;
        } else if (c == '-' || c == '/') {
            i = ParseSwitch(text, i + 1) + 1;
        } else {
            // Anything else where an item may start is unreadable; quotes
            // and tabs included.
            m_help = true;
            return;
        }
    }
}

Text LauncherOptions::GetArguments() const {
    return m_arguments;
}

int LauncherOptions::ParseSwitch(const Text& text, int position) {
    int length = static_cast<int>(text.size());
    // A prefix that ends the line has no letter: unreadable, and the letter
    // must not be read past the end.
    if (position >= length) {
        m_help = true;
        return length - 1;
    }
    char letter = text[position];
    if (!IsSwitchEnd(text, position + 1, length - 1)) {
        m_help = true;
        return length - 1;
    }
    switch (letter) {
    case 'c':
        m_console = true;
        return position + 1;
    case 'd':
        m_debug = true;
        return position + 1;
    case 'p':
        // Everything after the letter is the application's, unscanned.
        m_arguments = text.substr(position + 1);
        return length - 1;
    default:
        return position + 1;
    }
}

bool LauncherOptions::IsSwitchEnd(const Text& text, int position, int last) const {
    if (position == last + 1) return true;
    // A blank ends the switch wherever it stands, also as the very last
    // character: a shortcut whose target line ends in one blank must not
    // bring up the usage box.
    return text[position] == kBlank;
}

Text ArgumentsAfterProgramName(const char* commandLine) {
    const char* p = commandLine ? commandLine : "";
    if (*p == '"') {
        ++p;
        while (*p && *p != '"') ++p;
        if (*p) ++p;
    } else {
        while (*p && *p != ' ' && *p != '\t') ++p;
    }
    while (*p == ' ' || *p == '\t') ++p;
    return Text(p);
}
