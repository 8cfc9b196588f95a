// jarstart-tool: configures a copy of the launcher, shows a launcher's
// configuration, and runs a program printing its diagnostic log.
#include <windows.h>

#include <fcntl.h>
#include <io.h>

#include <cstdio>
#include <string>
#include <vector>

#include "tools/jarstart-tool/Debuggee.h"
#include "tools/jarstart-tool/Configure.h"
#include "tools/jarstart-tool/FileBytes.h"
#include "tools/jarstart-tool/LauncherImage.h"
#include "tools/jarstart-tool/ShowText.h"
#include "tools/jarstart-tool/ToolArgs.h"
#include "tools/jarstart-tool/TraceFormat.h"

namespace {
const int kBadInput = 2;

int Fail(const std::string& message) {
    std::fprintf(stderr, "jarstart-tool: %s\n", message.c_str());
    return kBadInput;
}

int RunConfigure(const ToolArgs& args) {
    ConfigureRequest request;
    request.input = args.exe;
    request.output = args.output;
    request.props = args.props;
    if (args.setSplash) {
        DWORD code = 0;
        if (!ReadFileBytes(args.splashFile, &request.splashBytes, &code))
            return Fail("cannot read " + args.splashFile + ": " + SystemMessage(code));
        request.setSplash = true;
    }
    if (args.setIcon) {
        DWORD code = 0;
        if (!ReadFileBytes(args.iconFile, &request.iconBytes, &code))
            return Fail("cannot read " + args.iconFile + ": " + SystemMessage(code));
        request.setIcon = true;
    }
    if (args.setVersion) {
        VersionFields& version = request.version;
        version.hasNumber = !args.version.empty();
        if (version.hasNumber && !ParseVersionNumber(args.version, version.number))
            return Fail("--version needs up to four numbers 0..65535 such as 1.2.3.4, got \"" + args.version + "\"");
        version.product = args.product;
        version.company = args.company;
        version.description = args.description;
        version.copyright = args.copyright;
        request.setVersion = true;
    }
    std::string error;
    if (!ConfigureLauncher(request, &error)) return Fail(error);
    return 0;
}

int RunShow(const ToolArgs& args) {
    LauncherImage image;
    std::string error;
    if (!ReadLauncherImage(args.exe, &image, &error)) return Fail(error);
    std::string text = FormatShow(image);
    std::fwrite(text.data(), 1, text.size(), stdout);
    return 0;
}

// CreateProcessA looks for a bare name beside the tool before the current
// directory, so "trace jarstart.exe" would run the tool's sibling instead of
// the copy the user is looking at: a file that exists is passed by full path.
std::string ExistingFullPath(const std::string& path) {
    char full[MAX_PATH];
    if (GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES) return path;
    DWORD n = GetFullPathNameA(path.c_str(), MAX_PATH, full, nullptr);
    return n > 0 && n < MAX_PATH ? std::string(full, n) : path;
}

int RunTrace(const ToolArgs& args, const std::string& commandLine) {
    // Rebuilding the rest from argv would lose the blanks and quotes as the
    // user typed them, which is exactly what the launcher's switch parser sees.
    std::string line = DebuggeeCommandLine(ExistingFullPath(args.exe), TextAfterArgument(commandLine, args.exeArgument));
    if (args.raw) _setmode(_fileno(stdout), _O_BINARY);
    DebuggeeResult result = RunDebuggee(line, nullptr, [&args](const std::string& entry) {
        if (args.raw) {
            std::fwrite(entry.data(), 1, entry.size(), stdout);
            std::fputc('\0', stdout);
        } else {
            std::string text = FormatEntry(entry) + "\n";
            std::fwrite(text.data(), 1, text.size(), stdout);
        }
        std::fflush(stdout);
    });
    if (!result.started) return Fail("cannot start " + args.exe + ": " + SystemMessage(result.error));
    std::fflush(stdout);
    std::fprintf(stderr, "exit code: %ld\n", static_cast<long>(static_cast<int>(result.exitCode)));
    return static_cast<int>(result.exitCode);
}
}  // namespace

int main() {
    // Arguments come from the command line itself, split by the same rules
    // trace uses to find where the exe argument ends.
    std::string commandLine = GetCommandLineA();
    std::vector<CommandLineArgument> split = SplitCommandLine(commandLine);
    std::vector<std::string> values;
    for (size_t i = 1; i < split.size(); ++i) values.push_back(split[i].value);

    if (values.empty()) {
        std::fputs(ToolUsage(), stderr);
        return kBadInput;
    }
    ToolArgs args;
    std::string error;
    if (!ParseToolArgs(values, &args, &error)) return Fail(error);
    switch (args.command) {
    case ToolCommand::Configure: return RunConfigure(args);
    case ToolCommand::Show: return RunShow(args);
    case ToolCommand::Trace: return RunTrace(args, commandLine);
    }
    return kBadInput;
}
