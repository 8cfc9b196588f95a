// jarstart-tool for the build machine: configure and show a launcher from
// any system, without Windows. trace runs the launcher, which needs Windows.
#include <cstdio>
#include <string>
#include <vector>

#include "tools/jarstart-tool/ToolCommands.h"

namespace {
void Write(std::FILE* stream, const std::string& text) {
    std::fwrite(text.data(), 1, text.size(), stream);
    std::fflush(stream);
}
}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> values(argv + 1, argv + argc);
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
    ToolOutput output;
    int code = RunFileCommand(args, &output);
    Write(stdout, output.out);
    Write(stderr, output.err);
    return code;
}
