#include "framework/CString.h"

#include <cstring>
#include <new>

char* CString::GetBuffer(int minLength) {
    if (minLength < 0) return nullptr;
    try {
        if (static_cast<size_t>(minLength) > m_text.size()) m_text.resize(static_cast<size_t>(minLength));
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
    return &m_text[0];
}

void CString::ReleaseBuffer() {
    m_text.resize(std::strlen(m_text.c_str()));
}

int CString::Compare(const char* other) const {
    return std::strcmp(m_text.c_str(), other ? other : "");
}
