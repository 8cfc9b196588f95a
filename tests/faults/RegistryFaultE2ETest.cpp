// The registry lookups fed with what a damaged or hostile registry holds:
// thousands of version subkeys, values too long for the lookup's buffer,
// values of every type, keys nobody may read. In-process cases redirect
// HKEY_LOCAL_MACHINE and HKEY_CURRENT_USER to scratch keys; the end-to-end
// cases write the private prefix's own JavaSoft keys and run the real
// launcher under the debugger.
#include <gtest/gtest.h>

#include <windows.h>

#include <sddl.h>

#include <algorithm>
#include <cstdio>
#include <iostream>
#include <map>
#include <string>
#include <vector>

#include "framework/ScopedWin.h"
#include "base/Globals.h"
#include "base/PathExists.h"
#include "base/PropertyIds.h"
#include "runtime/RegistryLookup.h"
#include "tests/support/FakeRuntime.h"
#include "tests/support/Launcher.h"
#include "tests/support/LogCapture.h"
#include "tests/support/RegistryLookupFixture.h"
#include "tests/support/Paths.h"
#include "tests/support/ProcessCounts.h"
#include "tests/support/Registry.h"
#include "tests/support/ScratchRegistry.h"

namespace {

const std::string kRuntimeKey = kRuntimeRegistryKey;
const std::string kKitKey = kDevelopmentKitRegistryKey;
const DWORD kLookupBufferSize = 1024;

double MillisecondsSince(const LARGE_INTEGER& start) {
    LARGE_INTEGER frequency, now;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&now);
    return 1000.0 * static_cast<double>(now.QuadPart - start.QuadPart) / static_cast<double>(frequency.QuadPart);
}

LARGE_INTEGER Now() {
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return now;
}

std::string Bytes(const std::string& text) { return std::string(text.c_str(), text.size() + 1); }

std::string DwordBytes(DWORD value) { return std::string(reinterpret_cast<const char*>(&value), sizeof(value)); }

// "1.3.0_0042": a version name with a four-digit running number.
std::string Numbered(const char* prefix, int number) {
    char name[32];
    std::snprintf(name, sizeof(name), "%s%04d", prefix, number);
    return name;
}

// The expected log of a version-key lookup for one subkey meeting the
// minimum (the lookup's documented three-line pattern).
void AddLookupLines(std::vector<std::string>& log, const std::string& name, const std::string& home, bool found) {
    log.push_back(name);
    if (found) log.push_back("found");
    log.push_back(home + "\\bin\\javaw.exe");
}

// Denies KEY_READ to everyone on an existing key for the guard's lifetime;
// the key's own security descriptor is put back afterwards, so the key can
// be removed by whoever created it.
class ReadDenial {
public:
    ReadDenial(HKEY hive, const std::string& path) : m_hive(hive), m_path(path), m_applied(false) {
        ScopedRegKey key;
        LONG status = RegOpenKeyExA(hive, path.c_str(), 0, READ_CONTROL | WRITE_DAC, key.Receive());
        if (status != ERROR_SUCCESS) {
            ADD_FAILURE() << "cannot open " << path << " to change its access (error " << status << ")";
            return;
        }
        DWORD size = 0;
        RegGetKeySecurity(key, DACL_SECURITY_INFORMATION, nullptr, &size);
        m_original.resize(size);
        if (size == 0 || RegGetKeySecurity(key, DACL_SECURITY_INFORMATION, m_original.data(), &size) != ERROR_SUCCESS) {
            ADD_FAILURE() << "cannot read the access of " << path;
            return;
        }
        // An explicit deny entry ahead of a full grant: the deny wins for
        // every caller, whatever groups its token holds.
        m_applied = SetDacl(key, "D:(D;;KR;;;WD)(A;;KA;;;WD)");
        if (!m_applied) ADD_FAILURE() << "cannot deny reading " << path;
    }
    ~ReadDenial() {
        if (!m_applied) return;
        ScopedRegKey key;
        LONG status = RegOpenKeyExA(m_hive, m_path.c_str(), 0, WRITE_DAC, key.Receive());
        if (status != ERROR_SUCCESS ||
            RegSetKeySecurity(key, DACL_SECURITY_INFORMATION, m_original.data()) != ERROR_SUCCESS)
            ADD_FAILURE() << "cannot restore the access of " << m_path << " (error " << status << ")";
    }
    ReadDenial(const ReadDenial&) = delete;
    ReadDenial& operator=(const ReadDenial&) = delete;

