#pragma once
// Reading the registry the way every runtime lookup does: the same access,
// the same hives in the same order, either view.
#include <windows.h>

#include "framework/CString.h"
#include "framework/ScopedWin.h"

// Machine-wide first, so a runtime registered in both is taken from
// HKEY_LOCAL_MACHINE.
extern const HKEY kRegistryHives[2];

// view: 0 for the process's own registry view, or OtherRegistryView(): the
// 64-bit view that a 32-bit launcher does not see by default, the 32-bit
// view (Wow6432Node) where a 64-bit launcher finds 32-bit runtimes.

// The view of the other machine on this Windows: KEY_WOW64_64KEY for a
// 32-bit launcher under WOW64, KEY_WOW64_32KEY for a 64-bit launcher, 0 on
// 32-bit Windows, which has one view only. The launcher is this process, or
// the one g_searchedMachineBits names.
REGSAM OtherRegistryView();
// How the log names a key tried in view: "Try registry key: " in the own
// view, "Try 64-bit registry key: " or "Try 32-bit registry key: " in the
// other one.
const char* TriedKeyLabel(REGSAM view);
// How a source names its view: "" for the own view, " (64-bit view)" or
// " (32-bit view)" for the other one.
const char* ViewSuffix(REGSAM view);

// False for HKEY_CURRENT_USER in the other view: its SOFTWARE key is shared
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
