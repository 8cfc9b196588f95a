// The launcher's command-line grammar over any text, checked against a
// plain reading of the same grammar written independently of the parser.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "launcher/LauncherOptions.h"

namespace {

struct Reading {
    bool help = false;
    bool console = false;
    bool debug = false;
    std::string arguments;
};

// Items are separated by blanks; an item is a prefix ('-' or '/'), one
// letter and then a blank or the end. After "p" the rest belongs to the
// application. Anything else stops the reading with help.
Reading ReadGrammar(const std::string& text) {
    Reading r;
    size_t i = 0;
    const size_t n = text.size();
    while (i < n) {
        if (text[i] == ' ') {
            ++i;
            continue;
        }
        if (text[i] != '-' && text[i] != '/') {
            r.help = true;
            break;
        }
        if (i + 1 >= n || (i + 2 < n && text[i + 2] != ' ')) {
            r.help = true;
            break;
        }
        char letter = text[i + 1];
        if (letter == 'p') {
            r.arguments = text.substr(i + 2);
            break;
        }
        if (letter == 'c') r.console = true;
        if (letter == 'd') r.debug = true;
        i += 3;
    }
    return r;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string text(reinterpret_cast<const char*>(data), size);
    LauncherOptions options;
    options.Parse(text);
    Reading expected = ReadGrammar(text);
    if (options.m_help != expected.help || options.m_console != expected.console ||
        options.m_debug != expected.debug || options.GetArguments() != expected.arguments) {
        std::abort();
    }
    // The application's arguments are always the tail of the line.
    const Text given = options.GetArguments();
    const std::string arguments(given.c_str(), given.size());
    if (arguments.size() > text.size() || text.compare(text.size() - arguments.size(), arguments.size(), arguments) != 0)
        std::abort();
    return 0;
}
