#pragma once
// Fake runtime homes built from the stand-in runtime (java.exe / javaw.exe
// built from tools/standin), configured by a behaviour file beside them.
#include <string>
#include <vector>

struct StandInBehaviour {
    std::string versionText = "java version \"1.6.0_03\"\n";  // printed to stderr for -version
    int versionDelayMs = 0;     // before printing the version text
    std::string stdoutText;     // printed otherwise, to standard output
    std::string stderrText;     // and to standard error, after stdoutText
    int windowAfterMs = -1;     // create a hidden top-level window at start, show it after N ms; -1 none
    int exitCode = 0;
    int liveMs = 0;             // how long to live (after output) before exiting
};

// Creates <home>\bin\java.exe and <home>\bin\javaw.exe and the behaviour
// file; with a development kit also <home>\lib\tools.jar; each name in
// libJars as an empty file <home>\lib\<name>. home has no trailing backslash.
void MakeFakeRuntime(const std::string& home, const StandInBehaviour& behaviour = StandInBehaviour(),
                     bool developmentKit = false, const std::vector<std::string>& libJars = {});

// What the stand-in recorded of its last non -version run, started as
// <home>\bin\<exeName>: its full command line (GetCommandLineA) and current
// directory. Empty strings when it did not run.
struct RecordedRun {
    std::string commandLine;
    std::string currentDir;
};
RecordedRun ReadRecordedRun(const std::string& home, const std::string& exeName = "javaw.exe");
