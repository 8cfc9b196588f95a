// jarstart-tool.exe: configures a copy of the launcher, shows a launcher's
// configuration, and runs a program printing its diagnostic log.
#include <windows.h>

#include <fcntl.h>
#include <io.h>

#include <cstdio>
#include <string>
#include <vector>

#include <cwchar>

#include "tools/jarstart-tool/Debuggee.h"
#include "tools/jarstart-tool/FileBytes.h"
#include "tools/jarstart-tool/RuntimesCommand.h"
#include "tools/jarstart-tool/ToolArgs.h"
#include "tools/jarstart-tool/ToolCommands.h"
#include "tools/jarstart-tool/TraceFormat.h"
#include "tools/jarstart-tool/Utf8Text.h"

namespace {
const int kBadInput = kToolBadInput;

int Fail(const std::string& message) {
    std::fprintf(stderr, "jarstart-tool: %s\n", message.c_str());
    return kBadInput;
}

// UTF-8 to a console shows as UTF-16 whatever its code page; to a file or a
// pipe it goes as bytes, the same bytes the tool writes on every system.
void WriteText(DWORD which, std::FILE* stream, const std::string& text) {
    if (text.empty()) return;
    HANDLE handle = GetStdHandle(which);
    DWORD mode = 0;
    if (handle != INVALID_HANDLE_VALUE && GetConsoleMode(handle, &mode)) {
        std::u16string wide = Utf8ToUtf16(text);
        DWORD written = 0;
        WriteConsoleW(handle, wide.data(), static_cast<DWORD>(wide.size()), &written, nullptr);
        return;
    }
    std::fwrite(text.data(), 1, text.size(), stream);
    std::fflush(stream);
}

// The arguments as UTF-8, from the UTF-16 command line: any character a user
// can type reaches the resources, whatever the ANSI code page.
std::vector<std::string> Utf8Arguments() {
    const wchar_t* line = GetCommandLineW();
    std::u16string wide(line, line + wcslen(line));
    std::vector<CommandLineArgument> split = SplitCommandLine(Utf16ToUtf8(wide));
    std::vector<std::string> values;
    for (size_t i = 1; i < split.size(); ++i) values.push_back(split[i].value);
    return values;
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
    std::vector<std::string> values = Utf8Arguments();
    if (values.empty()) {
        std::fputs(ToolUsage(), stderr);
        return kBadInput;
    }
    ToolArgs args;
    std::string error;
    if (!ParseToolArgs(values, &args, &error)) {
        WriteText(STD_ERROR_HANDLE, stderr, ToolErrorLine(error));
        return kBadInput;
    }
    if (args.command == ToolCommand::Trace) {
        // The debuggee's command line is ANSI text, passed on as typed.
        std::string commandLine = GetCommandLineA();
        std::vector<CommandLineArgument> split = SplitCommandLine(commandLine);
        std::vector<std::string> ansi;
        for (size_t i = 1; i < split.size(); ++i) ansi.push_back(split[i].value);
        if (!ParseToolArgs(ansi, &args, &error)) return Fail(error);
        return RunTrace(args, commandLine);
    }
    ToolOutput output;
    int code = args.command == ToolCommand::Runtimes ? RunRuntimes(args, &output) : RunFileCommand(args, &output);
    WriteText(STD_OUTPUT_HANDLE, stdout, output.out);
    WriteText(STD_ERROR_HANDLE, stderr, output.err);
    return code;
}