    bool Applied() const { return m_applied; }

private:
    static bool SetDacl(HKEY key, const char* sddl) {
        PSECURITY_DESCRIPTOR descriptor = nullptr;
        if (!ConvertStringSecurityDescriptorToSecurityDescriptorA(sddl, SDDL_REVISION_1, &descriptor, nullptr))
            return false;
        LONG status = RegSetKeySecurity(key, DACL_SECURITY_INFORMATION, descriptor);
        LocalFree(descriptor);
        return status == ERROR_SUCCESS;
    }

    HKEY m_hive;
    std::string m_path;
    bool m_applied;
    std::vector<BYTE> m_original;
};

// The open the lookup makes, for the precondition that a denial holds.
LONG OpenAsTheLookupDoes(HKEY hive, const std::string& path) {
    ScopedRegKey key;
    return RegOpenKeyExA(hive, path.c_str(), 0, KEY_QUERY_VALUE | KEY_ENUMERATE_SUB_KEYS, key.Receive());
}

class RegistryLookupFaultTest : public RegistryLookupFixture {
protected:
    RegistryLookupFaultTest() : RegistryLookupFixture("registry-fault") {}

    // A stand-in runtime home under this test's folder.
    std::string Runtime(const std::string& name) {
        std::string home = m_folder + name;
        MakeFakeRuntime(home);
        return home;
    }

};

TEST_F(RegistryLookupFaultTest, FiveThousandVersionSubkeysEndWithTheLastAcceptedOneAndLogOnlyThoseMeetingTheMinimum) {
    // 3,000 names below the minimum, each pointing at a real runtime: never
    // looked at. 1,996 names meeting it without a usable home (no value, or
    // a folder that does not exist). Three real runtimes, the numerically
    // highest (10.0.1) not the last in enumeration order, and a last name
    // meeting the minimum whose home is missing.
    std::string belowHome = Runtime("below");
    std::string home16 = Runtime("jre-1.6.0_01");
    std::string home10 = Runtime("jdk-10.0.1");
    std::string home9 = Runtime("jdk-9.0.4");
    std::string gone = m_folder + "gone";
    std::map<std::string, std::string> homes;  // name -> JavaHome ("" = no value); sorted as the registry enumerates
    for (int i = 0; i < 3000; ++i) homes[Numbered("1.3.0_", i)] = belowHome;
    for (int i = 0; i < 1996; ++i) homes[Numbered("1.5.0_", i)] = i % 2 ? m_folder + Numbered("missing-", i) : "";
    homes["1.6.0_01"] = home16;
    homes["10.0.1"] = home10;
    homes["9.0.4"] = home9;
    homes["99"] = gone;
    ASSERT_EQ(5000u, homes.size());

    LARGE_INTEGER writeStart = Now();
    for (const auto& entry : homes) {
        std::string key = kRuntimeKey + "\\" + entry.first;
        if (entry.second.empty())
            m_registry.CreateKey(HKEY_LOCAL_MACHINE, key);
        else
            m_registry.WriteString(HKEY_LOCAL_MACHINE, key, "JavaHome", entry.second);
    }
    double writeMs = MillisecondsSince(writeStart);

    std::vector<std::string> expected;
    for (const auto& entry : homes) {
        if (entry.first.compare(0, 4, "1.3.") == 0) continue;
        bool found = entry.second == home16 || entry.second == home10 || entry.second == home9;
        AddLookupLines(expected, entry.first, entry.second, found);
    }

    DWORD handlesBefore = HandleCount();
    LARGE_INTEGER lookupStart = Now();
    CString result = FindRuntimeInVersionKeys(HKEY_LOCAL_MACHINE, kRuntimeRegistryKey);
    double lookupMs = MillisecondsSince(lookupStart);
    DWORD handlesAfter = HandleCount();
    std::vector<std::string> log = m_log.Entries();

    std::cout << "[ measured ] 5,000 version subkeys: written in " << writeMs << " ms, looked up in " << lookupMs
              << " ms, " << log.size() << " log entries" << std::endl;
    RecordProperty("lookup_ms_5000_subkeys", static_cast<int>(lookupMs));

    EXPECT_EQ(home9 + "\\bin\\javaw.exe", result.GetString()) << "the last accepted subkey, not the highest version";
    EXPECT_EQ(gone, g_runtimeHome.GetString()) << "the last subkey meeting the minimum";
    ASSERT_EQ(4003u, expected.size());
    EXPECT_EQ(expected.size(), log.size());
    EXPECT_TRUE(expected == log) << "first difference at entry "
                                 << (std::mismatch(expected.begin(), expected.end(), log.begin(),
                                                   log.end()).first - expected.begin());
    EXPECT_EQ(handlesBefore, handlesAfter) << "every subkey the lookup opened is closed again";
}

