// The launchers' global operator new and delete, replacing the C++
// runtime's: those throw std::bad_alloc and would bring its whole exception
// machinery into the executables. Linked into the launcher executables only
// (the tests and tools keep the standard ones). A plain new that fails ends
// the process (framework/Memory.h); the nothrow forms return null as always.
#include <cstdlib>
#include <new>

#include "framework/Memory.h"

void* operator new(std::size_t bytes) {
    return ResizeBlockOrEnd(nullptr, bytes);
}

void* operator new[](std::size_t bytes) {
    return ResizeBlockOrEnd(nullptr, bytes);
}

void* operator new(std::size_t bytes, const std::nothrow_t&) noexcept {
    return std::malloc(bytes ? bytes : 1);
}

void* operator new[](std::size_t bytes, const std::nothrow_t&) noexcept {
    return std::malloc(bytes ? bytes : 1);
}

void operator delete(void* block) noexcept {
    std::free(block);
}

void operator delete[](void* block) noexcept {
    std::free(block);
}

void operator delete(void* block, std::size_t) noexcept {
    std::free(block);
}

void operator delete[](void* block, std::size_t) noexcept {
    std::free(block);
}

void operator delete(void* block, const std::nothrow_t&) noexcept {
    std::free(block);
}

void operator delete[](void* block, const std::nothrow_t&) noexcept {
    std::free(block);
}
