#include "framework/Memory.h"

#include <cstdlib>

void EndOutOfMemory() {
    std::_Exit(1);
}

void* ResizeBlockOrEnd(void* block, size_t bytes) {
    void* resized = std::realloc(block, bytes ? bytes : 1);
    if (!resized) EndOutOfMemory();
    return resized;
}

void FreeBlock(void* block) {
    std::free(block);
}