TEST_F(RegistryLookupFaultTest, FiveThousandDevelopmentKitSubkeysWithoutHomesAreEachLoggedOnceAndFindNothing) {
    // The development-kit lookup over a key full of names that meet the
    // minimum but carry no home: every one is judged, none is taken, and no
    // candidate at the drive root is accepted.
    for (int i = 0; i < 5000; ++i) m_registry.CreateKey(HKEY_CURRENT_USER, kKitKey + "\\" + Numbered("1.8.0_", i));
    DWORD handlesBefore = HandleCount();
    LARGE_INTEGER start = Now();
    CString result = FindJdkInRegistry(HKEY_CURRENT_USER);
    double lookupMs = MillisecondsSince(start);
    std::vector<std::string> log = m_log.Entries();
    std::cout << "[ measured ] 5,000 kit subkeys without homes looked up in " << lookupMs << " ms" << std::endl;

    EXPECT_STREQ("", result);
    EXPECT_STREQ("", g_runtimeHome);
    ASSERT_EQ(10000u, log.size());
    EXPECT_EQ("1.8.0_0000", log[0]);
    EXPECT_EQ("\\bin\\javaw.exe", log[1]);
    EXPECT_EQ("1.8.0_4999", log[9998]);
    EXPECT_EQ("\\bin\\javaw.exe", log[9999]);
    EXPECT_EQ(0, std::count(log.begin(), log.end(), std::string("found")));
    EXPECT_EQ(0, std::count(log.begin(), log.end(), std::string("Jre key found in registry")));
    EXPECT_EQ(handlesBefore, HandleCount());
}

TEST_F(RegistryLookupFaultTest, JavaHomeLongerThanTheBufferIsNoCandidateEvenWhenItsFirstBytesNameARuntime) {
    // 2,000 bytes: a real runtime's home, its NUL, then filler. Were the
    // partial data of the failed read used, the text up to the NUL would be
    // a working runtime.
    std::string home = Runtime("jre-under-long-value");
    ASSERT_TRUE(PathExists((home + "\\bin\\javaw.exe").c_str()));
    std::string bytes = Bytes(home);
    bytes.resize(2000, 'x');
    std::string key = kRuntimeKey + "\\1.6";
    m_registry.WriteValue(HKEY_LOCAL_MACHINE, key, "JavaHome", REG_SZ, bytes);
    // The same as one long text without a NUL, the way a broken installer
    // writes a path.
    std::string longPath = home + "\\";
    while (longPath.size() < 2000) longPath += "sub\\";
    longPath.resize(2000);
    m_registry.WriteValue(HKEY_CURRENT_USER, key, "JavaHome", REG_SZ, longPath);

    {
        // What the platform leaves in a buffer that is too small: reported,
        // not relied on.
        ScopedRegKey raw;
        ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExA(HKEY_LOCAL_MACHINE, key.c_str(), 0, KEY_QUERY_VALUE, raw.Receive()));
        std::vector<char> buffer(kLookupBufferSize, '\0');
        DWORD size = kLookupBufferSize;
        LONG status = RegQueryValueExA(raw, "JavaHome", nullptr, nullptr, reinterpret_cast<BYTE*>(buffer.data()), &size);
        EXPECT_EQ(ERROR_MORE_DATA, status);
        EXPECT_LE(2000u, size) << "the size the value needs";
        std::cout << "[ measured ] a 1024-byte read of a 2000-byte value: error " << status << ", buffer "
                  << (buffer[0] ? "holds partial data" : "left empty") << std::endl;
    }

    for (HKEY hive : {HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER}) {
        SCOPED_TRACE(hive == HKEY_LOCAL_MACHINE ? "home, NUL, filler" : "one long path");
        m_log.Clear();
        g_runtimeHome = "untouched";
        EXPECT_STREQ("", ReadRegistryString(hive, key.c_str(), "JavaHome"));
        CString result = FindRuntimeInVersionKeys(hive, kRuntimeRegistryKey);
        std::vector<std::string> log = m_log.Entries();
        EXPECT_STREQ("", result);
        EXPECT_STREQ("", g_runtimeHome) << "a value that does not fit reads as no home at all";
        EXPECT_EQ((std::vector<std::string>{"1.6", "\\bin\\javaw.exe"}), log);
    }
}

