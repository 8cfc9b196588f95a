#include "tools/jarstart-tool/ToolArgs.h"

#include "tools/jarstart-tool/PropertyNames.h"

namespace {
bool IsBlank(char c) { return c == ' ' || c == '\t'; }

size_t SkipBlanks(const std::string& line, size_t i) {
    while (i < line.size() && IsBlank(line[i])) ++i;
    return i;
}

// The program name takes no escapes: it ends at the closing quote or a blank.
CommandLineArgument ProgramName(const std::string& line) {
    CommandLineArgument program = {std::string(), 0};
    size_t i = 0;
    if (i < line.size() && line[i] == '"') {
        size_t close = line.find('"', 1);
        if (close == std::string::npos) close = line.size();
        program.value = line.substr(1, close - 1);
        program.end = close < line.size() ? close + 1 : close;
        return program;
    }
    while (i < line.size() && !IsBlank(line[i])) ++i;
    program.value = line.substr(0, i);
    program.end = i;
    return program;
}
}  // namespace

std::vector<CommandLineArgument> SplitCommandLine(const std::string& line) {
    std::vector<CommandLineArgument> result;
    result.push_back(ProgramName(line));
    size_t i = SkipBlanks(line, result.back().end);
    while (i < line.size()) {
        CommandLineArgument arg = {std::string(), 0};
        bool quoted = false;
        while (i < line.size() && (quoted || !IsBlank(line[i]))) {
            char c = line[i];
            if (c == '\\') {
                size_t run = 0;
                while (i < line.size() && line[i] == '\\') {
                    ++run;
                    ++i;
                }
                if (i < line.size() && line[i] == '"') {
                    arg.value.append(run / 2, '\\');
                    if (run % 2) {
                        arg.value.push_back('"');
                        ++i;
                    }
                } else {
                    arg.value.append(run, '\\');
                }
            } else if (c == '"') {
                if (quoted && i + 1 < line.size() && line[i + 1] == '"') {
                    arg.value.push_back('"');
                    i += 2;
                } else {
                    quoted = !quoted;
                    ++i;
                }
            } else {
                arg.value.push_back(c);
                ++i;
            }
        }
        arg.end = i;
        result.push_back(arg);
        i = SkipBlanks(line, i);
    }
    return result;
}

std::string TextAfterArgument(const std::string& line, size_t index) {
    std::vector<CommandLineArgument> args = SplitCommandLine(line);
    if (index >= args.size()) return std::string();
    return line.substr(SkipBlanks(line, args[index].end));
}

std::string UnknownPropertyMessage(const std::string& key) {
    std::string message = "unknown property \"" + key + "\" (a name PROP_... or an id " + PropertyIdRange() + ")";
    std::string nearest = NearestPropertyName(key);
    message += nearest.empty() ? ":" : ": did you mean " + nearest + "?";
    return message + " jarstart-tool properties lists them all";
}

namespace {
bool ParseConfigure(const std::vector<std::string>& args, ToolArgs* parsed, std::string* error) {
    bool haveOutput = false;
    for (size_t i = 1; i < args.size(); ++i) {
        const std::string& arg = args[i];
        std::string* versionField = arg == "--version"       ? &parsed->version
                                    : arg == "--product"     ? &parsed->product
                                    : arg == "--company"     ? &parsed->company
                                    : arg == "--description" ? &parsed->description
                                    : arg == "--copyright"   ? &parsed->copyright
                                                             : nullptr;
        bool takesValue =
            arg == "-o" || arg == "--set" || arg == "--splash" || arg == "--icon" || arg == "--config" || versionField;
        if (takesValue && i + 1 >= args.size()) {
            *error = arg + " needs a value";
            return false;
        }
        if (arg == "-o") {
            parsed->output = args[++i];
            haveOutput = true;
        } else if (arg == "--set") {
            const std::string& setting = args[++i];
            size_t equals = setting.find('=');
            if (equals == std::string::npos) {
                *error = "--set needs NAME=VALUE, got \"" + setting + "\"";
                return false;
            }
            std::string key = setting.substr(0, equals);
            int id = 0;
            if (!ParsePropertyKey(key, &id)) {
                *error = UnknownPropertyMessage(key);
                return false;
            }
            parsed->props[id] = setting.substr(equals + 1);
        } else if (arg == "--keep") {
            parsed->keep = true;
        } else if (arg == "--force") {
            parsed->force = true;
        } else if (arg == "--config") {
            parsed->configFile = args[++i];
        } else if (arg == "--splash") {
            parsed->setSplash = true;
            parsed->splashFile = args[++i];
        } else if (arg == "--icon") {
            parsed->setIcon = true;
            parsed->iconFile = args[++i];
        } else if (versionField) {
            parsed->setVersion = true;
            *versionField = args[++i];
        } else if (!arg.empty() && arg[0] == '-') {
            *error = "unknown option \"" + arg + "\" for configure";
            return false;
        } else if (parsed->exe.empty()) {
            parsed->exe = arg;
        } else {
            *error = "configure takes one launcher, got a second: \"" + arg + "\"";
            return false;
        }
    }
    if (parsed->exe.empty()) {
        *error = "configure needs the launcher to copy";
        return false;
    }
    if (!haveOutput || parsed->output.empty()) {
        *error = "configure needs -o <out.exe>";
        return false;
    }
    parsed->arguments = args;
    return true;
}
}  // namespace

