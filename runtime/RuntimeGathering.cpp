#include "runtime/RuntimeGathering.h"

#include "base/DiagnosticLog.h"
#include "base/Environment.h"
#include "base/Globals.h"
#include "runtime/RegisteredHomes.h"
#include "runtime/RuntimeFolders.h"

namespace {

void GatherJavaHome(std::vector<FoundHome>& found) {
    AddFoundHome(found, GetEnvironmentText("JAVA_HOME"), CString(), "JAVA_HOME");
}

CString Choose(const std::vector<FoundHome>& found) {
    std::vector<RuntimeCandidate> candidates = JudgeFoundHomes(found);
    LogCandidates(candidates);
    int chosen = ChooseCandidate(candidates);
    if (chosen < 0) return CString();
    g_runtimeHome = candidates[chosen].home;
    g_log << "Runtime chosen: " << g_runtimeHome << logEnd;
    return g_runtimeHome + "\\bin\\" + g_javaExeName;
}

}  // namespace

std::vector<FoundHome> GatherEveryHome() {
    std::vector<FoundHome> found;
    GatherRegisteredHomes(false, found);
    GatherJavaHome(found);
    GatherFolderHomes(found);
    GatherPathHomes(found);
    return found;
}

CString FindInFurtherSources() {
    std::vector<FoundHome> found;
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
