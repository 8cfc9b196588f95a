#pragma once
// Runtimes and development kits registered under SOFTWARE\JavaSoft.
#include <windows.h>

#include "framework/CString.h"
#include "runtime/RegistryKeys.h"
#include "runtime/VersionProbe.h"

// Where installers register runtimes and development kits, one subkey per
// version, each with a "JavaHome" value.
extern const char kRuntimeRegistryKey[];
extern const char kDevelopmentKitRegistryKey[];

// view as in RegistryKeys.h.

// The "JavaHome" of the runtime that "CurrentVersion" names; "" when none.
CString GetCurrentJreHome(HKEY hive, REGSAM view = 0);
// The executable of the last version subkey that meets the minimum and whose
// executable exists, or "". Sets g_runtimeHome for every subkey meeting the
// minimum.
CString FindRuntimeInVersionKeys(HKEY hive, const char* keyPath, REGSAM view = 0);
// FindRuntimeInVersionKeys on the development-kit key.
CString FindJdkInRegistry(HKEY hive, REGSAM view = 0);

// One candidate of a version-key lookup: logs the name, sets g_runtimeHome
// to home (without a trailing backslash), logs "found" when the executable
// exists and then the candidate. Returns the executable when it exists, or
// "". The caller has already applied the minimum to the candidate's version.
CString JudgeRegisteredHome(const char* name, const CString& home);
// The last non-empty candidateIn(version) over the subkeys of key that meet
// the minimum, in index order, or "". The subkey's name is its version; no
// version ordering beyond the minimum: a later accepted subkey replaces an
// earlier one.
template <typename CandidateIn>
CString LastCandidateInVersionSubkeys(HKEY key, CandidateIn candidateIn) {
    CString result;
    ForEachRegistrySubkey(key, [&](const CString& version) {
        if (!IsVersionSufficient(version)) return;
        CString candidate = candidateIn(version);
        if (!candidate.IsEmpty()) result = candidate;
    });
    return result;
}

// "HKEY_LOCAL_MACHINE" or "HKEY_CURRENT_USER", for log lines.
const char* HiveName(HKEY hive);
