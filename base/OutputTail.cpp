#include "base/OutputTail.h"
#include "framework/Text.h"

OutputTail::OutputTail(size_t capacity) : m_capacity(capacity), m_dropped(false) {
    InitializeCriticalSection(&m_lock);
}

void OutputTail::Append(const char* chunk) {
    if (!chunk) return;
    EnterCriticalSection(&m_lock);
    m_text += chunk;
    // Trimmed in halves of the capacity rather than per chunk, so that a
    // chatty application costs a copy now and then, not on every chunk.
    if (m_text.size() > 2 * m_capacity) {
        m_text.erase(0, m_text.size() - m_capacity);
        m_dropped = true;
    }
    LeaveCriticalSection(&m_lock);
}

Text OutputTail::LastLines() const {
    EnterCriticalSection(&m_lock);
    Text text = m_text;
    bool dropped = m_dropped;
    LeaveCriticalSection(&m_lock);
    if (text.size() > m_capacity) {
        text.erase(0, text.size() - m_capacity);
        dropped = true;
    }
    if (dropped) {
        size_t lineEnd = text.find('\n');
        if (lineEnd != Text::npos) text.erase(0, lineEnd + 1);
    }
    return text;
}
