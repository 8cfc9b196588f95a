// jarstart-tool for the build machine: configure and show a launcher from
// any system, without Windows. trace runs the launcher, which needs Windows.
#include <cstdio>
#include <string>
#include <vector>

#include "tools/jarstart-tool/ToolCommands.h"

#ifdef _WIN32
#include <windows.h>

#include <cwchar>

#include "tools/jarstart-tool/Utf8Text.h"
#endif

namespace {
// The arguments as UTF-8. On Windows argv is in the ANSI code page, so the
// UTF-16 command line is split by the rules the C runtime uses instead.
std::vector<std::string> Arguments(int argc, char** argv) {
#ifdef _WIN32
    (void)argc, (void)argv;
    const wchar_t* line = GetCommandLineW();
    std::vector<CommandLineArgument> split = SplitCommandLine(Utf16ToUtf8(std::u16string(line, line + wcslen(line))));
    std::vector<std::string> values;
    for (size_t i = 1; i < split.size(); ++i) values.push_back(split[i].value);
    return values;
#else
    return std::vector<std::string>(argv + 1, argv + argc);
#endif
}

void Write(std::FILE* stream, const std::string& text) {
    std::fwrite(text.data(), 1, text.size(), stream);
    std::fflush(stream);
}
}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> values = Arguments(argc, argv);
    if (values.empty()) {
        std::fputs(ToolUsage(), stderr);
        return kToolBadInput;
    }
    ToolArgs args;
    std::string error;
    if (!ParseToolArgs(values, &args, &error)) {
        Write(stderr, ToolErrorLine(error));
        return kToolBadInput;
    }
    if (args.command == ToolCommand::Trace) {
        Write(stderr, ToolErrorLine("trace runs the exe under the Windows debugger: run jarstart-tool.exe on Windows "
                                    "(or under Wine) for it"));
        return kToolBadInput;
    }
    if (args.command == ToolCommand::Runtimes) {
        Write(stderr, ToolErrorLine("runtimes uses the launcher's own runtime search, which reads the Windows "
                                    "registry and folders: run jarstart-tool.exe on Windows for it"));
        return kToolBadInput;
    }
    ToolOutput output;
    int code = RunFileCommand(args, &output);
    Write(stdout, output.out);
    Write(stderr, output.err);
    return code;
}
