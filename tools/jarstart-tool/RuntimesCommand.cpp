#include "tools/jarstart-tool/RuntimesCommand.h"

#include <windows.h>

#include <string>
#include <vector>

#include "framework/Array.h"
#include "base/Globals.h"
#include "base/LauncherProperties.h"
#include "base/PathExists.h"
#include "base/PropertyIds.h"
#include "launcher/LaunchSteps.h"
#include "runtime/ExeMachine.h"
#include "runtime/JavaRelease.h"
#include "runtime/JvmLibrary.h"
#include "runtime/RuntimeGathering.h"
#include "runtime/RuntimeSearch.h"
#include "runtime/Version.h"
#include "runtime/VersionProbe.h"
#include "tools/jarstart-tool/LauncherImage.h"
#include "tools/jarstart-tool/Utf8Text.h"

namespace {

// The launcher's texts are ANSI; the tool writes UTF-8.
std::string FromAnsi(const char* text) {
    int length = MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0);
    if (length <= 1) return std::string();
    std::u16string wide(static_cast<size_t>(length), u'\0');
    MultiByteToWideChar(CP_ACP, 0, text, -1, reinterpret_cast<wchar_t*>(&wide[0]), length);
    wide.resize(static_cast<size_t>(length - 1));
    return Utf16ToUtf8(wide);
}

std::string ToAnsi(const std::string& utf8) {
    std::u16string wide = Utf8ToUtf16(utf8);
    int length = WideCharToMultiByte(CP_ACP, 0, reinterpret_cast<const wchar_t*>(wide.c_str()), -1, nullptr, 0,
                                     nullptr, nullptr);
    std::string text(static_cast<size_t>(length > 0 ? length : 1), '\0');
    WideCharToMultiByte(CP_ACP, 0, reinterpret_cast<const wchar_t*>(wide.c_str()), -1, &text[0], length, nullptr,
                        nullptr);
    text.resize(text.size() - 1);
    return text;
}

std::string Json(const std::string& text) {
    std::string quoted = "\"";
    for (char c : text) {
        if (c == '"' || c == '\\') quoted += '\\';
        if (static_cast<unsigned char>(c) < 0x20) continue;
        quoted += c;
    }
    return quoted + "\"";
}

