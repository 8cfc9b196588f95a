#include "runtime/JvmLibrary.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <utility>
#include <vector>

#include "runtime/ExeMachine.h"
#include "tests/support/Files.h"
#include "tests/support/Paths.h"

namespace {


void WriteText(const std::string& path, const std::string& text) { std::ofstream(path, std::ios::binary) << text; }

const unsigned kX86 = 0x014c, kX64 = 0x8664;

}  // namespace

TEST(JvmLibraryTest, TheDefaultVmIsTheFirstKnownEntryOfJvmCfg) {
    const struct {
        const char *text, *vm;
    } cases[] = {
        {"-server KNOWN\n-client IGNORE\n", "server"},
        {"# comment\n\n-client KNOWN\r\n-server KNOWN\r\n", "client"},
        {"-client IGNORE\n-server KNOWN\n", "server"},
        {"-client ALIASED_TO -server\n-server KNOWN\n", "server"},
        {"-hotspot ALIASED_TO -client\n-client KNOWN\n-server KNOWN\n", "client"},
        {"-client ALIASED_TO -server\n-server IGNORE\n-minimal KNOWN\n", "minimal"},
        {"-server ERROR\n-client WARN\n", "client"},
        {"  \t-server\tKNOWN  \n", "server"},
        {"#-server KNOWN\n", ""},
        {"server KNOWN\n", ""},
        {"-server\n", ""},
        {"", ""},
    };
    for (const auto& c : cases) EXPECT_STREQ(DefaultVmOfJvmConfig(c.text), c.vm) << c.text;
}

TEST(JvmLibraryTest, TheHomeIsTheParentOfTheProgramsBinFolder) {
    EXPECT_STREQ(HomeOfJavaProgram("C:\\jdk-17\\bin\\javaw.exe"), "C:\\jdk-17");
    EXPECT_STREQ(HomeOfJavaProgram("C:\\jre\\BIN\\java.exe"), "C:\\jre");
    EXPECT_STREQ(HomeOfJavaProgram("C:\\tools\\java.exe"), "");
    EXPECT_STREQ(HomeOfJavaProgram("javaw.exe"), "");
    EXPECT_STREQ(HomeOfJavaProgram(""), "");
}

TEST(JvmLibraryTest, MachinesAreNamedForTheLog) {
    EXPECT_STREQ(MachineName(kX86), "x86");
    EXPECT_STREQ(MachineName(kX64), "x64");
    EXPECT_STREQ(MachineName(0xAA64), "ARM64");
    EXPECT_STREQ(MachineName(0x01c4), "0x01C4");
    EXPECT_STREQ(MachineName(0), "no PE image");
}

TEST(JvmLibraryTest, TheJvmDllIsChosenByJvmCfgThenServerThenClientAndMustBeTheLaunchersMachine) {
    std::string root = MakeTempFolder("jvmlib");
    const unsigned own = OwnMachine(), other = own == kX64 ? kX86 : kX64;
    struct Case {
        const char* name;
        std::vector<std::pair<std::string, unsigned>> dlls;  // relative path, machine
        std::string jvmCfg;                                  // "" = none
        std::string cfgPath;
        bool possible;
        std::string chosen;  // relative, when possible
        std::string reason;  // a part of it, when not
    } cases[] = {
        {"cfg-client", {{"bin\\server\\jvm.dll", own}, {"bin\\client\\jvm.dll", own}}, "-client KNOWN\n-server KNOWN\n",
         "lib\\jvm.cfg", true, "bin\\client\\jvm.dll", ""},
        {"no-cfg", {{"bin\\server\\jvm.dll", own}, {"bin\\client\\jvm.dll", own}}, "", "", true,
         "bin\\server\\jvm.dll", ""},
        {"client-only", {{"bin\\client\\jvm.dll", own}}, "-server KNOWN\n-client IGNORE\n", "lib\\jvm.cfg", true,
         "bin\\client\\jvm.dll", ""},
        {"java8-kit", {{"jre\\bin\\server\\jvm.dll", own}}, "-server KNOWN\n", "jre\\lib\\jvm.cfg", true,
         "jre\\bin\\server\\jvm.dll", ""},
        {"arch-cfg", {{"bin\\server\\jvm.dll", own}, {"bin\\client\\jvm.dll", own}}, "-client KNOWN\n",
         own == kX64 ? "lib\\amd64\\jvm.cfg" : "lib\\i386\\jvm.cfg", true, "bin\\client\\jvm.dll", ""},
        {"none", {}, "-server KNOWN\n", "lib\\jvm.cfg", false, "", "no jvm.dll in "},
        {"other-machine", {{"bin\\server\\jvm.dll", other}}, "", "", false, "",
         std::string("jvm.dll is ") + (other == kX64 ? "x64" : "x86") + ", the launcher " +
             (own == kX64 ? "x64" : "x86")},
    };
    for (const Case& c : cases) {
        std::string home = root + c.name;
        ASSERT_TRUE(CreateFolders(home + "\\bin"));
        for (const auto& dll : c.dlls) {
            std::string path = home + "\\" + dll.first;
            CreateFolders(path.substr(0, path.find_last_of('\\')));
            ASSERT_TRUE(WritePeHeaderFile(path, dll.second)) << path;
        }
        if (!c.jvmCfg.empty()) {
            std::string path = home + "\\" + c.cfgPath;
            CreateFolders(path.substr(0, path.find_last_of('\\')));
            WriteText(path, c.jvmCfg);
        }
        JvmLibraryChoice choice = ChooseJvmLibrary(home.c_str(), own);
        EXPECT_EQ(choice.possible, c.possible) << c.name << ": " << choice.reason.GetString();
        if (c.possible) {
            EXPECT_STREQ(choice.path, (home + "\\" + c.chosen).c_str()) << c.name;
            std::string bin = c.chosen.substr(0, c.chosen.find("bin") + 3);
            EXPECT_STREQ(choice.binFolder, (home + "\\" + bin).c_str()) << c.name;
        } else {
            EXPECT_NE(std::string(choice.reason).find(c.reason), std::string::npos)
                << c.name << ": " << choice.reason.GetString();
        }
    }
}
