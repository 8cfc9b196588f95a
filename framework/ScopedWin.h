#pragma once
// Owners for Windows handles: each closes its handle exactly once and converts
// to the raw handle, so it never stands in the way of an API call. Closing
// keeps GetLastError intact, so an error captured after a failed call
// survives the cleanup.
#include <windows.h>

// A kernel handle that is empty when null or INVALID_HANDLE_VALUE.
class ScopedHandle {
public:
    ScopedHandle() : m_handle(nullptr) {}
    explicit ScopedHandle(HANDLE handle) : m_handle(handle) {}
    ~ScopedHandle() { Close(); }
    ScopedHandle(ScopedHandle&& other) : m_handle(other.Release()) {}
    ScopedHandle& operator=(ScopedHandle&& other) { if (this != &other) { Close(); m_handle = other.Release(); } return *this; }
    ScopedHandle(const ScopedHandle&) = delete;
    ScopedHandle& operator=(const ScopedHandle&) = delete;

    operator HANDLE() const { return m_handle; }
    HANDLE Get() const { return m_handle; }
    bool IsValid() const { return m_handle != nullptr && m_handle != INVALID_HANDLE_VALUE; }
    HANDLE* Receive() { Close(); return &m_handle; }
    HANDLE Release() { HANDLE h = m_handle; m_handle = nullptr; return h; }
    void Close() {
        if (IsValid()) {
            DWORD error = GetLastError();
            CloseHandle(m_handle);
            SetLastError(error);
        }
        m_handle = nullptr;
    }

private:
    HANDLE m_handle;
};

class ScopedRegKey {
public:
    ScopedRegKey() : m_key(nullptr) {}
    ~ScopedRegKey() { if (m_key) { DWORD e = GetLastError(); RegCloseKey(m_key); SetLastError(e); } }
    ScopedRegKey(const ScopedRegKey&) = delete;
    ScopedRegKey& operator=(const ScopedRegKey&) = delete;
    operator HKEY() const { return m_key; }
    HKEY* Receive() { return &m_key; }

private:
    HKEY m_key;
};

class ScopedFindHandle {
public:
    explicit ScopedFindHandle(HANDLE handle) : m_handle(handle) {}
    ~ScopedFindHandle() { if (IsValid()) FindClose(m_handle); }
    ScopedFindHandle(const ScopedFindHandle&) = delete;
    ScopedFindHandle& operator=(const ScopedFindHandle&) = delete;
    operator HANDLE() const { return m_handle; }
    bool IsValid() const { return m_handle != INVALID_HANDLE_VALUE && m_handle != nullptr; }

private:
    HANDLE m_handle;
};

class ScopedModule {
public:
    explicit ScopedModule(HMODULE module) : m_module(module) {}
    ~ScopedModule() { if (m_module) FreeLibrary(m_module); }
    ScopedModule(const ScopedModule&) = delete;
    ScopedModule& operator=(const ScopedModule&) = delete;
    operator HMODULE() const { return m_module; }

private:
    HMODULE m_module;
};
