#pragma once
// Running the real launcher in tests: a configured copy in a temp folder,
// started under the debugger so that its diagnostic log can be asserted.
#include <windows.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

// Copies build\<sourceExe> to folder + exeName and sets its launcher
// properties: every property id not in props is made absent; the start
// properties are not checked, so a copy may name two things to start. splash, when
// given, becomes the splash image resource (type 2, id 104). Returns the
// full path of the copy; fails the current test (and returns "") on error.
std::string PrepareLauncher(const std::string& folder, const std::map<int, std::string>& props,
                            const std::string& exeName = "launcher.exe", const std::string* splash = nullptr,
                            const std::string& sourceExe = "jarstart.exe");

struct SeenDialog {
    std::string caption;
    std::string text;       // the message box text or the rich-edit text
    std::string className;  // the window class of the top-level window
};

struct RunOptions {
    std::string currentDir;  // "" = the launcher's folder
    // Environment of the launcher: JAVA_HOME is unset unless given here. The
    // test process's own environment is restored afterwards.
    std::map<std::string, std::string> env;
    // Close every message box / dialog of the launcher as it appears (with
    // IDOK), recording each in LaunchResult::dialogs.
    bool dismissDialogs = true;
    // Runs on the watcher thread for each new dialog, before it is
    // dismissed (e.g. to read more of it or to press another button).
    std::function<void(HWND dialog)> onDialog;
    // A launcher still running after this long is terminated (timedOut).
    DWORD timeoutMs = 60000;
};

struct LaunchResult {
    bool started = false;
    bool timedOut = false;
    DWORD processId = 0;
    DWORD exitCode = 0;
    std::vector<std::string> log;  // every debugger-channel entry, in order
    std::vector<std::string> libraries;  // every library it loaded: file names, lower case, in order
    std::vector<SeenDialog> dialogs;
};

// Runs "<exePath>" args (args appended after one blank when not empty)
// under the debugger until it exits.
LaunchResult RunLauncher(const std::string& exePath, const std::string& args, const RunOptions& options = RunOptions());

// Index of the first log entry at or after `from` that starts with prefix
// (the whole entry when prefix is complete); -1 if none.
int FindEntry(const std::vector<std::string>& log, const std::string& prefix, int from = 0);

// The log entries joined with "\n", for readable test failure messages.
std::string JoinLog(const std::vector<std::string>& log);
