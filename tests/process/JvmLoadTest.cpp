#include "process/JvmLoad.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "tests/support/Files.h"
#include "tests/support/Paths.h"

namespace {

std::string DllDirectory() {
    char folder[MAX_PATH] = "";
    GetDllDirectoryA(MAX_PATH, folder);
    return folder;
}

std::string SystemDll(const char* name) {
    char folder[MAX_PATH];
    GetSystemDirectoryA(folder, MAX_PATH);
    return std::string(folder) + "\\" + name;
}

}  // namespace

TEST(JvmLoadTest, AFileThatIsNoDllOfThisMachineFallsBackWithItsWindowsErrorAndLeavesNothingBehind) {
    std::string bin = MakeTempFolder("jvmload-bad") + "bin";
    ASSERT_TRUE(CreateFolders(bin + "\\server"));
    std::string jvm = bin + "\\server\\jvm.dll";
    HANDLE file = CreateFileA(jvm.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    DWORD written = 0;
    WriteFile(file, "MZ, and nothing a loader wants", 30, &written, nullptr);
    CloseHandle(file);
    // A C runtime DLL of the runtime's own is loaded first, and freed again
    // when the VM cannot be had.
    std::string runtimeDll = bin + "\\vcruntime140.dll";
    ASSERT_TRUE(CopyFileA(SystemDll("version.dll").c_str(), runtimeDll.c_str(), FALSE));

    LoadedJvm loaded;
    CString why;
    EXPECT_FALSE(LoadJvm(jvm.c_str(), bin.c_str(), &loaded, &why));
    EXPECT_NE(std::string(why).find("cannot load " + jvm + ": error 193"), std::string::npos) << why.GetString();
    EXPECT_EQ(loaded.module, nullptr);
    EXPECT_EQ(DllDirectory(), "");
    EXPECT_EQ(GetModuleHandleA(runtimeDll.c_str()), nullptr);

    LoadedJvm missing;
    EXPECT_FALSE(LoadJvm((bin + "\\client\\jvm.dll").c_str(), bin.c_str(), &missing, &why));
    EXPECT_NE(std::string(why).find(": error 126"), std::string::npos) << why.GetString();
}

TEST(JvmLoadTest, ADllWithoutTheInvocationExportsIsNoVm) {
    std::string bin = MakeTempFolder("jvmload-noexports") + "bin";
    ASSERT_TRUE(CreateFolders(bin + "\\server"));
    std::string jvm = bin + "\\server\\jvm.dll";
    ASSERT_TRUE(CopyFileA(SystemDll("version.dll").c_str(), jvm.c_str(), FALSE));
    LoadedJvm loaded;
    CString why;
    EXPECT_FALSE(LoadJvm(jvm.c_str(), bin.c_str(), &loaded, &why));
    EXPECT_EQ(std::string(why), jvm + " exports no JNI_CreateJavaVM and JNI_GetDefaultJavaVMInitArgs");
    EXPECT_EQ(GetModuleHandleA(jvm.c_str()), nullptr);
    EXPECT_EQ(DllDirectory(), "");
}