TEST_F(RegistryLookupFaultTest, CurrentVersionLongerThanTheBufferNamesNoSubkey) {
    std::string home = m_folder + "jre6";
    m_registry.WriteString(HKEY_LOCAL_MACHINE, kRuntimeKey + "\\1.6", "JavaHome", home);
    std::string bytes = Bytes("1.6");
    bytes.resize(2000, '6');
    m_registry.WriteValue(HKEY_LOCAL_MACHINE, kRuntimeKey, "CurrentVersion", REG_SZ, bytes);
    EXPECT_STREQ("", GetCurrentJreHome(HKEY_LOCAL_MACHINE)) << "the first bytes 1.6 are not taken";
    m_registry.WriteString(HKEY_LOCAL_MACHINE, kRuntimeKey, "CurrentVersion", "1.6");
    EXPECT_EQ(home, GetCurrentJreHome(HKEY_LOCAL_MACHINE).GetString()) << "control: the same subkey named properly";
    EXPECT_TRUE(m_log.Entries().empty());
}

// Value types are not examined: a value's bytes are text up to the first NUL
// or to the end of the value. These cases pin what that means for each
// type a registry editor can write.
struct TypedValue {
    const char* what;
    DWORD type;
    std::string bytes;
    std::string text;  // what the lookup reads
};

TEST_F(RegistryLookupFaultTest, JavaHomeOfAnyTypeIsReadAsItsTextUpToTheFirstNulAndNothingMore) {
    std::string home = Runtime("jre-typed");
    SetEnvironmentVariableA("FAULT_RUNTIME_HOME", home.c_str());
    const TypedValue cases[] = {
        {"REG_SZ without a terminating NUL", REG_SZ, home, home},
        {"REG_SZ with text after a NUL", REG_SZ, Bytes(home) + "\\other" + std::string(1, '\0'), home},
        {"REG_EXPAND_SZ of a plain path", REG_EXPAND_SZ, Bytes(home), home},
        {"REG_EXPAND_SZ naming a variable: not expanded", REG_EXPAND_SZ, Bytes("%FAULT_RUNTIME_HOME%"),
         "%FAULT_RUNTIME_HOME%"},
        {"REG_MULTI_SZ: its first string", REG_MULTI_SZ, Bytes(home) + Bytes("C:\\other") + std::string(1, '\0'),
         home},
        {"REG_BINARY without a NUL", REG_BINARY, home, home},
        {"REG_DWORD 1: one control character", REG_DWORD, DwordBytes(1), "\x01"},
        {"REG_DWORD 0: nothing", REG_DWORD, DwordBytes(0), ""},
        {"REG_DWORD spelling C:\\", REG_DWORD, DwordBytes(0x005C3A43), "C:\\"},
        {"REG_NONE of no bytes", REG_NONE, std::string(), ""},
    };
    std::string key = kRuntimeKey + "\\1.6";
    for (const TypedValue& c : cases) {
        SCOPED_TRACE(c.what);
        m_registry.WriteValue(HKEY_LOCAL_MACHINE, key, "JavaHome", c.type, c.bytes);
        EXPECT_EQ(c.text, ReadRegistryString(HKEY_LOCAL_MACHINE, key.c_str(), "JavaHome").GetString());

        m_log.Clear();
        g_runtimeHome = "untouched";
        CString result = FindRuntimeInVersionKeys(HKEY_LOCAL_MACHINE, kRuntimeRegistryKey);
        std::vector<std::string> log = m_log.Entries();
        // The text is the home; a trailing backslash (the C:\ case) is
        // dropped before bin\javaw.exe is appended.
        std::string trimmed = c.text;
        if (!trimmed.empty() && trimmed.back() == '\\') trimmed.pop_back();
        bool usable = c.text == home;
        std::vector<std::string> expected;
        AddLookupLines(expected, "1.6", trimmed, usable);
        EXPECT_EQ(usable ? home + "\\bin\\javaw.exe" : std::string(), result.GetString());
        EXPECT_EQ(trimmed, g_runtimeHome.GetString());
        EXPECT_EQ(expected, log);
    }
    SetEnvironmentVariableA("FAULT_RUNTIME_HOME", nullptr);
}

