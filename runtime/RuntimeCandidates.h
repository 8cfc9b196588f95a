#pragma once
// Runtime homes found by any source, judged from their own files (the
// release file, bin\, the PE header of java.exe) and chosen between.
#include "framework/Array.h"

#include "framework/CString.h"

// A home a source names; versionHint is the version its registry key names,
// or "". A folder source (install folders, the PATH) names the folder below
// which the home is judged by who may change it (FolderTrust.h); the
// registry and JAVA_HOME, set by administrators or by the user, name none.
struct FoundHome {
    CString home;
    CString versionHint;
    CString source;
    CString folderAbove;
};
void AddFoundHome(Array<FoundHome>& found, const CString& home, const CString& versionHint,
                  const CString& source, const CString& folderAbove = CString());

struct RuntimeCandidate {
    CString home;     // without a trailing backslash
    CString version;  // "" when nothing told it
    CString vendor;   // the release file's IMPLEMENTOR, or ""
    bool kit = false;
    int bits = 0;     // of bin\java.exe: 32, 64, 0 unknown
    bool hasExe = false;             // bin\<g_javaExeName>
    bool releaseUnreadable = false;  // a release file without a version
    bool changeableByOthers = false; // a folder home another user could have planted or changed
    bool noReleaseFile = false;      // a folder home without one: never started to learn its version
    Array<CString> sources;    // every source naming it, in order
};

// One candidate per home (homes compared without case), judged in the order
// first found: version from the release file, else the key's version, else
// a probe as today (sharing g_probeTimeLeftMs). A home from a folder source
// is never probed, and is judged by who may change it.
Array<RuntimeCandidate> JudgeFoundHomes(const Array<FoundHome>& found);

// "" when the candidate meets g_minJavaVersion, g_maxJavaVersion, and
// g_searchJdkOnly; otherwise why not ("below minimum", ...).
CString RejectionReason(const RuntimeCandidate& candidate);

// The index of the candidate to start, or -1: with g_newestRuntime the
// highest accepted version (64-bit before 32-bit, then the earlier one),
// otherwise the first accepted.
int ChooseCandidate(const Array<RuntimeCandidate>& candidates);

// One log line per candidate: home, version, bitness, sources, verdict.
void LogCandidates(const Array<RuntimeCandidate>& candidates);
