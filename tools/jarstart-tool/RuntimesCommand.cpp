#include "tools/jarstart-tool/RuntimesCommand.h"

#include <windows.h>

#include <string>
#include <vector>

#include "base/Globals.h"
#include "base/PathExists.h"
#include "base/PropertyIds.h"
#include "runtime/RuntimeGathering.h"
#include "runtime/Version.h"
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

// The launcher's search settings, as its search reads them.
void ApplySettings(const LauncherImage& image) {
    std::string minimum = PropertyValue(image, PROP_MIN_VERSION);
    g_minJavaVersion = IsVersionText(minimum.c_str()) ? ToAnsi(minimum).c_str() : "1.3";
    std::string maximum = PropertyValue(image, PROP_MAX_VERSION);
    g_maxJavaVersion = IsVersionText(maximum.c_str()) ? ToAnsi(maximum).c_str() : "";
    g_searchJdkOnly = PropertyValue(image, PROP_SEARCH_JDK_ONLY) == "1" ? 1 : 0;
    g_newestRuntime = lstrcmpiA(PropertyValue(image, PROP_RUNTIME_CHOICE).c_str(), "newest") == 0;
}

// The launcher's bundled runtime, which always wins, or "".
std::string BundledRuntime(const std::string& exe, const LauncherImage& image) {
    std::string jrePath = ToAnsi(PropertyValue(image, PROP_JRE_PATH));
    char full[MAX_PATH];
    char* name = nullptr;
    DWORD length = GetFullPathNameA(ToAnsi(exe).c_str(), MAX_PATH, full, &name);
    if (jrePath.empty() || length == 0 || length >= MAX_PATH || !name) return std::string();
    std::string local = std::string(full, name - full - 1) + "\\" + jrePath;
    return PathExists(local.c_str()) ? local : std::string();
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
    g_javaExeName = "javaw.exe";
    if (configured) {
        LauncherImage image;
        std::string error;
        if (!ReadLauncherImage(args.exe, &image, &error)) {
            output->err = ToolErrorLine(error);
            return kToolBadInput;
        }
        ApplySettings(image);
        bundled = FromAnsi(BundledRuntime(args.exe, image).c_str());
    }
    g_probeTimeLeftMs = 5000;
    std::vector<RuntimeCandidate> candidates = JudgeFoundHomes(GatherEveryHome());
    g_probeTimeLeftMs = INFINITE;
    int chosen = bundled.empty() ? ChooseCandidate(candidates) : -1;
    bool found = !bundled.empty() || chosen >= 0;

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
        text += (version.empty() ? "?" : version) + "  " + (vendor.empty() ? "-" : vendor) + "  " +
                (c.kit ? "kit" : "runtime") + "  " + bits + "-bit  " + home + "\n    sources: " + sources +
                "\n    " + verdict + "\n";
        json += std::string(json.empty() ? "" : ",") + "\n    {\"version\": " + Json(version) +
                ", \"vendor\": " + Json(vendor) + ", \"kind\": " + Json(c.kit ? "kit" : "runtime") +
                ", \"bits\": " + (c.bits ? std::to_string(c.bits) : "null") + ", \"home\": " + Json(home) +
                ", \"sources\": [" + jsonSources + "], \"verdict\": " + Json(verdict) + "}";
    }
    if (candidates.empty()) text += "no Java runtime found\n";
    if (!bundled.empty()) text += "bundled runtime, always started: " + bundled + "\n";
    if (configured && !found) text += "the launcher would find no runtime and show its failure dialog\n";
    if (args.json) {
        output->out = "{\"launcher\": " + (configured ? Json(args.exe) : std::string("null")) +
                      ", \"bundled\": " + (bundled.empty() ? std::string("null") : Json(bundled)) +
                      ", \"found\": " + (found ? "true" : "false") + ", \"runtimes\": [" + json +
                      (json.empty() ? "]" : "\n  ]") + "}\n";
    } else {
        output->out = text;
    }
    return found ? 0 : 1;
}