bool ParseToolArgs(const std::vector<std::string>& args, ToolArgs* parsed, std::string* error) {
    *parsed = ToolArgs();
    if (args.empty()) {
        *error = "no command given (configure, show, trace, runtimes, properties; --help, --version)";
        return false;
    }
    const std::string& command = args[0];
    // "jarstart-tool show --help": the usage of that command.
    if (args.size() == 2 && (args[1] == "--help" || args[1] == "-h") && !CommandHelp(command).empty()) {
        parsed->command = ToolCommand::Help;
        parsed->helpTopic = command;
        return true;
    }
    if (command == "configure") {
        parsed->command = ToolCommand::Configure;
        return ParseConfigure(args, parsed, error);
    }
    if (command == "show") {
        parsed->command = ToolCommand::Show;
        if (args.size() != 2 || args[1].empty()) {
            *error = "show takes exactly one exe";
            return false;
        }
        parsed->exe = args[1];
        return true;
    }
    if (command == "trace") {
        parsed->command = ToolCommand::Trace;
        size_t i = 1;
        if (i < args.size() && args[i] == "--raw") {
            parsed->raw = true;
            ++i;
        }
        if (i >= args.size() || args[i].empty()) {
            *error = "trace needs the exe to run";
            return false;
        }
        parsed->exe = args[i];
        parsed->exeArgument = i + 1;  // the program name is argument 0
        return true;
    }
    if (command == "properties") {
        parsed->command = ToolCommand::Properties;
        if (args.size() != 1) {
            *error = "properties takes no arguments";
            return false;
        }
        return true;
    }
    if (command == "help" || command == "--help" || command == "-h" || command == "/?") {
        parsed->command = ToolCommand::Help;
        if (args.size() > 2 || (args.size() == 2 && CommandHelp(args[1]).empty())) {
            *error = "help takes one of configure, show, trace, runtimes, properties";
            return false;
        }
        if (args.size() == 2) parsed->helpTopic = args[1];
        return true;
    }
    if (command == "--version") {
        parsed->command = ToolCommand::Version;
        if (args.size() != 1) {
            *error = "--version takes no arguments";
            return false;
        }
        return true;
    }
    if (command == "runtimes") {
        parsed->command = ToolCommand::Runtimes;
        for (size_t i = 1; i < args.size(); ++i) {
            if (args[i] == "--json" && !parsed->json) {
                parsed->json = true;
            } else if (!args[i].empty() && args[i][0] != '-' && parsed->exe.empty()) {
                parsed->exe = args[i];
            } else {
                *error = "runtimes takes [--json] and at most one exe";
                return false;
            }
        }
        return true;
    }
    *error = "unknown command \"" + command + "\" (configure, show, trace, runtimes, properties; --help, --version)";
    return false;
}

namespace {
struct CommandUsage {
    const char* command;
    const char* usage;
};
const CommandUsage kUsages[] = {
    {"configure",
     "  jarstart-tool configure <launcher.exe> -o <out.exe> [--config FILE] [--keep] [--force]\n"
     "                [--set NAME=VALUE]... [--splash FILE] [--icon FILE.ico] [--version 1.2.3.4]\n"
     "                [--product TEXT] [--company TEXT] [--description TEXT] [--copyright TEXT]\n"},
    {"show", "  jarstart-tool show <exe>\n"},
    {"trace", "  jarstart-tool trace [--raw] <exe> [args...]\n"},
    {"runtimes", "  jarstart-tool runtimes [--json] [<launcher.exe>]\n"},
    {"properties", "  jarstart-tool properties\n"},
};
const CommandUsage kDetails[] = {
    {"configure",
     "Writes a copy of the launcher with its properties, splash image, icon and version information set.\n"
     "--config FILE reads NAME=value lines (PROP_... names, splash, icon, version, product, company,\n"
     "description, copyright; # starts a comment); the command line overrides them. A setting the\n"
     "launcher would misread is refused (exit code 2, nothing written) unless --force is given.\n"},
    {"show", "Prints everything configure can set: properties, splash image, icons, version information,\n"
             "kind and machine, and whether the file is signed.\n"},
    {"trace", "Runs the launcher under the debugger and prints its diagnostic log; exits with its exit code.\n"},
    {"runtimes", "Lists the Java runtimes the launcher's search sees and which one it would start.\n"},
    {"properties", "Lists every launcher property with its id, type and meaning.\n"},
};
}  // namespace

std::string CommandHelp(const std::string& command) {
    if (command.empty()) return std::string(ToolUsage()) + "  jarstart-tool --help [command] | --version\n";
    for (size_t i = 0; i < sizeof(kUsages) / sizeof(kUsages[0]); ++i)
        if (command == kUsages[i].command) return std::string("usage:\n") + kUsages[i].usage + kDetails[i].usage;
    return std::string();
}

const char* ToolUsage() {
    return "usage:\n"
           "  jarstart-tool configure <launcher.exe> -o <out.exe> [--config FILE] [--keep] [--force]\n"
           "                [--set NAME=VALUE]... [--splash FILE] [--icon FILE.ico] [--version 1.2.3.4]\n"
           "                [--product TEXT] [--company TEXT] [--description TEXT] [--copyright TEXT]\n"
           "  jarstart-tool show <exe>\n"
           "  jarstart-tool trace [--raw] <exe> [args...]\n"
           "  jarstart-tool runtimes [--json] [<launcher.exe>]\n"
           "  jarstart-tool properties\n";
}