// The launcher's own search, run on its properties: the home it would
// start, "" when none (a bundled runtime has none either), and the search
// settings left in the globals as the launcher leaves them.
struct Decision {
    bool searched = false;
    bool found = false;
    bool bundled = false;  // PROP_JRE_PATH next to the launcher, which always wins
    CString home;
    CString program;  // what the launcher would start
};
Decision RunLauncherSearch(const std::string& exe, const LauncherImage& image) {
    Decision decision;
    std::u16string wide = Utf8ToUtf16(exe);
    HMODULE module = LoadLibraryExW(reinterpret_cast<const wchar_t*>(wide.c_str()), nullptr,
                                    LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    if (!module) return decision;
    SetPropertyModule(module);
    g_javaExeName = image.subsystem == 3 ? "java.exe" : "javaw.exe";
    // The tool is a 32-bit program: a 64-bit launcher's own view is the
    // 64-bit one, and its other view the 32-bit one.
    g_searchedMachineBits = image.machine == 0x8664 ? 64 : 32;
    g_searchJdkOnly = ReadBoolProperty(PROP_SEARCH_JDK_ONLY) ? 1 : 0;
    // A module launcher passes over runtimes before 9, as the launcher does.
    StartTarget target;
    CString problem;
    ReadStartTarget(&target, &problem);
    std::string full = ToAnsi(exe);
    char folder[MAX_PATH];
    char* name = nullptr;
    DWORD length = GetFullPathNameA(full.c_str(), MAX_PATH, folder, &name);
    if (length > 0 && length < MAX_PATH && name) {
        name[-1] = '\0';
        // The launcher searches from its working folder, where its last step
        // (the bare executable name) is resolved; where that folder does not
        // exist it stays where it was started, as the tool does here.
        char toolFolder[MAX_PATH];
        DWORD toolLength = GetCurrentDirectoryA(MAX_PATH, toolFolder);
        SetCurrentDirectoryA(CString(folder) + "\\" + ReadStringProperty(PROP_WORK_DIR));
        decision.program = FindJavaRuntime(folder);
        decision.home = WithoutTrailingBackslash(g_acceptedHome);
        decision.found = PathExists(decision.program);
        CString jrePath = ReadStringProperty(PROP_JRE_PATH);
        decision.bundled = !jrePath.IsEmpty() && decision.program == CString(folder) + "\\" + jrePath;
        char program[MAX_PATH];
        DWORD programLength = GetFullPathNameA(decision.program, MAX_PATH, program, nullptr);
        if (decision.found && !decision.bundled && programLength > 0 && programLength < MAX_PATH)
            decision.program = program;
        if (toolLength > 0 && toolLength < MAX_PATH) SetCurrentDirectoryA(toolFolder);
        decision.searched = true;
    }
    SetPropertyModule(nullptr);
    FreeLibrary(module);
    return decision;
}

// The bundled runtime is started whatever its version; the vendor, not the
// user, has to know when it does not meet the launcher's own limits.
struct BundledJudgement {
    std::string version;  // "" when neither its release file nor a probe tells
    std::string source;   // "release file" or "probed"
    std::string verdict;  // "meets the minimum 11", "below the minimum 11", ...
    bool fits = false;
};
BundledJudgement JudgeBundled(const CString& program) {
    BundledJudgement judged;
    // <home>\bin\javaw.exe: the home is two folders up.
    std::string path = program.GetString();
    size_t bin = path.find_last_of('\\');
    size_t home = bin == std::string::npos || bin == 0 ? std::string::npos : path.find_last_of('\\', bin - 1);
    CString homeFolder = home == std::string::npos ? CString() : CString(path.substr(0, home).c_str());
    CString version = homeFolder.IsEmpty() ? CString() : ReadReleaseVersion(homeFolder);
    judged.source = "release file";
    if (version.IsEmpty() && !homeFolder.IsEmpty()) {
        g_probeTimeLeftMs = 5000;
        version = ProbeJavaVersion(homeFolder);
        g_probeTimeLeftMs = INFINITE;
        judged.source = "probed";
    }
    judged.version = FromAnsi(version);
    std::string minimum = FromAnsi(g_minJavaVersion), maximum = FromAnsi(g_maxJavaVersion);
    std::string limits = "the minimum " + minimum + (maximum.empty() ? "" : " and the maximum " + maximum);
    if (judged.version.empty()) {
        judged.verdict = "version unknown: no release file, and no answer to -version";
    } else if (!VersionAtLeast(g_minJavaVersion, version)) {
        judged.verdict = "below the minimum " + minimum;
    } else if (!maximum.empty() && !VersionAtMost(g_maxJavaVersion, version)) {
        judged.verdict = "above the maximum " + maximum;
    } else {
        judged.verdict = "meets " + limits;
        judged.fits = true;
    }
    return judged;
}

// Whether the launcher could run the runtime at home inside its own
// process (PROP_IN_PROCESS), judged by the same code the launcher uses.
struct InProcessVerdict {
    bool possible = false;
    std::string detail;  // the jvm.dll when possible, else why not
};
InProcessVerdict JudgeInProcess(const CString& home, unsigned launcherMachine) {
    JvmLibraryChoice choice = ChooseJvmLibrary(home, launcherMachine);
    InProcessVerdict verdict;
    verdict.possible = choice.possible;
    verdict.detail = FromAnsi(choice.possible ? choice.path : choice.reason);
    return verdict;
}
// The bundled runtime's, from its program as the launcher judges it.
InProcessVerdict JudgeProgramInProcess(const CString& program, unsigned launcherMachine) {
    CString home = HomeOfJavaProgram(program);
    if (!home.IsEmpty()) return JudgeInProcess(home, launcherMachine);
    InProcessVerdict verdict;
    verdict.detail = FromAnsi(program + " is in no runtime's bin folder");
    return verdict;
}
std::string InProcessLine(const InProcessVerdict& verdict) {
    return std::string("    in-process: ") + (verdict.possible ? "possible, " : "not possible: ") + verdict.detail +
           "\n";
}
std::string InProcessJson(const InProcessVerdict& verdict) {
    return std::string(", \"inProcess\": ") + (verdict.possible ? "true" : "false") +
           ", \"inProcessDetail\": " + Json(verdict.detail);
}

std::string WhyNot(const RuntimeCandidate& candidate, int chosen) {
    std::string reason = RejectionReason(candidate).GetString();
    if (!reason.empty()) return reason;
    if (chosen < 0) return "accepted";
    return g_newestRuntime ? "a newer one is chosen" : "an earlier one is chosen";
}

}  // namespace

