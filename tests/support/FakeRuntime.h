#pragma once
// Fake runtime homes built from the stand-in runtime (java.exe / javaw.exe
// built from tools/testing/standin), configured by a behaviour file beside them.
#include <map>
#include <string>
#include <vector>

struct StandInBehaviour {
    std::string versionText = "java version \"1.6.0_03\"\n";  // printed to stderr for -version
    int versionDelayMs = 0;     // before printing the version text
    std::string stdoutText;     // printed otherwise, to standard output
    std::string stderrText;     // and to standard error, after stdoutText
    int windowAfterMs = -1;     // create a hidden top-level window at start, show it after N ms; -1 none
    std::string windowTitle = "Stand-in application";
    std::string messageBoxText;     // non-empty: a MessageBoxA (MB_OK) after the output, before living on
    std::string messageBoxCaption;
    int exitCode = 0;
    int liveMs = 0;             // how long to live (after output and message box) before exiting
    // Numbered lines (tools/testing/common/OutputPattern.h) on standard output after
    // stderrText; -1 = until a write fails, then live on as usual.
    long long patternLines = 0;
    std::string lastText;       // to standard error right before exiting (after liveMs)
    // >= 0: after the pattern lines, start a grandchild that inherits the
    // standard handles, prints nothing and lives that long (its pid: see
    // WaitForGrandchild); -1 none.
    int grandchildLiveMs = -1;
    bool echoInput = false;     // first copy standard input to standard output and error until it ends
    // >= 0: on Ctrl+C / Ctrl+Break print "interrupted by Ctrl+C\n" (or
    // "Ctrl+Break") to standard output and exit with this code; -1 none.
    // Armed before the record is written.
    int interruptExitCode = -1;
};

// Creates <home>\bin\java.exe and <home>\bin\javaw.exe and the behaviour
// file (folders included); with a development kit also <home>\lib\tools.jar;
// each name in libJars as an empty file <home>\lib\<name>. home has no
// trailing backslash. Fails the current test when a copy fails.
void MakeFakeRuntime(const std::string& home, const StandInBehaviour& behaviour = StandInBehaviour(),
                     bool developmentKit = false, const std::vector<std::string>& libJars = {});
// Writes <home>\release with the given text, as an installer would.
void WriteReleaseFile(const std::string& home, const std::string& text);
// Replaces <home>\bin\java.exe with the stand-in built for the given
// machine (32 or 64 bits): the search judges a home's bitness by its
// java.exe, so a home is of the bitness a test needs whichever build runs
// it. javaw.exe stays this build's, so the application still starts where
// the other machine's programs do not run (make builds the stand-in for both).
void UseJavaExeOf(int bits, const std::string& home);
// Copies a built stand-in file; a failure names the file and the Windows
// error, taken before anything else can reset it.
void CopyStandInFile(const std::string& from, const std::string& to);
// Replaces the behaviour file of an existing fake runtime.
void WriteStandInBehaviour(const std::string& home, const StandInBehaviour& behaviour);

// What the stand-in recorded of its last non -version run, started as
// <home>\bin\<exeName>: its full command line (GetCommandLineA), current
// directory, arguments, environment and entry time. Empty (found false) when it did
// not run.
struct RecordedRun {
    bool found = false;
    std::string commandLine;
    std::string commandLineUtf8;  // GetCommandLineW in UTF-8: intact whatever the code page
    std::string currentDir;
    std::vector<std::string> args;           // after the program name, split as a runtime splits them (UTF-8)
    std::map<std::string, std::string> env;  // names as written by the process
    unsigned long long entryTime = 0;        // GetSystemTimePreciseAsFileTime at entry, 100 ns units
};
RecordedRun ReadRecordedRun(const std::string& home, const std::string& exeName = "javaw.exe");
// Waits up to timeoutMs for the record (the launcher does not wait for the
// application it starts); found is false on timeout.
RecordedRun WaitForRecordedRun(const std::string& home, const std::string& exeName = "javaw.exe",
                               unsigned timeoutMs = 10000);
// The process id of the grandchild that <home>\bin\<exeName> started,
// waiting up to timeoutMs for it to be recorded; 0 when none was.
unsigned long WaitForGrandchild(const std::string& home, const std::string& exeName = "javaw.exe",
                                unsigned timeoutMs = 10000);
// The ids of the running processes whose program lies under home (stand-ins
// and their grandchildren).
std::vector<unsigned long> FindStandIns(const std::string& home);
// Ends every process FindStandIns finds; returns how many there were.
int EndStandIns(const std::string& home);
// This build's stand-in executables (<build>\standin\<exeName>); with
// bits, the ones built for that machine (the other build's folder for the
// other machine).
std::string StandInPath(const std::string& exeName);
std::string StandInPath(const std::string& exeName, int bits);
