#pragma once
// Runtimes and development kits registered under SOFTWARE\JavaSoft.
#include <windows.h>

#include "framework/CString.h"

CString ReadRegistryString(HKEY hive, const char* keyPath, const char* valueName);
CString GetCurrentJreHome(HKEY hive);
CString FindRuntimeInVersionKeys(HKEY hive, const char* keyPath);
CString FindJdkInRegistry(HKEY hive);
