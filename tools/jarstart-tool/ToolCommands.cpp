#include "tools/jarstart-tool/ToolCommands.h"

#include "tools/jarstart-tool/ConfigFile.h"
#include "tools/jarstart-tool/Configure.h"
#include "tools/jarstart-tool/ConfigureChecks.h"
#include "tools/jarstart-tool/HostFiles.h"
#include "tools/jarstart-tool/PropertyNames.h"
#include "tools/jarstart-tool/ShowText.h"
#include "tools/jarstart-tool/ToolVersion.h"

namespace {
int Fail(ToolOutput* output, const std::string& message) {
    output->err += ToolErrorLine(message);
    return kToolBadInput;
}

// The options of a --config file go before those of the command line, so
// the command line wins wherever both say something.
bool MergeConfigFile(const ToolArgs& args, ToolArgs* merged, std::string* error) {
    std::string text, reason;
    if (!ReadWholeFile(args.configFile, &text, &reason)) {
        *error = "cannot read " + args.configFile + ": " + reason;
        return false;
    }
    std::vector<std::string> options;
    if (!ConfigFileOptions(text, args.configFile, FolderPartOf(args.configFile), &options, error)) return false;
    std::vector<std::string> combined(1, args.arguments[0]);
    combined.insert(combined.end(), options.begin(), options.end());
    combined.insert(combined.end(), args.arguments.begin() + 1, args.arguments.end());
    return ParseToolArgs(combined, merged, error);
}

// What the copy would hold once written, from the input as read and the
// request; false when the input cannot be read (configure then says why).
bool SettingsAfter(const ConfigureRequest& request, const std::string& splashFile, LauncherSettings* settings) {
    LauncherImage image;
    std::string error;
    if (!ReadLauncherImage(request.input, &image, &error)) return false;
    if (request.keepProperties) {
        for (const LauncherPropertyInfo& p : kLauncherProperties) {
            std::string value = PropertyValue(image, p.id);
            if (!value.empty()) settings->props[p.id] = value;
        }
    }
    for (const auto& prop : request.props) {
        if (prop.second.empty()) settings->props.erase(prop.first);
        else settings->props[prop.first] = prop.second;
    }
    settings->splashGiven = request.setSplash;
    settings->hasSplash = request.setSplash || image.hasSplash;
    settings->splashBytes = request.setSplash ? request.splashBytes : image.splash;
    settings->splashName = request.setSplash ? splashFile : "the splash image of " + request.input;
    settings->output = request.output;
    std::map<int, std::string>::const_iterator jre = settings->props.find(PROP_JRE_PATH);
    if (jre != settings->props.end()) {
        // The launcher joins its folder and the property with a backslash;
        // "/" separates folders on every system the tool runs on.
        std::string path = FolderPartOf(request.output) + jre->second;
        for (char& c : path)
            if (c == '\\') c = '/';
        settings->bundledRuntimeMissing = !PathExistsOnHost(path);
    }
    return true;
}

int RunConfigure(const ToolArgs& given, ToolOutput* output) {
    ToolArgs args = given;
    std::string reason;
    if (!given.configFile.empty() && !MergeConfigFile(given, &args, &reason)) return Fail(output, reason);
    ConfigureRequest request;
    request.input = args.exe;
    request.output = args.output;
    request.props = args.props;
    request.keepProperties = args.keep;
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
    LauncherSettings settings;
    std::string warnings;
    if (SettingsAfter(request, args.splashFile, &settings)) {
        std::vector<ConfigureFinding> findings = CheckLauncherSettings(settings);
        std::string refusals;
        for (const ConfigureFinding& finding : findings) {
            if (finding.refusal && !args.force) refusals += ToolErrorLine(finding.message);
            else if (finding.refusal) warnings += ToolErrorLine("warning: " + finding.message + " (written: --force)");
            else warnings += ToolErrorLine("warning: " + finding.message);
        }
        if (!refusals.empty()) {
            output->err += refusals;
            return kToolBadInput;
        }
    }
    std::string error, note;
    if (!ConfigureLauncher(request, &error, &note)) return Fail(output, error);
    output->err += warnings;
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
    case ToolCommand::Properties: output->out += PropertyListText(); return 0;
    case ToolCommand::Help: output->out += CommandHelp(args.helpTopic); return 0;
    case ToolCommand::Version: output->out += std::string("jarstart-tool ") + kToolVersion + "\n"; return 0;
    case ToolCommand::Trace:
    case ToolCommand::Runtimes: break;
    }
    return Fail(output, "trace and runtimes are not file commands");
}

std::string ToolErrorLine(const std::string& message) { return "jarstart-tool: " + message + "\n"; }
