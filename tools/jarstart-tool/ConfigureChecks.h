#pragma once
// What configure checks before it writes a launcher: the settings a copy
// would hold, judged without touching a file, so that every system the
// tool builds for (and any other implementation of configure) refuses and
// warns about the same settings with the same words.
#include <map>
#include <string>
#include <vector>

// The configuration a copy would carry once written.
struct LauncherSettings {
    std::map<int, std::string> props;  // property id -> value; an empty value is an absent property
    bool hasSplash = false;
    std::string splashBytes;
    std::string splashName;            // how to name the image in a message: the file given, or the input
    bool splashGiven = false;          // --splash in this run
    std::string output;                // the copy's path, as given
    // PROP_JRE_PATH beside the output: true when the tool looked and found
    // nothing there (false when it found it or could not look).
    bool bundledRuntimeMissing = false;
};

struct ConfigureFinding {
    bool refusal;         // true: not written without --force; false: a warning
    std::string message;  // one line, without "jarstart-tool: "
};

// Every refusal, then every warning, in a fixed order; empty when the
// settings are sound.
std::vector<ConfigureFinding> CheckLauncherSettings(const LauncherSettings& settings);

// Whether the configuration names something for the launcher to start.
bool NamesSomethingToStart(const std::map<int, std::string>& props);

// "BMP", "GIF" or "JPEG" for an image the splash window can show, judged by
// its first bytes; "PNG" or "" for anything else.
std::string SplashImageFormat(const std::string& bytes);

// The splash image's format and size for show: "BMP, 400x300" (the size
// when the header gives it), "PNG (the launcher cannot show it)", or
// "unknown format".
std::string DescribeSplashImage(const std::string& bytes);

// The value rules, one per kind of property.
bool IsWholeNumber(const std::string& text);
bool IsJavaVersion(const std::string& text);
// True for "false", "no", "0" and "off" in any case: texts meant as no,
// which the launcher reads as yes.
bool LooksLikeNo(const std::string& text);
