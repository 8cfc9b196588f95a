// jarstart-tool runtimes on a machine picture in temp folders: a 32-bit
// Java 8 in the user's .jdks folder, a 64-bit Java 21 kit installed per user.
#include <gtest/gtest.h>

#include <windows.h>

#include <map>
#include <string>
#include <vector>

#include "base/PropertyIds.h"
#include "tests/support/FakeRuntime.h"
#include "tests/support/Launcher.h"
#include "tests/support/Paths.h"
#include "tests/support/Registry.h"
#include "tests/support/ScratchRegistry.h"
#include "tests/tool/RunTool.h"

namespace {

void WriteText(const std::string& path, const std::string& text) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    CloseHandle(file);
}

void MarkAs32Bit(const std::string& exe) {
    HANDLE file = CreateFileA(exe.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    LONG peOffset = 0;
    DWORD done = 0;
    SetFilePointer(file, 0x3c, nullptr, FILE_BEGIN);
    ReadFile(file, &peOffset, 4, &done, nullptr);
    SetFilePointer(file, peOffset + 4, nullptr, FILE_BEGIN);
    WORD machine = 0x014c;
    WriteFile(file, &machine, 2, &done, nullptr);
    CloseHandle(file);
}

class RuntimesTest : public testing::Test {
protected:
    void SetUp() override {
        m_folder = MakeTempFolder("tool-runtimes");
        for (const char* name : {"ProgramFiles", "ProgramFiles(x86)", "ProgramW6432", "LOCALAPPDATA", "USERPROFILE",
                                 "ProgramData"}) {
            CreateDirectoryA((m_folder + name).c_str(), nullptr);
            SetEnvironmentVariableA(name, (m_folder + name).c_str());
        }
        m_java8 = m_folder + "USERPROFILE\\.jdks\\jre8";
        MakeFakeRuntime(m_java8);
        WriteText(m_java8 + "\\release", "JAVA_VERSION=1.8.0_265\n");
        MarkAs32Bit(m_java8 + "\\bin\\java.exe");
        // Wine sets %ProgramFiles% anew in every process; the per-user folder
        // stays where the test points it.
        m_java21 = m_folder + "LOCALAPPDATA\\Programs\\Eclipse Adoptium\\jdk-21";
        MakeFakeRuntime(m_java21, StandInBehaviour(), true);
        WriteText(m_java21 + "\\release", "IMPLEMENTOR=\"Eclipse Adoptium\"\nJAVA_VERSION=\"21.0.2\"\n");
    }
    std::string Launcher(const std::map<int, std::string>& props, const char* name) {
        std::map<int, std::string> all = props;
        all[PROP_START_JAR] = "app.jar";
        return PrepareLauncher(m_folder, all, name);
    }

    RuntimeRegistryGuard m_registry;
    std::string m_folder, m_java8, m_java21;
};

TEST_F(RuntimesTest, ListsBothMarksTheOneStartedAndSaysWhyNotTheOther) {
    ToolRun run = RunTool("runtimes \"" + Launcher({{PROP_RUNTIME_CHOICE, "newest"}}, "MyApp.exe") + "\"");
    EXPECT_EQ(0u, run.exitCode) << run.err;
    EXPECT_EQ((std::vector<std::string>{"21.0.2  Eclipse Adoptium  kit  64-bit  " + m_java21,
                                        "    sources: %LOCALAPPDATA%\\Programs\\Eclipse Adoptium\\*", "    would start",
                                        "1.8.0_265  -  runtime  32-bit  " + m_java8,
                                        "    sources: %USERPROFILE%\\.jdks\\*", "    a newer one is chosen"}),
              Lines(run.out));
}

TEST_F(RuntimesTest, ALauncherThatFindsNoneGetsEachReasonAndExitCodeOne) {
    ToolRun run = RunTool("runtimes --json \"" +
                          Launcher({{PROP_MIN_VERSION, "11"}, {PROP_MAX_VERSION, "17"}}, "Strict.exe") + "\"");
    EXPECT_EQ(1u, run.exitCode) << run.err;
    EXPECT_NE(std::string::npos, run.out.find("\"found\": false"));
    EXPECT_NE(std::string::npos, run.out.find("\"version\": \"21.0.2\", \"vendor\": \"Eclipse Adoptium\", \"kind\": "
                                              "\"kit\", \"bits\": 64"));
    EXPECT_NE(std::string::npos, run.out.find("\"verdict\": \"above maximum\"")) << run.out;
    EXPECT_NE(std::string::npos, run.out.find("\"verdict\": \"below minimum\"")) << run.out;
}

}  // namespace
