#include "tools/jarstart-tool/ConfigureChecks.h"

#include "base/PropertyIds.h"
#include "tools/jarstart-tool/PropertyNames.h"
#include "tools/jarstart-tool/StartProperties.h"
#include "tools/jarstart-tool/Utf8Text.h"

namespace {
bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsLetterOrDigit(char c) { return IsDigit(c) || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool SameIgnoringCase(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (Lower(a[i]) != Lower(b[i])) return false;
    return true;
}

bool StartsWith(const std::string& bytes, const char* prefix, size_t length) {
    return bytes.size() >= length && bytes.compare(0, length, prefix, length) == 0;
}

unsigned Byte(const std::string& b, size_t at) { return static_cast<unsigned char>(b[at]); }
unsigned Little16(const std::string& b, size_t at) { return Byte(b, at) | (Byte(b, at + 1) << 8); }
long Little32(const std::string& b, size_t at) {
    unsigned long v = Little16(b, at) | (static_cast<unsigned long>(Little16(b, at + 2)) << 16);
    return static_cast<long>(v & 0x7FFFFFFFul) - static_cast<long>(v & 0x80000000ul);
}
unsigned Big16(const std::string& b, size_t at) { return (Byte(b, at) << 8) | Byte(b, at + 1); }

// The words of a choice property, as listed in its description.
std::vector<std::string> ChoiceWords(const PropertyDescription& d) {
    std::vector<std::string> words;
    std::string word;
    for (const char* c = d.choices;; ++c) {
        if (*c == ' ' || *c == '\0') {
            if (!word.empty()) words.push_back(word);
            word.clear();
            if (*c == '\0') break;
        } else {
            word += *c;
        }
    }
    return words;
}

bool IsOneOf(const std::vector<std::string>& words, const std::string& value) {
    for (const std::string& word : words)
        if (SameIgnoringCase(word, value)) return true;
    return false;
}

std::string Quoted(const std::string& text) { return "\"" + text + "\""; }

// The refusal for a value the launcher would misread; "" when it reads it
// as meant.
std::string ValueProblem(int id, const std::string& value) {
    PropertyDescription d = DescribeProperty(id);
    std::string name = PropertyName(id);
    switch (d.kind) {
    case PropertyKind::Int:
        if (!IsWholeNumber(value)) return name + " needs a whole number such as 5, got " + Quoted(value);
        break;
    case PropertyKind::Version:
        if (!IsJavaVersion(value))
            return name + " needs a Java version such as 11, 1.8 or 17.0.2, got " + Quoted(value);
        break;
    case PropertyKind::Choice: {
        std::vector<std::string> words = ChoiceWords(d);
        if (!IsOneOf(words, value)) {
            std::string list;
            for (size_t i = 0; i < words.size(); ++i) list += (i ? " or " : "") + words[i];
            return name + " is " + list + ", got " + Quoted(value);
        }
        break;
    }
    case PropertyKind::Bool:
    case PropertyKind::String: break;
    }
    return std::string();
}

std::string ValueOf(const std::map<int, std::string>& props, int id) {
    std::map<int, std::string>::const_iterator found = props.find(id);
    return found == props.end() ? std::string() : found->second;
}
}  // namespace

bool IsWholeNumber(const std::string& text) {
    size_t i = !text.empty() && text[0] == '-' ? 1 : 0;
    // Nine digits at most: the launcher reads it with atoi, which has no
    // room for more.
    if (text.size() == i || text.size() - i > 9) return false;
    for (; i < text.size(); ++i)
        if (!IsDigit(text[i])) return false;
    return true;
}

bool IsJavaVersion(const std::string& text) {
    // Digit runs joined by "." or "_" (1.8.0_202), then optionally "-" or
    // "+" and a label (17-ea, 21+35): what a runtime reports and what the
    // launcher compares, number by number.
    size_t i = 0;
    for (;;) {
        size_t start = i;
        while (i < text.size() && IsDigit(text[i])) ++i;
        if (i == start) return false;
        if (i == text.size()) return true;
        if (text[i] != '.' && text[i] != '_') break;
        ++i;
    }
    if (text[i] != '-' && text[i] != '+') return false;
    if (++i == text.size()) return false;
    for (; i < text.size(); ++i)
        if (!IsLetterOrDigit(text[i]) && text[i] != '.' && text[i] != '-' && text[i] != '+' && text[i] != '_')
            return false;
    return true;
}

bool LooksLikeNo(const std::string& text) {
    return SameIgnoringCase(text, "false") || SameIgnoringCase(text, "no") || text == "0" ||
           SameIgnoringCase(text, "off");
}

bool NamesSomethingToStart(const std::map<int, std::string>& props) {
    // Every property that names what the launcher starts; one is enough.
    const int kStartTargets[] = {PROP_START_JAR, PROP_MAIN_CLASS, PROP_MAIN_MODULE};
    for (int id : kStartTargets)
        if (!ValueOf(props, id).empty()) return true;
    return false;
}

std::string SplashImageFormat(const std::string& bytes) {
    if (StartsWith(bytes, "BM", 2) && bytes.size() >= 26) return "BMP";
    if (StartsWith(bytes, "GIF87a", 6) || StartsWith(bytes, "GIF89a", 6)) return "GIF";
    if (StartsWith(bytes, "\xFF\xD8\xFF", 3)) return "JPEG";
    if (StartsWith(bytes, "\x89PNG\r\n\x1A\n", 8)) return "PNG";
    return std::string();
}

std::string DescribeSplashImage(const std::string& bytes) {
    std::string format = SplashImageFormat(bytes);
    if (format.empty()) return "unknown format";
    if (format == "PNG") return "PNG (the launcher cannot show it)";
    long width = -1, height = -1;
    if (format == "BMP") {
        width = Little32(bytes, 18);
        height = Little32(bytes, 22);
        if (height < 0) height = -height;  // a top-down bitmap
    } else if (format == "GIF" && bytes.size() >= 10) {
        width = Little16(bytes, 6);
        height = Little16(bytes, 8);
    } else if (format == "JPEG") {
        // The size is in the first start-of-frame segment (SOF0..SOF15 but
        // for the DHT, JPG and DAC markers that share their range).
        size_t at = 2;
        while (at + 9 <= bytes.size() && Byte(bytes, at) == 0xFF) {
            unsigned marker = Byte(bytes, at + 1);
            if (marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC) {
                height = Big16(bytes, at + 5);
                width = Big16(bytes, at + 7);
                break;
            }
            at += 2 + Big16(bytes, at + 2);
        }
    }
    if (width < 0 || height < 0) return format;
    return format + ", " + std::to_string(width) + "x" + std::to_string(height);
}

std::vector<ConfigureFinding> CheckLauncherSettings(const LauncherSettings& settings) {
    std::vector<ConfigureFinding> refusals, warnings;
    const std::map<int, std::string>& props = settings.props;
    bool splashOn = !ValueOf(props, PROP_SPLASH).empty();

    // A splash turned on without an image the splash window can load stops
    // every start with "Cannot load splash screen".
    if (splashOn && !settings.hasSplash)
        refusals.push_back({true, "PROP_SPLASH is on but the launcher has no splash image: add --splash FILE (BMP, "
                                  "GIF or JPEG) or leave PROP_SPLASH empty"});
    if (settings.hasSplash) {
        std::string format = SplashImageFormat(settings.splashBytes);
        if (format.empty() || format == "PNG")
            refusals.push_back({true, settings.splashName + " is no BMP, GIF or JPEG image" +
                                          (format.empty() ? std::string() : " (it is a " + format + " image)") +
                                          ": the splash window cannot show it"});
    }
    for (const auto& prop : props) {
        if (prop.second.empty()) continue;
        std::string problem = ValueProblem(prop.first, prop.second);
        if (!problem.empty()) refusals.push_back({true, problem});
    }
    // Two things to start, or a path without its class or module, is said
    // as such; only a configuration that names none is told what to set.
    std::vector<std::u16string> strings(kLastPropertyId - kFirstPropertyId + 1);
    for (const auto& prop : props)
        if (prop.first >= kFirstPropertyId && prop.first <= kLastPropertyId)
            strings[prop.first - kFirstPropertyId] = Utf8ToUtf16(prop.second);
    std::string startProblem = StartPropertiesProblem(strings);
    if (!startProblem.empty())
        refusals.push_back({true, startProblem});
    else if (!NamesSomethingToStart(props))
        refusals.push_back({true, "the launcher names nothing to start: set PROP_START_JAR to the application's jar, or "
                                  "PROP_MAIN_CLASS or PROP_MAIN_MODULE"});

    for (const auto& prop : props) {
        if (DescribeProperty(prop.first).kind != PropertyKind::Bool || !LooksLikeNo(prop.second)) continue;
        std::string name = PropertyName(prop.first);
        warnings.push_back({false, name + "=" + prop.second + " turns it on: any non-empty value means yes; --set " +
                                       name + "= turns it off"});
    }
    if (settings.splashGiven && settings.hasSplash && !splashOn)
        warnings.push_back({false, "the splash image " + settings.splashName +
                                       " is stored but PROP_SPLASH is off, so it never shows: --set PROP_SPLASH=yes "
                                       "shows it"});
    if (settings.bundledRuntimeMissing)
        warnings.push_back({false, "PROP_JRE_PATH names " + ValueOf(props, PROP_JRE_PATH) + ", which is not beside " +
                                       settings.output + ": ship the runtime there, or the launcher looks for "
                                       "another"});
    refusals.insert(refusals.end(), warnings.begin(), warnings.end());
    return refusals;
}
