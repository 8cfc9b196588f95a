#pragma once
// Reading the registry the way every runtime lookup does: the same access,
// the same hives in the same order, either view.
#include <windows.h>

#include "framework/CString.h"
#include "framework/ScopedWin.h"

// Machine-wide first, so a runtime registered in both is taken from
// HKEY_LOCAL_MACHINE.
extern const HKEY kRegistryHives[2];

// view: 0 for the process's own registry view, KEY_WOW64_64KEY for the
// 64-bit view that a 32-bit launcher does not see by default.

// False for HKEY_CURRENT_USER in the 64-bit view: its SOFTWARE key is shared
// by both views, so asking it again would only repeat the same lookup.
bool IsHiveOwnInView(HKEY hive, REGSAM view);

// Opens keyPath for reading values and listing subkeys; false when it
// cannot be opened.
bool OpenRegistryKey(HKEY hive, const char* keyPath, REGSAM view, ScopedRegKey& key);
// The name of subkey index of key, or false at the end or on an error.
bool EnumRegistrySubkey(HKEY key, DWORD index, CString& name);
// The text of a value, up to its first NUL; "" when the key or the value is
// missing or the value does not fit 1024 bytes.
CString ReadRegistryString(HKEY hive, const char* keyPath, const char* valueName, REGSAM view = 0);

// visit(name) for every subkey of key, in index order.
template <typename Visit>
void ForEachRegistrySubkey(HKEY key, Visit visit) {
    CString name;
    for (DWORD index = 0; EnumRegistrySubkey(key, index, name); ++index) visit(name);
}
