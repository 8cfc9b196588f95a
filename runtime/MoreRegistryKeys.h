#pragma once
// Registry places beyond the JavaSoft version keys: the keys that runtimes
// since Java 9 write, and vendor installers' own keys. Tried when the
// JavaSoft keys gave nothing.
#include <windows.h>

#include "framework/CString.h"

// The executable of a registered runtime from these places, judged like a
// version subkey (minimum, existence, g_runtimeHome, log lines), or "".
// Places in table order, each HKEY_LOCAL_MACHINE before HKEY_CURRENT_USER;
// within one key the last accepted candidate wins, as in a version-key
// lookup. developmentKitOnly: only kits count. view as in RegistryKeys.h.
CString FindRuntimeInMoreRegistryKeys(bool developmentKitOnly, REGSAM view);
