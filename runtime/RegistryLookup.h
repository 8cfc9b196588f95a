#pragma once
// Runtimes and development kits registered under SOFTWARE\JavaSoft.
#include <windows.h>

#include "framework/CString.h"

// Where installers register runtimes and development kits, one subkey per
// version, each with a "JavaHome" value.
extern const char kRuntimeRegistryKey[];
extern const char kDevelopmentKitRegistryKey[];

// The text of a value, up to its first NUL; "" when the key or the value is
// missing or the value does not fit 1024 bytes.
CString ReadRegistryString(HKEY hive, const char* keyPath, const char* valueName);
// The "JavaHome" of the runtime that "CurrentVersion" names; "" when none.
CString GetCurrentJreHome(HKEY hive);
// The executable of the last version subkey that meets the minimum and whose
// executable exists, or "". Sets g_runtimeHome for every subkey meeting the
// minimum.
CString FindRuntimeInVersionKeys(HKEY hive, const char* keyPath);
// FindRuntimeInVersionKeys on the development-kit key.
CString FindJdkInRegistry(HKEY hive);
