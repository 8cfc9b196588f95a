#include "framework/CString.h"

#include <cstring>

char* CString::GetBuffer(int minLength) {
    if (minLength < 0) return nullptr;
    // Running out of memory ends the process (framework/Memory.h).
    if (static_cast<size_t>(minLength) > m_text.size()) m_text.resize(static_cast<size_t>(minLength));
    return m_text.data();
}

void CString::ReleaseBuffer() {
    m_text.resize(std::strlen(m_text.c_str()));
}

int CString::Compare(const char* other) const {
    return std::strcmp(m_text.c_str(), other ? other : "");
}
