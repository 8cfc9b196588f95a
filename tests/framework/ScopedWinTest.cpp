#include "framework/ScopedWin.h"

#include <utility>
#include <vector>

#include <gtest/gtest.h>

namespace {

// Records what the owner closes, and clobbers the last error as real closes may.
std::vector<int> g_closed;
struct FakeTraits {
    typedef int Type;
    static int Empty() { return 0; }
    static bool IsValid(int value) { return value != 0; }
    static void Close(int value) {
        g_closed.push_back(value);
        SetLastError(ERROR_ACCESS_DENIED);
    }
};
typedef ScopedObject<FakeTraits> FakeOwner;

struct OwnerCase {
    const char* name;
    void (*run)();
    std::vector<int> closed;
};

const OwnerCase kOwnerCases[] = {
    {"destruction closes", [] { FakeOwner a(1); }, {1}},
    {"Receive closes the old value first", [] { FakeOwner a(1); *a.Receive() = 2; }, {1, 2}},
    {"Close closes once", [] { FakeOwner a(1); a.Close(); a.Close(); }, {1}},
    {"Release hands the value over", [] { FakeOwner a(1); EXPECT_EQ(1, a.Release()); }, {}},
    {"move construction closes once", [] { FakeOwner a(1); FakeOwner b(std::move(a)); }, {1}},
    {"move assignment closes the target's value", [] { FakeOwner a(1), b(2); b = std::move(a); }, {2, 1}},
};

struct FakeInterface {
    int references;
    ULONG Release() { return --references; }
};

}  // namespace

TEST(ScopedWinTest, OwnerClosesEachValueOnceAndKeepsTheLastError) {
    for (const OwnerCase& c : kOwnerCases) {
        g_closed.clear();
        SetLastError(ERROR_FILE_NOT_FOUND);
        c.run();
        EXPECT_EQ(c.closed, g_closed) << c.name;
        EXPECT_EQ(static_cast<DWORD>(ERROR_FILE_NOT_FOUND), GetLastError()) << c.name;
    }
}

TEST(ScopedWinTest, KernelHandleAndRegistryKeyAreClosed) {
    HANDLE raw = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    { ScopedHandle event(raw); }
    DWORD flags = 0;
    EXPECT_FALSE(GetHandleInformation(raw, &flags));

    HKEY key = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExA(HKEY_CURRENT_USER, "Software", 0, KEY_READ, &key));
    { ScopedRegKey owner(key); }
    EXPECT_NE(ERROR_SUCCESS, RegQueryInfoKeyA(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                                              nullptr, nullptr, nullptr, nullptr));
}

TEST(ScopedWinTest, ComPointerReleasesItsReference) {
    FakeInterface object = {2};
    { ScopedComPtr<FakeInterface> owner(&object); }
    EXPECT_EQ(1, object.references);
}

TEST(ScopedWinTest, ScopedLockLeavesAtTheEndOfItsScope) {
    CriticalSection section;
    {
        ScopedLock lock(section);
        EXPECT_EQ(1, section.Get().RecursionCount);
    }
    EXPECT_EQ(0, section.Get().RecursionCount);
}
