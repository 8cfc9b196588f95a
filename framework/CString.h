#pragma once
// The 8-bit string class the launcher uses: text in the ANSI code page,
// always zero-terminated, converting implicitly to const char*.
#include "framework/Text.h"

class CString {
public:
    CString() {}
    CString(const char* text) : m_text(text ? text : "") {}
    CString(const char* text, int length) : m_text(text, text + length) {}
    CString(const Text& text) : m_text(text) {}
    // Any other string type with c_str() and size(), for callers outside
    // the launcher that hold their text in one.
    template <class S, class = decltype(static_cast<const S*>(nullptr)->c_str()),
              class = decltype(static_cast<const S*>(nullptr)->size())>
    CString(const S& text) : m_text(text.c_str(), text.size()) {}

    operator const char*() const { return m_text.c_str(); }
    const char* GetString() const { return m_text.c_str(); }
    int GetLength() const { return static_cast<int>(m_text.size()); }
    bool IsEmpty() const { return m_text.empty(); }
    void Empty() { m_text.clear(); }

    CString& operator=(const char* text) { m_text = text ? text : ""; return *this; }
    CString& operator+=(const char* text) { if (text) m_text += text; return *this; }
    CString& operator+=(const CString& other) { m_text += other.m_text; return *this; }
    CString& operator+=(char c) { m_text += c; return *this; }

    // Room for minLength characters and the terminating zero. The text keeps
    // its old content; ReleaseBuffer() makes the length that of the
    // zero-terminated text written into the buffer. Null for a negative length.
    char* GetBuffer(int minLength);
    void ReleaseBuffer();

    int Compare(const char* other) const;
    friend bool operator==(const CString& a, const char* b) { return a.Compare(b) == 0; }
    friend bool operator==(const CString& a, const CString& b) { return a.m_text == b.m_text; }
    friend bool operator!=(const CString& a, const char* b) { return a.Compare(b) != 0; }
    friend bool operator!=(const CString& a, const CString& b) { return a.m_text != b.m_text; }

    friend CString operator+(const CString& a, const char* b) { CString r(a); r += b; return r; }
    friend CString operator+(const CString& a, const CString& b) { CString r(a); r += b; return r; }
    friend CString operator+(const char* a, const CString& b) { CString r(a); r += b; return r; }

private:
    Text m_text;
};