int RunRuntimes(const ToolArgs& args, ToolOutput* output) {
    bool configured = !args.exe.empty();
    std::string bundled;
    Decision decision;
    // The machine of the launcher that would load jvm.dll; without a
    // launcher, each runtime is judged for the launcher of its own machine.
    unsigned launcherMachine = 0;
    g_javaExeName = "javaw.exe";
    if (configured) {
        LauncherImage image;
        std::string error;
        if (!ReadLauncherImage(args.exe, &image, &error)) {
            output->err = ToolErrorLine(error);
            return kToolBadInput;
        }
        launcherMachine = image.machine == 0x8664 ? 0x8664 : 0x014c;
        decision = RunLauncherSearch(args.exe, image);
        if (!decision.searched) {
            output->err = ToolErrorLine("cannot load the launcher's properties: " + args.exe);
            return kToolBadInput;
        }
        if (decision.bundled) bundled = FromAnsi(decision.program);
    }
    g_probeTimeLeftMs = 5000;
    Array<RuntimeCandidate> candidates = JudgeFoundHomes(GatherEveryHome());
    g_probeTimeLeftMs = INFINITE;
    int chosen = -1;
    bool found = decision.found;
    for (size_t i = 0; i < candidates.size(); ++i) {
        if (configured && !decision.home.IsEmpty() && lstrcmpiA(candidates[i].home, decision.home) == 0)
            chosen = static_cast<int>(i);
        if (!configured && RejectionReason(candidates[i]).IsEmpty()) found = true;
    }
    // A runtime no source lists: the current directory's.
    std::string elsewhere = configured && found && bundled.empty() && chosen < 0 ? FromAnsi(decision.program) : "";

    BundledJudgement judged;
    if (!bundled.empty()) {
        judged = JudgeBundled(decision.program);
        // The launcher starts it anyway; the verdict is the vendor's to act on.
        found = judged.fits;
    }

    std::string json, text;
    for (size_t i = 0; i < candidates.size(); ++i) {
        const RuntimeCandidate& c = candidates[i];
        std::string home = FromAnsi(c.home), version = FromAnsi(c.version), vendor = FromAnsi(c.vendor);
        std::string bits = c.bits == 0 ? "?" : std::to_string(c.bits);
        std::string verdict = static_cast<int>(i) == chosen ? "would start"
                              : !bundled.empty()             ? "the bundled runtime is chosen"
                                                             : WhyNot(c, configured ? chosen : -1);
        std::string sources, jsonSources;
        for (const CString& source : c.sources) {
            sources += (sources.empty() ? "" : "; ") + FromAnsi(source);
            jsonSources += (jsonSources.empty() ? "" : ", ") + Json(FromAnsi(source));
        }
        unsigned machine = launcherMachine ? launcherMachine : c.bits == 64 ? 0x8664 : 0x014c;
        InProcessVerdict inProcess = JudgeInProcess(c.home, machine);
        text += (version.empty() ? "?" : version) + "  " + (vendor.empty() ? "-" : vendor) + "  " +
                (c.kit ? "kit" : "runtime") + "  " + bits + "-bit  " + home + "\n    sources: " + sources +
                "\n    " + verdict + "\n" + InProcessLine(inProcess);
        json += std::string(json.empty() ? "" : ",") + "\n    {\"version\": " + Json(version) +
                ", \"vendor\": " + Json(vendor) + ", \"kind\": " + Json(c.kit ? "kit" : "runtime") +
                ", \"bits\": " + (c.bits ? std::to_string(c.bits) : "null") + ", \"home\": " + Json(home) +
                ", \"sources\": [" + jsonSources + "], \"verdict\": " + Json(verdict) + InProcessJson(inProcess) + "}";
    }
    if (candidates.empty() && bundled.empty()) text += "no Java runtime found\n";
    InProcessVerdict bundledInProcess;
    if (!bundled.empty()) {
        bundledInProcess = JudgeProgramInProcess(decision.program, launcherMachine);
        text += "bundled runtime, always started: " + bundled + "\n    version " +
                (judged.version.empty() ? std::string("?") : judged.version + " (" + judged.source + ")") + ": " +
                judged.verdict + "\n" + InProcessLine(bundledInProcess);
    }
    if (!elsewhere.empty()) text += "the launcher would start: " + elsewhere + "\n";
    if (configured && !found && bundled.empty())
        text += "the launcher would find no runtime and show its failure dialog\n";
    if (args.json) {
        output->out = "{\"launcher\": " + (configured ? Json(args.exe) : std::string("null")) +
                      ", \"bundled\": " + (bundled.empty() ? std::string("null") : Json(bundled)) +
                      (bundled.empty() ? std::string()
                                       : ", \"bundledVersion\": " + Json(judged.version) +
                                             ", \"bundledVerdict\": " + Json(judged.verdict) +
                                             ", \"bundledInProcess\": " + (bundledInProcess.possible ? "true" : "false") +
                                             ", \"bundledInProcessDetail\": " + Json(bundledInProcess.detail)) +
                      ", \"elsewhere\": " + (elsewhere.empty() ? std::string("null") : Json(elsewhere)) +
                      ", \"found\": " + (found ? "true" : "false") + ", \"runtimes\": [" + json +
                      (json.empty() ? "]" : "\n  ]") + "}\n";
    } else {
        output->out = text;
    }
    return found ? 0 : 1;
}
