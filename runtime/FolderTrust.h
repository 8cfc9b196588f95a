#pragma once
// Whether a runtime found in a folder could have been put there, or changed,
// by another user of the machine. Any user may create folders in some
// places every user shares (%ProgramData%, the root of the system drive),
// and a folder made there inherits rights for everyone; so a folder home is
// judged by its owner and access list, never by where it lies. Trusted are
// the system, the administrators, the installer service and the user
// running the launcher.
#include "framework/CString.h"

// True when only the trusted can change path: its owner is one of them, and
// no entry of its access list that applies to it allows anyone else to write
// or add to it, delete it or its children, or change its owner or access
// list. False when its security cannot be read, and for a missing access
// list (a drive without permissions), which lets everyone do everything.
bool OnlyTrustedCanChange(const CString& path);

// OnlyTrustedCanChange for every folder from the one below `above` down to
// home (home alone when it does not lie below `above`), for home's bin
// folder and for the java.exe and javaw.exe in it.
bool IsFolderHomeTrusted(const CString& home, const CString& above);
