#pragma once
// Owners for Windows handles, locks and COM interfaces: each closes what it
// owns exactly once and converts to the raw value, so it never stands in the
// way of an API call. Closing keeps GetLastError intact, so an error captured
// after a failed call survives the cleanup.
#include <windows.h>

// Owns one value described by Traits:
//   Type                 the raw type
//   Type Empty()         the value an owner holds when it owns nothing
//   bool IsValid(Type)   whether the value is something to close
//   void Close(Type)     closes it
// Move-only: exactly one owner closes a value.
template <typename Traits>
class ScopedObject {
public:
    typedef typename Traits::Type Type;

    ScopedObject() : m_value(Traits::Empty()) {}
    explicit ScopedObject(Type value) : m_value(value) {}
    ~ScopedObject() { Close(); }
    ScopedObject(ScopedObject&& other) : m_value(other.Release()) {}
    ScopedObject& operator=(ScopedObject&& other) {
        if (this != &other) {
            Close();
            m_value = other.Release();
        }
        return *this;
    }
    ScopedObject(const ScopedObject&) = delete;
    ScopedObject& operator=(const ScopedObject&) = delete;

    operator Type() const { return m_value; }
    Type Get() const { return m_value; }
    bool IsValid() const { return Traits::IsValid(m_value); }
    // For a call that writes a new value: whatever is owned now is closed
    // first, or an owner reused in a loop would leak every value but the last.
    Type* Receive() {
        Close();
        return &m_value;
    }
    // Hands the value over to the caller, who closes it from now on.
    Type Release() {
        Type value = m_value;
        m_value = Traits::Empty();
        return value;
    }
    void Close() {
        if (IsValid()) {
            DWORD error = GetLastError();
            Traits::Close(m_value);
            SetLastError(error);
        }
        m_value = Traits::Empty();
    }

private:
    Type m_value;
};

// Kernel objects: creation calls fail with null or INVALID_HANDLE_VALUE,
// depending on the call.
struct KernelHandleTraits {
    typedef HANDLE Type;
    static HANDLE Empty() { return nullptr; }
    static bool IsValid(HANDLE handle) { return handle != nullptr && handle != INVALID_HANDLE_VALUE; }
    static void Close(HANDLE handle) { CloseHandle(handle); }
};

struct RegKeyTraits {
    typedef HKEY Type;
    static HKEY Empty() { return nullptr; }
    static bool IsValid(HKEY key) { return key != nullptr; }
    static void Close(HKEY key) { RegCloseKey(key); }
};

// FindFirstFile fails with INVALID_HANDLE_VALUE.
struct FindHandleTraits {
    typedef HANDLE Type;
    static HANDLE Empty() { return INVALID_HANDLE_VALUE; }
    static bool IsValid(HANDLE handle) { return handle != nullptr && handle != INVALID_HANDLE_VALUE; }
    static void Close(HANDLE handle) { FindClose(handle); }
};

struct ModuleTraits {
    typedef HMODULE Type;
    static HMODULE Empty() { return nullptr; }
    static bool IsValid(HMODULE module) { return module != nullptr; }
    static void Close(HMODULE module) { FreeLibrary(module); }
};

// One reference to a COM interface. Release() on the owner hands the
// reference over; the interface's own Release is called only by Close.
template <typename Interface>
struct ComTraits {
    typedef Interface* Type;
    static Interface* Empty() { return nullptr; }
    static bool IsValid(Interface* object) { return object != nullptr; }
    static void Close(Interface* object) { object->Release(); }
};

typedef ScopedObject<KernelHandleTraits> ScopedHandle;
typedef ScopedObject<RegKeyTraits> ScopedRegKey;
typedef ScopedObject<FindHandleTraits> ScopedFindHandle;
typedef ScopedObject<ModuleTraits> ScopedModule;
template <typename Interface>
using ScopedComPtr = ScopedObject<ComTraits<Interface> >;

// A critical section that lives exactly as long as its owner.
class CriticalSection {
public:
    CriticalSection() { InitializeCriticalSection(&m_section); }
    ~CriticalSection() { DeleteCriticalSection(&m_section); }
    CriticalSection(const CriticalSection&) = delete;
    CriticalSection& operator=(const CriticalSection&) = delete;
    CRITICAL_SECTION& Get() { return m_section; }

private:
    CRITICAL_SECTION m_section;
};

// Holds a critical section from construction to the end of the scope, so no
// return path can leave it entered.
class ScopedLock {
public:
    explicit ScopedLock(CRITICAL_SECTION& section) : m_section(section) { EnterCriticalSection(&m_section); }
    explicit ScopedLock(CriticalSection& section) : m_section(section.Get()) { EnterCriticalSection(&m_section); }
    ~ScopedLock() { LeaveCriticalSection(&m_section); }
    ScopedLock(const ScopedLock&) = delete;
    ScopedLock& operator=(const ScopedLock&) = delete;

private:
    CRITICAL_SECTION& m_section;
};
