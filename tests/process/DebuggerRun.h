#pragma once
// Runs process_tests.exe as its own child under the debugger and collects the
// diagnostic entries the child sends, for the tests of the application start
// and the start-up watch.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tests/process/ChildProgram.h"
#include "tools/jarstart-tool/Debuggee.h"

struct DebuggerRun {
    DWORD exitCode = 0;
    std::vector<std::string> entries;
};

inline DebuggerRun RunUnderDebugger(const std::string& verbs) {
    DebuggerRun run;
    DebuggeeResult result =
        RunDebuggee(ChildCommand(verbs), nullptr, [&](const std::string& entry) { run.entries.push_back(entry); });
    EXPECT_TRUE(result.started) << "error " << result.error;
    run.exitCode = result.exitCode;
    return run;
}

inline std::string Joined(const std::vector<std::string>& entries) {
    std::string text;
    for (const std::string& entry : entries) text += entry + "\n";
    return text;
}

inline bool Contains(const std::vector<std::string>& entries, const std::string& entry) {
    for (const std::string& e : entries)
        if (e == entry) return true;
    return false;
}

// The watch's process-wide state, saved and restored around each test; the
