#include "tests/support/Launcher.h"

#include <atomic>
#include <set>
#include <thread>

#include <gtest/gtest.h>

#include "tests/support/Dialogs.h"
#include "tools/jarstart-tool/Debuggee.h"

namespace {

// Sets environment variables of this process for the launcher to inherit,
// and puts the old values back when it goes.
class EnvironmentOverride {
public:
    explicit EnvironmentOverride(const std::map<std::string, std::string>& env) {
        // The Linux JAVA_HOME of the machine reaches Wine processes; a test
        // sees one only when it asks for it.
        if (env.find("JAVA_HOME") == env.end()) Set("JAVA_HOME", nullptr);
        for (const auto& kv : env) Set(kv.first, kv.second.c_str());
    }
    ~EnvironmentOverride() {
        for (const auto& saved : m_saved)
            SetEnvironmentVariableA(saved.name.c_str(), saved.wasSet ? saved.value.c_str() : nullptr);
    }

private:
    struct Saved {
        std::string name;
        bool wasSet;
        std::string value;
    };

    void Set(const std::string& name, const char* value) {
        Saved saved = {name, false, std::string()};
        DWORD size = GetEnvironmentVariableA(name.c_str(), nullptr, 0);
        if (size > 0) {
            std::string old(size, '\0');
            DWORD n = GetEnvironmentVariableA(name.c_str(), &old[0], size);
            old.resize(n);
            saved.wasSet = true;
            saved.value = old;
        }
        m_saved.push_back(saved);
        SetEnvironmentVariableA(name.c_str(), value);
    }

    std::vector<Saved> m_saved;
};

// Watches the launcher's top-level windows from its own thread while the
// calling thread serves the debugger events.
class DialogWatcher {
public:
    DialogWatcher(const RunOptions& options, LaunchResult* result) : m_options(options), m_result(result) {}
    ~DialogWatcher() { Stop(); }

    void Start(DWORD processId) { m_thread = std::thread([this, processId] { Watch(processId); }); }
    void Stop() {
        m_stop = true;
        if (m_thread.joinable()) m_thread.join();
    }

private:
    void Watch(DWORD processId) {
        DWORD start = GetTickCount();
        std::set<HWND> seen;
        DWORD lastPress = 0;
        while (!m_stop) {
            for (HWND dialog : FindProcessDialogs(processId)) {
                bool isNew = seen.insert(dialog).second;
                if (isNew) {
                    SeenDialog record;
                    record.caption = GetWindowTextString(dialog);
                    record.text = GetDialogText(dialog);
                    record.className = GetClassNameString(dialog);
                    m_result->dialogs.push_back(record);
                    if (m_options.onDialog) m_options.onDialog(dialog);
                }
                // A press can be lost while the dialog is still starting up;
                // repeat it now and then until the dialog is gone.
                if (m_options.dismissDialogs && (isNew || GetTickCount() - lastPress > 500)) {
                    PressDialogButton(dialog, IDOK);
                    lastPress = GetTickCount();
                }
            }
            if (GetTickCount() - start > m_options.timeoutMs && !m_result->timedOut) {
                HANDLE process = OpenProcess(PROCESS_TERMINATE, FALSE, processId);
                if (process) {
                    m_result->timedOut = true;
                    TerminateProcess(process, 0xDEAD);
                    CloseHandle(process);
                }
            }
            Sleep(20);
        }
    }

    const RunOptions& m_options;
    LaunchResult* m_result;
    std::atomic<bool> m_stop{false};
    std::thread m_thread;
};

}  // namespace

LaunchResult RunLauncher(const std::string& exePath, const std::string& args, const RunOptions& options) {
    LaunchResult result;
    std::string commandLine = "\"" + exePath + "\"";
    if (!args.empty()) commandLine += " " + args;
    std::string currentDir = options.currentDir;
    if (currentDir.empty()) currentDir = exePath.substr(0, exePath.find_last_of('\\') + 1);

    EnvironmentOverride env(options.env);
    DialogWatcher watcher(options, &result);
    DebuggeeResult run = RunDebuggee(
        commandLine, currentDir.c_str(), [&](const std::string& entry) { result.log.push_back(entry); },
        [&](DWORD processId) {
            result.processId = processId;
            watcher.Start(processId);
        },
        [&](const std::string& fileName) { result.libraries.push_back(fileName); });
    watcher.Stop();
    result.started = run.started;
    result.exitCode = run.started ? run.exitCode : run.error;
    // Every caller means to start it: a launcher that never ran says why
    // here rather than as a puzzling log further on.
    if (!run.started) ADD_FAILURE() << "the launcher did not start: " << commandLine << " (error " << run.error << ")";
    return result;
}

std::string JoinLog(const std::vector<std::string>& log) {
    std::string joined;
    for (const std::string& entry : log) {
        if (!joined.empty()) joined += "\n";
        joined += entry;
    }
    return joined;
}

int FindEntry(const std::vector<std::string>& log, const std::string& prefix, int from) {
    for (size_t i = static_cast<size_t>(from < 0 ? 0 : from); i < log.size(); ++i) {
        if (log[i].compare(0, prefix.size(), prefix) == 0) return static_cast<int>(i);
    }
    return -1;
}
