#include "runtime/RuntimeSearch.h"

#include <windows.h>


#include "base/DiagnosticLog.h"
#include "base/Environment.h"
#include "base/Globals.h"
#include "base/LauncherProperties.h"
#include "base/PathExists.h"
#include "base/PropertyIds.h"
#include "runtime/JavaRelease.h"
#include "runtime/MoreRegistryKeys.h"
#include "runtime/RegistryKeys.h"
#include "runtime/RegistryLookup.h"
#include "runtime/RuntimeGathering.h"
#include "runtime/Version.h"
#include "runtime/VersionProbe.h"

namespace {

const char kDefaultMinVersion[] = "1.3";

// All version probes of one search together: with both registry views a
// search may probe four runtimes, and a runtime that never answers holds
// each probe for its full 3 s before any window shows.
const DWORD kProbeBudgetMs = 5000;

CString ExecutableIn(const CString& home) {
    return home + "\\bin\\" + g_javaExeName;
}

// The registry's current-version runtime of a hive, if it reports at least
// the minimum; "" otherwise.
CString FindCurrentVersionRuntime(HKEY hive, REGSAM view) {
    CString home = GetCurrentJreHome(hive, view);
    // No "CurrentVersion" or no "JavaHome": nothing to probe.
    if (home.IsEmpty()) return CString();
    CString version = ProbeJavaVersion(home);
    if (!IsVersionSufficient(version)) return CString();
    CString candidate = ExecutableIn(home);
    return PathExists(candidate) ? candidate : CString();
}

// JRE mode's registry steps in one view: current versions, runtime version
// keys, development-kit version keys, then the further keys; "" when none
// was accepted.
CString FindRuntimeInRegistryView(REGSAM view) {
    for (HKEY hive : kRegistryHives) {
        if (!IsHiveOwnInView(hive, view)) continue;
        CString candidate = FindCurrentVersionRuntime(hive, view);
        if (!candidate.IsEmpty()) return candidate;
    }
    for (HKEY hive : kRegistryHives) {
        if (!IsHiveOwnInView(hive, view)) continue;
        CString candidate = FindRuntimeInVersionKeys(hive, kRuntimeRegistryKey, view);
        if (PathExists(candidate)) return candidate;
    }
    for (HKEY hive : kRegistryHives) {
        if (!IsHiveOwnInView(hive, view)) continue;
        CString candidate = FindJdkInRegistry(hive, view);
        if (PathExists(candidate)) return candidate;
    }
    return FindRuntimeInMoreRegistryKeys(false, view);
}

// JDK-only mode's registry steps in one view.
CString FindJdkInRegistryView(REGSAM view) {
    for (HKEY hive : kRegistryHives) {
        if (!IsHiveOwnInView(hive, view)) continue;
        CString candidate = FindJdkInRegistry(hive, view);
        if (PathExists(candidate)) return candidate;
    }
    return FindRuntimeInMoreRegistryKeys(true, view);
}

// The launcher's own view first, then the other machine's: most runtimes
// today are 64-bit and register only in the view a 32-bit process does not
// read by default; an old 32-bit Java 8 registers only under Wow6432Node,
// which a 64-bit process does not read by default.
CString FindInRegistry(CString (*findInView)(REGSAM)) {
    CString candidate = findInView(0);
    REGSAM other = OtherRegistryView();
    if (candidate.IsEmpty() && other != 0) candidate = findInView(other);
    return candidate;
}

// The places no earlier step reads, then the current directory; a runtime
// there is the user's own pick, so the further places are only read when it
// holds none.
CString FindRuntimeInFurtherPlacesOrCurrentDir() {
    if (!PathExists(g_javaExeName)) {
        CString candidate = FindInFurtherSources();
        if (!candidate.IsEmpty()) return candidate;
    }
    g_log << "Try current dir." << logEnd;
    return g_javaExeName;
}

// The JAVA_HOME step and, after it, the further places and the current
// directory.
CString FindRuntimeFromJavaHome() {
    CString home = GetEnvironmentText("JAVA_HOME");
    CString candidate = ExecutableIn(home);
    // An unset JAVA_HOME would name \bin\javaw.exe at the drive root.
    if (home.IsEmpty() || !PathExists(candidate)) {
        g_log << "JAVA_HOME not found" << logEnd;
        return FindRuntimeInFurtherPlacesOrCurrentDir();
    }
    // A runtime the user pointed at but that does not fit is not replaced by
    // whatever the current directory holds; other installed runtimes may be.
    if (g_searchJdkOnly && !IsDevelopmentKitHome(home)) return FindInFurtherSources();
    CString version = ProbeJavaVersion(home);
    if (IsVersionSufficient(version)) {
        g_log << "JAVA_HOME found" << logEnd;
        return candidate;
    }
    g_log << "Incorrect version" << logEnd;
    return FindInFurtherSources();
}

// A version property that is no version ("v1.6", "eleven") is logged and
// dropped: a typo must not switch a check off or make it refuse everything.
CString ReadVersionProperty(unsigned id, const char* name, const char* fallbackText) {
    CString value = ReadStringProperty(id);
    if (!value.IsEmpty() && !IsVersionText(value)) {
        g_log << name << " is not a version, " << fallbackText << " is used: " << value << logEnd;
        value.Empty();
    }
    return value;
}

bool ReadNewestChoice() {
    CString choice = ReadStringProperty(PROP_RUNTIME_CHOICE);
    if (lstrcmpiA(choice, "newest") == 0) return true;
    if (!choice.IsEmpty() && lstrcmpiA(choice, "first") != 0)
        g_log << "PROP_RUNTIME_CHOICE is neither first nor newest, first is used: " << choice << logEnd;
    return false;
}

CString SearchJavaRuntime(const CString& launcherFolder) {
    g_minJavaVersion = ReadVersionProperty(PROP_MIN_VERSION, "PROP_MIN_VERSION", kDefaultMinVersion);
    if (g_minJavaVersion.IsEmpty()) g_minJavaVersion = kDefaultMinVersion;
    // A runtime below what the start mode needs would reject the command
    // line: it is passed over like any runtime below the minimum, and the
    // failure dialog names the version that is really needed.
    if (!g_startModeMinimum.IsEmpty()) {
        if (!VersionAtLeast(g_startModeMinimum, g_minJavaVersion)) g_minJavaVersion = g_startModeMinimum;
        g_log << "Minimum version for the start mode: " << g_minJavaVersion << logEnd;
    }
    g_maxJavaVersion = ReadVersionProperty(PROP_MAX_VERSION, "PROP_MAX_VERSION", "no maximum");
    g_newestRuntime = ReadNewestChoice();
    g_log << (g_searchJdkOnly ? "Search for Jdk only..." : "Search for Jre...") << logEnd;

    CString jrePath = ReadStringProperty(PROP_JRE_PATH);
    g_log << "PROP_JRE_PATH: " << jrePath << logEnd;
    CString local = launcherFolder + "\\" + jrePath;
    g_log << "Try bundled JRE or JDK path: " << local << logEnd;
    // Without a path or without the launcher's folder the candidate would be
    // the folder itself, or the root of the current drive, both of which
    // exist (a launcher at the root of a USB stick), and would end the
    // search with a folder for an executable.
    if (!jrePath.IsEmpty() && !launcherFolder.IsEmpty() && PathExists(local)) {
        g_log << "Bundled Jre or jdk found" << logEnd;
        // The bundled runtime's home is fixed, whatever PROP_JRE_PATH names.
        g_runtimeHome = launcherFolder + "\\..\\jre";
        return local;
    }

    if (g_newestRuntime) {
        CString candidate = FindNewestRuntime();
        if (!candidate.IsEmpty()) return candidate;
        g_log << "Try current dir." << logEnd;
        return g_javaExeName;
    }
    if (g_searchJdkOnly) {
        g_log << "Search in registry for Jdk only..." << logEnd;
        CString candidate = FindInRegistry(FindJdkInRegistryView);
        if (!candidate.IsEmpty()) {
            g_log << "Jdk key found in registry" << logEnd;
            return candidate;
        }
    } else {
        g_log << "Bundled Jre not found" << logEnd;
        CString candidate = FindInRegistry(FindRuntimeInRegistryView);
        if (!candidate.IsEmpty()) {
            // After a development-kit key this repeats the line that
            // FindJdkInRegistry has just written.
            g_log << "Jre key found in registry" << logEnd;
            return candidate;
        }
        g_log << "Jre key not found in registry" << logEnd;
    }
    return FindRuntimeFromJavaHome();
}

}  // namespace

CString FindJavaRuntime(const CString& launcherFolder) {
    g_probeTimeLeftMs = kProbeBudgetMs;
    CString result = SearchJavaRuntime(launcherFolder);
    g_probeTimeLeftMs = INFINITE;
    CString tail = CString("\\bin\\") + g_javaExeName;
    int homeLength = result.GetLength() - tail.GetLength();
    bool hasHome = homeLength > 0 && tail == result.GetString() + homeLength;
    g_acceptedHome = hasHome ? CString(result.GetString(), homeLength) : CString();
    if (result == g_javaExeName) {
        // The bare name was looked for in the current directory, but
        // CreateProcess would look in the launcher's own folder first and
        // could start another file of that name: the one that was found is
        // named by its full path.
        char fullPath[MAX_PATH];
        DWORD length = GetFullPathNameA(result, MAX_PATH, fullPath, nullptr);
        if (length > 0 && length < MAX_PATH && PathExists(fullPath)) result = fullPath;
    }
    return result;
}
