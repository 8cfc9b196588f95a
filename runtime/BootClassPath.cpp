#include "runtime/BootClassPath.h"

#include <windows.h>

#include "framework/ScopedWin.h"
#include "base/DiagnosticLog.h"
#include "base/Globals.h"
#include "runtime/JavaRelease.h"

CString QuoteLibJar(const char* fileName) {
    return "\"" + g_runtimeHome + "\\lib\\" + fileName + "\"";
}

CString BuildBootClassPath() {
    g_log << "JDK PATH..." << logEnd;
    g_log << g_runtimeHome << logEnd;
    // Java 9 and later refuse to start with -Xbootclasspath/p:, so the piece
    // would turn a working kit into a failed launch.
    CString accepted = g_acceptedHome;
    if (IsJava9OrLaterHome(accepted)) {
        g_log << "Boot class path left out, Java 9 or later refuses -Xbootclasspath/p: " << accepted << logEnd;
        return CString();
    }
    // Without a home the pattern would list \lib at the root of the current
    // drive, which belongs to no runtime.
    if (g_runtimeHome.IsEmpty()) return CString();
    CString pattern = g_runtimeHome + "\\lib\\*.jar";
    WIN32_FIND_DATAA entry;
    ScopedFindHandle search(FindFirstFileA(pattern, &entry));
    if (!search.IsValid()) return CString();
    // Listing order, no sorting and no attribute test: whatever the wildcard
    // matches goes on the path.
    CString classPath = QuoteLibJar(entry.cFileName);
    while (FindNextFileA(search, &entry)) {
        classPath += ";";
        classPath += QuoteLibJar(entry.cFileName);
    }
    g_log << classPath << logEnd;
    return classPath;
}
