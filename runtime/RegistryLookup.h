#pragma once
// Runtimes and development kits registered under SOFTWARE\JavaSoft.
#include <windows.h>

#include "framework/CString.h"

// Where installers register runtimes and development kits, one subkey per
// version, each with a "JavaHome" value.
extern const char kRuntimeRegistryKey[];
extern const char kDevelopmentKitRegistryKey[];

// view: 0 for the process's own registry view, KEY_WOW64_64KEY for the
// 64-bit view that a 32-bit launcher does not see by default.

// The text of a value, up to its first NUL; "" when the key or the value is
// missing or the value does not fit 1024 bytes.
CString ReadRegistryString(HKEY hive, const char* keyPath, const char* valueName, REGSAM view = 0);
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
// "HKEY_LOCAL_MACHINE" or "HKEY_CURRENT_USER", for log lines.
const char* HiveName(HKEY hive);
