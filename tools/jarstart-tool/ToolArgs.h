#pragma once
// The companion tool's command line, parsed from plain data so that every
// rule can be tested (and fuzzed) without running the tool.
#include <map>
#include <string>
#include <vector>

// One argument of a Windows command line: its value after the C runtime's
// quoting rules, and the offset just past its last character.
struct CommandLineArgument {
    std::string value;
    size_t end;
};

// Splits a command line as the C runtime does for argv: the program name
// (element 0) ends at the closing quote or the first blank; the other
// arguments are separated by blanks and tabs, with "..." grouping,
// backslashes escaping a following quote, and "" inside quotes giving a quote.
std::vector<CommandLineArgument> SplitCommandLine(const std::string& line);

// The command line after argument index (0 = the program), from the first
// non-blank character on, exactly as typed; "" when nothing follows.
std::string TextAfterArgument(const std::string& line, size_t index);

enum class ToolCommand { Configure, Show, Trace, Runtimes, Properties, Help, Version };

struct ToolArgs {
    ToolCommand command = ToolCommand::Show;
    std::string exe;                   // configure: the input; show, trace: the exe; runtimes: "" or the exe
    std::string output;                // configure -o
    std::map<int, std::string> props;  // configure --set, by id
    bool keep = false;                 // configure --keep
    bool force = false;                // configure --force: write despite refusals
    std::string configFile;            // configure --config: settings read from a file
    bool setSplash = false;
    std::string splashFile;            // configure --splash
    bool setIcon = false;
    std::string iconFile;              // configure --icon
    // configure --version, --product, --company, --description,
    // --copyright: any of them writes the whole version information anew.
    bool setVersion = false;
    std::string version;               // as typed; checked by the configure step
    std::string product, company, description, copyright;
    bool raw = false;                  // trace --raw
    bool json = false;                 // runtimes --json
    std::string helpTopic;             // help: the command asked about, "" for all
    std::vector<std::string> arguments;  // configure: the arguments as given, for --config to go before
    size_t exeArgument = 0;            // trace: index of the exe among the arguments, the program being 0
};

// args are the arguments after the program name. False with a one-line
// message for an unknown command or option, a missing operand, a missing -o,
// or an unknown property name or id.
bool ParseToolArgs(const std::vector<std::string>& args, ToolArgs* parsed, std::string* error);

// The message for a --set of an unknown name or id, with the nearest
// known name when one is near.
std::string UnknownPropertyMessage(const std::string& key);

// The usage text, several lines.
const char* ToolUsage();

// help: the usage of one command ("" = all of them), ending in a line
// end; "" for an unknown command.
std::string CommandHelp(const std::string& command);
