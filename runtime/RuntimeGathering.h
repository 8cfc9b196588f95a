#pragma once
// The sources beyond the specified steps, and the newest-runtime choice
// over every source: gathered, judged without starting a JVM where a
// release file tells enough, logged one line per candidate, chosen.
#include "framework/Array.h"

#include "framework/CString.h"
#include "runtime/RuntimeCandidates.h"

// Every home of every source except a bundled runtime, in search order:
// the registry (JavaSoft keys first), JAVA_HOME, the folders, the PATH.
Array<FoundHome> GatherEveryHome();

// The first acceptable runtime of the places the specified steps never read
// (further registry keys, the folders, the PATH), or "". Sets g_runtimeHome
// to its home.
CString FindInFurtherSources();

// The newest acceptable runtime of GatherEveryHome, or "". Sets
// g_runtimeHome to its home.
CString FindNewestRuntime();
