#pragma once
// The runtime search end to end: the real launcher, a configured copy in a
// temp folder, fake runtimes registered in the private prefix's registry,
// its diagnostic log read through the debugger.
#include <gtest/gtest.h>

#include <windows.h>

#include <map>
#include <string>
#include <vector>

#include "base/PropertyIds.h"
#include "tests/support/Launcher.h"
#include "tests/support/Paths.h"
#include "tests/support/Registry.h"

inline std::vector<std::string> operator+(std::vector<std::string> a, const std::vector<std::string>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

class LauncherSearchTest : public testing::Test {
protected:
    void SetUp() override {
        std::string name = testing::UnitTest::GetInstance()->current_test_info()->name();
        for (char& c : name)
            if (c == '/') c = '-';
        m_folder = MakeTempFolder(name);
        m_app = m_folder + "app";
        CreateDirectoryA(m_app.c_str(), nullptr);
        m_props[PROP_START_JAR] = "app.jar";
    }

    // Runs the launcher; returns its log from the search's first line to
    // "Jre path: " (inclusive), each probe's output chunks folded into one
    // "chunks: " entry, since how the output splits is the pipe's business.
    std::vector<std::string> Run(const std::string& args = "") {
        std::string exe = PrepareLauncher(m_app + "\\", m_props);
        m_result = RunLauncher(exe, args, m_options);
        std::vector<std::string> search;
        bool inSearch = false, inProbe = false;
        for (const std::string& entry : m_result.log) {
            if (entry == "Search for Jre..." || entry == "Search for Jdk only...") inSearch = true;
            if (!inSearch) continue;
            if (entry.compare(0, 15, "CreateProcess: ") == 0) {
                search.push_back(entry);
                search.push_back("chunks: ");
                inProbe = true;
            } else if (entry == "Info = ") {
                search.push_back(entry);
                inProbe = false;
            } else if (inProbe) {
                search.back() += entry;
            } else {
                search.push_back(entry);
            }
            if (entry.compare(0, 10, "Jre path: ") == 0) break;
        }
        return search;
    }

    bool Logged(const std::string& entry) const {
        for (const std::string& e : m_result.log)
            if (e == entry) return true;
        return false;
    }
    std::string LoggedAfter(const std::string& label) const {
        for (const std::string& e : m_result.log)
            if (e.compare(0, label.size(), label) == 0) return e.substr(label.size());
        return "<not logged>";
    }

    void ExpectStarted() const {
        EXPECT_TRUE(m_result.started);
        EXPECT_EQ(0u, m_result.exitCode) << JoinLog(m_result.log);
        EXPECT_TRUE(m_result.dialogs.empty());
    }
    void ExpectFailureDialog() const {
        EXPECT_EQ(1u, m_result.exitCode) << JoinLog(m_result.log);
        EXPECT_EQ(1u, m_result.dialogs.size());
    }

    // Every runtime key an installer writes, removed before and after.
    RuntimeRegistryGuard m_registry;
    std::string m_folder;
    std::string m_app;
    std::map<int, std::string> m_props;
    RunOptions m_options;
    LaunchResult m_result;
};