TEST_F(RegistryLookupFaultTest, CurrentVersionOfAnyTypeNamesTheSubkeyItsTextSpells) {
    std::string home15 = m_folder + "jre5";
    std::string home16 = m_folder + "jre6";
    m_registry.WriteString(HKEY_CURRENT_USER, kRuntimeKey + "\\1.5", "JavaHome", home15);
    m_registry.WriteString(HKEY_CURRENT_USER, kRuntimeKey + "\\1.6", "JavaHome", home16);
    SetEnvironmentVariableA("FAULT_RUNTIME_VERSION", "1.6");
    const TypedValue cases[] = {
        {"REG_SZ without a terminating NUL", REG_SZ, "1.6", home16},
        {"REG_DWORD whose bytes spell 1.6", REG_DWORD, DwordBytes(0x00362E31), home16},
        {"REG_MULTI_SZ: its first string", REG_MULTI_SZ, Bytes("1.5") + Bytes("1.6") + std::string(1, '\0'), home15},
        {"REG_EXPAND_SZ naming a variable: not expanded", REG_EXPAND_SZ, Bytes("%FAULT_RUNTIME_VERSION%"), ""},
        {"REG_BINARY of bytes that are no version", REG_BINARY, std::string("\xff\xfe\x01\x80", 4), ""},
        {"REG_DWORD 0", REG_DWORD, DwordBytes(0), ""},
    };
    for (const TypedValue& c : cases) {
        SCOPED_TRACE(c.what);
        m_registry.WriteValue(HKEY_CURRENT_USER, kRuntimeKey, "CurrentVersion", c.type, c.bytes);
        EXPECT_EQ(c.text, GetCurrentJreHome(HKEY_CURRENT_USER).GetString());
    }
    SetEnvironmentVariableA("FAULT_RUNTIME_VERSION", nullptr);
    EXPECT_TRUE(m_log.Entries().empty());
    EXPECT_STREQ("untouched", g_runtimeHome);
}

TEST_F(RegistryLookupFaultTest, VersionSubkeyNobodyMayReadIsJudgedWithoutAHome) {
    std::string home15 = Runtime("jre-1.5");
    std::string home16 = Runtime("jre-1.6-locked");
    m_registry.WriteString(HKEY_LOCAL_MACHINE, kRuntimeKey + "\\1.5", "JavaHome", home15);
    m_registry.WriteString(HKEY_LOCAL_MACHINE, kRuntimeKey + "\\1.6", "JavaHome", home16);
    std::string locked = kRuntimeKey + "\\1.6";
    ReadDenial denial(HKEY_LOCAL_MACHINE, locked);
    ASSERT_TRUE(denial.Applied());
    ASSERT_EQ(ERROR_ACCESS_DENIED, OpenAsTheLookupDoes(HKEY_LOCAL_MACHINE, locked))
        << "the registry must refuse the open for this case to mean anything";

    DWORD handlesBefore = HandleCount();
    CString result = FindRuntimeInVersionKeys(HKEY_LOCAL_MACHINE, kRuntimeRegistryKey);
    std::vector<std::string> log = m_log.Entries();
    EXPECT_EQ(home15 + "\\bin\\javaw.exe", result.GetString()) << "the readable subkey still counts";
    EXPECT_STREQ("", g_runtimeHome) << "the locked subkey met the minimum, with no home";
    std::vector<std::string> expected;
    AddLookupLines(expected, "1.5", home15, true);
    AddLookupLines(expected, "1.6", "", false);
    EXPECT_EQ(expected, log);
    EXPECT_EQ(handlesBefore, HandleCount());
}

