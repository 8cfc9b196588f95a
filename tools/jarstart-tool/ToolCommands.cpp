#include "tools/jarstart-tool/ToolCommands.h"

#include "tools/jarstart-tool/Configure.h"
#include "tools/jarstart-tool/HostFiles.h"
#include "tools/jarstart-tool/ShowText.h"

namespace {
int Fail(ToolOutput* output, const std::string& message) {
    output->err += ToolErrorLine(message);
    return kToolBadInput;
}

int RunConfigure(const ToolArgs& args, ToolOutput* output) {
    ConfigureRequest request;
    request.input = args.exe;
    request.output = args.output;
    request.props = args.props;
    request.keepProperties = args.keep;
    std::string reason;
    if (args.setSplash) {
        if (!ReadWholeFile(args.splashFile, &request.splashBytes, &reason))
            return Fail(output, "cannot read " + args.splashFile + ": " + reason);
        request.setSplash = true;
    }
    if (args.setIcon) {
        if (!ReadWholeFile(args.iconFile, &request.iconBytes, &reason))
            return Fail(output, "cannot read " + args.iconFile + ": " + reason);
        request.setIcon = true;
    }
    if (args.setVersion) {
        VersionFields& version = request.version;
        version.hasNumber = !args.version.empty();
        if (version.hasNumber && !ParseVersionNumber(args.version, version.number))
            return Fail(output, "--version needs up to four numbers 0..65535 such as 1.2.3.4, got \"" + args.version + "\"");
        version.product = args.product;
        version.company = args.company;
        version.description = args.description;
        version.copyright = args.copyright;
        request.setVersion = true;
    }
    std::string error, note;
    if (!ConfigureLauncher(request, &error, &note)) return Fail(output, error);
    if (!note.empty()) output->err += ToolErrorLine(note);
    return 0;
}

int RunShow(const ToolArgs& args, ToolOutput* output) {
    LauncherImage image;
    std::string error;
    if (!ReadLauncherImage(args.exe, &image, &error)) return Fail(output, error);
    output->out += FormatShow(image);
    return 0;
}
}  // namespace

int RunFileCommand(const ToolArgs& args, ToolOutput* output) {
    switch (args.command) {
    case ToolCommand::Configure: return RunConfigure(args, output);
    case ToolCommand::Show: return RunShow(args, output);
    case ToolCommand::Trace:
    case ToolCommand::Runtimes: break;
    }
    return Fail(output, "trace and runtimes are not file commands");
}

std::string ToolErrorLine(const std::string& message) { return "jarstart-tool: " + message + "\n"; }
