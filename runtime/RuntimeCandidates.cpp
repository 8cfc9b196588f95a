#include "runtime/RuntimeCandidates.h"

#include <windows.h>

#include "base/DiagnosticLog.h"
#include "base/Globals.h"
#include "base/PathExists.h"
#include "framework/Array.h"
#include "runtime/ExeMachine.h"
#include "runtime/FolderTrust.h"
#include "runtime/JavaRelease.h"
#include "runtime/Version.h"
#include "runtime/VersionProbe.h"

namespace {

bool SameHome(const CString& a, const CString& b) {
    return lstrcmpiA(a, b) == 0;
}

RuntimeCandidate Judge(const FoundHome& found) {
    RuntimeCandidate candidate;
    candidate.home = found.home;
    ReleaseFile release = ReadReleaseFile(found.home);
    CString bin = found.home + "\\bin\\";
    candidate.hasExe = PathExists(bin + g_javaExeName);
    candidate.kit = IsDevelopmentKitHome(found.home);
    candidate.bits = ExecutableBits(bin + "java.exe");
    candidate.vendor = release.implementor;
    // Starting a program to learn its version runs it, whoever put it there.
    bool fromFolder = !found.folderAbove.IsEmpty();
    if (fromFolder) candidate.changeableByOthers = !IsFolderHomeTrusted(found.home, found.folderAbove);
    if (release.present) {
        candidate.version = release.version;
        candidate.releaseUnreadable = release.version.IsEmpty();
    } else if (IsVersionText(found.versionHint)) {
        candidate.version = found.versionHint;
    } else if (fromFolder) {
        candidate.noReleaseFile = true;
    } else if (candidate.hasExe) {
        candidate.version = ProbeJavaVersion(found.home);
    }
    return candidate;
}

// True when a is to be started rather than b, both accepted, a found later.
bool Newer(const RuntimeCandidate& a, const RuntimeCandidate& b) {
    if (!VersionAtLeast(a.version, b.version)) return true;   // b < a
    if (!VersionAtLeast(b.version, a.version)) return false;  // a < b
    return a.bits == 64 && b.bits != 64;
}

}  // namespace

void AddFoundHome(Array<FoundHome>& found, const CString& home, const CString& versionHint,
                  const CString& source, const CString& folderAbove) {
    CString trimmed = WithoutTrailingBackslash(home);
    if (trimmed.IsEmpty()) return;
    FoundHome entry;
    entry.home = trimmed;
    entry.versionHint = versionHint;
    entry.source = source;
    entry.folderAbove = folderAbove;
    found.push_back(entry);
}

Array<RuntimeCandidate> JudgeFoundHomes(const Array<FoundHome>& found) {
    Array<RuntimeCandidate> candidates;
    for (const FoundHome& entry : found) {
        RuntimeCandidate* known = nullptr;
        for (RuntimeCandidate& c : candidates)
            if (SameHome(c.home, entry.home)) known = &c;
        if (!known) {
            // A home no file of which exists is no runtime, only a stale key.
            if (!PathExists(entry.home)) continue;
            candidates.push_back(Judge(entry));
            known = &candidates.back();
        }
        known->sources.push_back(entry.source);
    }
    return candidates;
}

CString RejectionReason(const RuntimeCandidate& candidate) {
    if (candidate.changeableByOthers) return "other users can change it";
    if (candidate.releaseUnreadable) return "release file unreadable";
    if (candidate.noReleaseFile) return "no release file";
    if (!candidate.hasExe) return "no " + g_javaExeName;
    if (!VersionAtLeast(g_minJavaVersion, candidate.version)) return "below minimum";
    if (!g_maxJavaVersion.IsEmpty() && !VersionAtMost(g_maxJavaVersion, candidate.version)) return "above maximum";
    if (g_searchJdkOnly && !candidate.kit) return "not a development kit";
    return CString();
}

int ChooseCandidate(const Array<RuntimeCandidate>& candidates) {
    int chosen = -1;
    for (size_t i = 0; i < candidates.size(); ++i) {
        if (!RejectionReason(candidates[i]).IsEmpty()) continue;
        if (chosen < 0) chosen = static_cast<int>(i);
        if (!g_newestRuntime) break;
        if (Newer(candidates[i], candidates[chosen])) chosen = static_cast<int>(i);
    }
    return chosen;
}

void LogCandidates(const Array<RuntimeCandidate>& candidates) {
    for (const RuntimeCandidate& c : candidates) {
        CString sources;
        for (const CString& source : c.sources) sources += (sources.IsEmpty() ? "" : "; ") + source;
        CString reason = RejectionReason(c);
        g_log << "Candidate: " << c.home << ", " << (c.version.IsEmpty() ? CString("unknown version") : c.version)
              << ", " << (c.bits == 0 ? "unknown bitness" : c.bits == 32 ? "32-bit" : "64-bit") << ", " << sources
              << ": " << (reason.IsEmpty() ? CString("accepted") : reason) << logEnd;
    }
}