TEST_F(RegistryLookupFaultTest, RuntimeKeyNobodyMayReadEndsEveryLookupQuietly) {
    std::string home = Runtime("jre-behind-lock");
    m_registry.WriteString(HKEY_CURRENT_USER, kRuntimeKey, "CurrentVersion", "1.6");
    m_registry.WriteString(HKEY_CURRENT_USER, kRuntimeKey + "\\1.6", "JavaHome", home);
    m_registry.WriteString(HKEY_CURRENT_USER, kKitKey + "\\1.6", "JavaHome", home);
    ReadDenial runtimeDenial(HKEY_CURRENT_USER, kRuntimeKey);
    ReadDenial kitDenial(HKEY_CURRENT_USER, kKitKey);
    ASSERT_TRUE(runtimeDenial.Applied() && kitDenial.Applied());
    ASSERT_EQ(ERROR_ACCESS_DENIED, OpenAsTheLookupDoes(HKEY_CURRENT_USER, kRuntimeKey));
    ASSERT_EQ(ERROR_ACCESS_DENIED, OpenAsTheLookupDoes(HKEY_CURRENT_USER, kKitKey));
    // The subkey itself is readable: only its parent is locked.
    ASSERT_EQ(ERROR_SUCCESS, OpenAsTheLookupDoes(HKEY_CURRENT_USER, kRuntimeKey + "\\1.6"));

    DWORD handlesBefore = HandleCount();
    EXPECT_STREQ("", FindRuntimeInVersionKeys(HKEY_CURRENT_USER, kRuntimeRegistryKey));
    EXPECT_STREQ("", FindJdkInRegistry(HKEY_CURRENT_USER));
    EXPECT_STREQ("", ReadRegistryString(HKEY_CURRENT_USER, kRuntimeRegistryKey, "CurrentVersion"));
    // Without the current version the second read names the locked key
    // itself, which fails the same way.
    EXPECT_STREQ("", GetCurrentJreHome(HKEY_CURRENT_USER));
    EXPECT_EQ(handlesBefore, HandleCount());
    EXPECT_TRUE(m_log.Entries().empty()) << JoinEntries(m_log.Entries());
    EXPECT_STREQ("untouched", g_runtimeHome);
}

// The real launcher against the private prefix's registry.
class RegistryFaultE2ETest : public testing::Test {
protected:
    void SetUp() override {
        m_folder = MakeTempFolder(testing::UnitTest::GetInstance()->current_test_info()->name());
        m_app = m_folder + "app";
        CreateDirectoryA(m_app.c_str(), nullptr);
        m_props[PROP_START_JAR] = "app.jar";
        m_props[PROP_MIN_VERSION] = "1.4";
        m_options.timeoutMs = 600000;
    }

    std::string Runtime(const std::string& name) {
        std::string home = m_folder + name;
        MakeFakeRuntime(home);
        return home;
    }

    // The entries from "Bundled Jre not found" up to "Jre path: " (inclusive).
    std::vector<std::string> RegistryPart() const {
        std::vector<std::string> part;
        bool in = false;
        for (const std::string& entry : m_result.log) {
            if (entry == "Bundled Jre not found") in = true;
            if (!in) continue;
            part.push_back(entry);
            if (entry.compare(0, 10, "Jre path: ") == 0) break;
        }
        return part;
    }

    // Removes the runtime keys of both hives and views before and after.
    RuntimeRegistryGuard m_guard;
    std::string m_folder;
    std::string m_app;
    std::map<int, std::string> m_props;
    RunOptions m_options;
    LaunchResult m_result;
};

void CreateRegKey(HKEY hive, const std::string& path) {
    ScopedRegKey key;
    LONG status = RegCreateKeyExA(hive, path.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, key.Receive(), nullptr);
    if (status != ERROR_SUCCESS) ADD_FAILURE() << "cannot create " << path << " (error " << status << ")";
}

