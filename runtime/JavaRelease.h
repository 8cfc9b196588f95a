#pragma once
// What a runtime home's own files say about it: the "release" file that
// runtimes since Java 9 carry, and the jmods folder of their development kits.
#include "framework/CString.h"

// The JAVA_VERSION of <home>\release without its quotes, e.g. "17.0.5";
// "" when the file or the line is missing.
CString ReadReleaseVersion(const CString& home);
// The JAVA_VERSION line's value taken from the text of a release file.
CString ParseReleaseVersion(const char* releaseText);
// The value of the line "<key>=" in the text of a release file, without its
// quotes; "" when there is no such line.
CString ParseReleaseValue(const char* releaseText, const char* key);

// What a release file says; present is false only when there is no file.
struct ReleaseFile {
    bool present = false;
    CString version;         // JAVA_VERSION, e.g. "21.0.2" or "1.8.0_265"
    CString implementor;     // IMPLEMENTOR, e.g. "Eclipse Adoptium"
    CString runtimeVersion;  // JAVA_RUNTIME_VERSION, e.g. "21.0.2+13-LTS"
};
ReleaseFile ReadReleaseFile(const CString& home);
// True for a Java 9 or later home: its release file names 9 or later, or it
// has a jmods folder. Such a home has no lib\tools.jar even when it is a kit.
bool IsJava9OrLaterHome(const CString& home);
// True when home is a development kit rather than a runtime: it has a
// compiler (bin\javac.exe), the modules a kit links from (jmods, since 9) or
// lib\tools.jar (before 9). A runtime since 9 has a release file too, so that
// file tells nothing here.
bool IsDevelopmentKitHome(const CString& home);
// home without one trailing backslash, so that joining never doubles it.
CString WithoutTrailingBackslash(const CString& home);
