#pragma once
// Every home the registry names, gathered rather than judged one by one:
// for the newest-runtime choice, for the places read after every other step,
// and for the companion tool's list.
#include "framework/Array.h"

#include "runtime/RuntimeCandidates.h"

// furtherOnly: only what the registry step never reads (the vendors marked
// furtherOnly, and the \EXE ending of every jvm key); otherwise every key,
// the JavaSoft version keys first. Both hives, the own view and then the
// 64-bit view where there is one. Nothing is logged.
void GatherRegisteredHomes(bool furtherOnly, Array<FoundHome>& found);