TEST_F(RegistryFaultE2ETest, LauncherStartsTheLastAcceptedOfFiveThousandRegisteredVersions) {
    std::string belowHome = Runtime("below");
    std::string home10 = Runtime("jdk-10.0.1");
    std::string home9 = Runtime("jdk-9.0.4");
    std::map<std::string, std::string> homes;
    for (int i = 0; i < 3000; ++i) homes[Numbered("1.2.2_", i)] = belowHome;
    for (int i = 0; i < 1997; ++i) homes[Numbered("1.7.0_", i)] = i % 2 ? m_folder + Numbered("missing-", i) : "";
    homes["10.0.1"] = home10;
    homes["9.0.4"] = home9;
    homes["99"] = m_folder + "gone";
    ASSERT_EQ(5000u, homes.size());
    for (const auto& entry : homes) {
        std::string key = kRuntimeKey + "\\" + entry.first;
        if (entry.second.empty())
            CreateRegKey(HKEY_CURRENT_USER, key);
        else
            WriteRegString(HKEY_CURRENT_USER, key, "JavaHome", entry.second);
    }

    std::string exe = PrepareLauncher(m_app + "\\", m_props);
    LARGE_INTEGER start = Now();
    m_result = RunLauncher(exe, "", m_options);
    double runMs = MillisecondsSince(start);
    std::cout << "[ measured ] launcher run over 5,000 registered versions under the debugger: " << runMs << " ms, "
              << m_result.log.size() << " log entries" << std::endl;

    ASSERT_TRUE(m_result.started);
    ASSERT_FALSE(m_result.timedOut);
    EXPECT_EQ(0u, m_result.exitCode);
    EXPECT_TRUE(m_result.dialogs.empty());
    std::vector<std::string> expected = {"Bundled Jre not found"};
    for (const auto& entry : homes) {
        if (entry.first.compare(0, 4, "1.2.") == 0) continue;
        AddLookupLines(expected, entry.first, entry.second, entry.second == home10 || entry.second == home9);
    }
    expected.push_back("Jre key found in registry");
    expected.push_back("Jre path: " + home9 + "\\bin\\javaw.exe");
    std::vector<std::string> part = RegistryPart();
    EXPECT_EQ(4002u, expected.size() - 3) << "lookup lines";
    EXPECT_EQ(expected.size(), part.size());
    EXPECT_TRUE(expected == part) << "first difference at entry "
                                  << (std::mismatch(expected.begin(), expected.end(), part.begin(),
                                                    part.end()).first - expected.begin());
    RecordedRun run = WaitForRecordedRun(home9);
    EXPECT_TRUE(run.found) << "the application runs on the last accepted runtime";
    EXPECT_FALSE(ReadRecordedRun(home10).found);
    EXPECT_FALSE(ReadRecordedRun(belowHome).found);
}

TEST_F(RegistryFaultE2ETest, LockedRuntimeKeyIsPassedOverForJavaHome) {
    // A working runtime behind a key nobody may read, and another one named
    // by JAVA_HOME: the launcher neither fails nor reaches the locked one.
    std::string locked = Runtime("jre-locked");
    std::string fromEnvironment = Runtime("jre-from-env");
    WriteRegString(HKEY_CURRENT_USER, kRuntimeKey, "CurrentVersion", "1.6");
    WriteRegString(HKEY_CURRENT_USER, kRuntimeKey + "\\1.6", "JavaHome", locked);
    WriteRegString(HKEY_LOCAL_MACHINE, kKitKey + "\\1.6", "JavaHome", locked);
    ReadDenial runtimeDenial(HKEY_CURRENT_USER, kRuntimeKey);
    ReadDenial kitDenial(HKEY_LOCAL_MACHINE, kKitKey);
    ASSERT_TRUE(runtimeDenial.Applied() && kitDenial.Applied());
    ASSERT_EQ(ERROR_ACCESS_DENIED, OpenAsTheLookupDoes(HKEY_CURRENT_USER, kRuntimeKey));
    ASSERT_EQ(ERROR_ACCESS_DENIED, OpenAsTheLookupDoes(HKEY_LOCAL_MACHINE, kKitKey));

    m_options.env["JAVA_HOME"] = fromEnvironment;
    std::string exe = PrepareLauncher(m_app + "\\", m_props);
    m_result = RunLauncher(exe, "", m_options);
    ASSERT_TRUE(m_result.started);
    ASSERT_FALSE(m_result.timedOut);
    EXPECT_EQ(0u, m_result.exitCode) << JoinLog(m_result.log);
    EXPECT_TRUE(m_result.dialogs.empty());
    std::vector<std::string> part = RegistryPart();
    ASSERT_FALSE(part.empty()) << JoinLog(m_result.log);
    EXPECT_EQ("Jre key not found in registry", part[1]) << JoinLog(part);
    EXPECT_EQ("Jre path: " + fromEnvironment + "\\bin\\javaw.exe", part.back());
    EXPECT_TRUE(WaitForRecordedRun(fromEnvironment).found);
    EXPECT_FALSE(ReadRecordedRun(locked).found);
}

}  // namespace
