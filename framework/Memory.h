#pragma once
// The launcher's heap blocks: the C heap, with running out of memory ending
// the process at once instead of throwing. Nothing in the launcher can go on
// sensibly without the few hundred bytes it asks for, and the launcher
// carries no C++ exception machinery to unwind with.
#include <cstddef>

// Ends the process with exit code 1, running no exit handlers (they may
// need memory themselves).
void EndOutOfMemory();
// realloc(block, bytes) that never returns null for bytes > 0.
void* ResizeBlockOrEnd(void* block, size_t bytes);
// free(block).
void FreeBlock(void* block);

// Exchanges two values: moving the owner of a block comes down to this.
template <class T>
void SwapValues(T& a, T& b) {
    T kept = a;
    a = b;
    b = kept;
}
