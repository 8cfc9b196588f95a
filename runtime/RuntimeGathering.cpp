#include "runtime/RuntimeGathering.h"

#include "base/DiagnosticLog.h"
#include "base/Environment.h"
#include "base/Globals.h"
#include "framework/Array.h"
#include "runtime/RegisteredHomes.h"
#include "runtime/RuntimeFolders.h"

namespace {

void GatherJavaHome(Array<FoundHome>& found) {
    AddFoundHome(found, GetEnvironmentText("JAVA_HOME"), CString(), "JAVA_HOME");
}

CString Choose(const Array<FoundHome>& found) {
    Array<RuntimeCandidate> candidates = JudgeFoundHomes(found);
    LogCandidates(candidates);
    int chosen = ChooseCandidate(candidates);
    if (chosen < 0) return CString();
    g_runtimeHome = candidates[chosen].home;
    g_log << "Runtime chosen: " << g_runtimeHome << logEnd;
    return g_runtimeHome + "\\bin\\" + g_javaExeName;
}

}  // namespace

Array<FoundHome> GatherEveryHome() {
    Array<FoundHome> found;
    GatherRegisteredHomes(false, found);
    GatherJavaHome(found);
    GatherFolderHomes(found);
    GatherPathHomes(found);
    return found;
}

CString FindInFurtherSources() {
    Array<FoundHome> found;
    GatherRegisteredHomes(true, found);
    GatherFolderHomes(found);
    GatherPathHomes(found);
    // A machine without further runtimes logs as before.
    if (found.empty()) return CString();
    g_log << "Search further places..." << logEnd;
    return Choose(found);
}

CString FindNewestRuntime() {
    g_log << "Search every place for the newest runtime..." << logEnd;
    return Choose(GatherEveryHome());
}
