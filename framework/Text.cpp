#include "framework/Text.h"

#include "framework/Memory.h"

Text::~Text() {
    FreeBlock(m_data);
}

Text& Text::operator=(const Text& other) {
    if (this != &other) assign(other.m_data, other.m_size);
    return *this;
}

void Text::swap(Text& other) {
    SwapValues(m_data, other.m_data);
    SwapValues(m_size, other.m_size);
    SwapValues(m_capacity, other.m_capacity);
}

char* Text::EmptyBuffer() {
    // Writable for callers that write the terminating zero of an empty text.
    static char empty[1];
    empty[0] = '\0';
    return empty;
}

void Text::reserve(size_t capacity) {
    if (capacity <= m_capacity && m_data) return;
    // Grown by half again, so that appending char by char stays linear.
    size_t grown = m_capacity + m_capacity / 2;
    if (grown < capacity) grown = capacity;
    if (grown < 15) grown = 15;
    m_data = static_cast<char*>(ResizeBlockOrEnd(m_data, grown + 1));
    if (m_capacity == 0 && m_size == 0) m_data[0] = '\0';
    m_capacity = grown;
}

void Text::resize(size_t count, char c) {
    if (count > m_size) {
        reserve(count);
        std::memset(m_data + m_size, c, count - m_size);
    }
    m_size = count;
    if (m_data) m_data[m_size] = '\0';
}

Text& Text::assign(const char* text, size_t length) {
    if (text && text >= c_str() && text <= c_str() + m_size) {
        // A piece of this text itself: kept aside while the block changes.
        Text copy(text, length);
        swap(copy);
        return *this;
    }
    m_size = 0;
    if (m_data) m_data[0] = '\0';
    return append(text, length);
}

Text& Text::append(const char* text, size_t length) {
    if (!text || length == 0) return *this;
    if (m_data && text >= m_data && text < m_data + m_capacity + 1) {
        Text copy(text, length);
        return append(copy.m_data, copy.m_size);
    }
    reserve(m_size + length);
    std::memcpy(m_data + m_size, text, length);
    m_size += length;
    m_data[m_size] = '\0';
    return *this;
}

Text& Text::erase(size_t position, size_t count) {
    if (position >= m_size) return *this;
    if (count > m_size - position) count = m_size - position;
    std::memmove(m_data + position, m_data + position + count, m_size - position - count + 1);
    m_size -= count;
    return *this;
}

size_t Text::find(char c, size_t from) const {
    for (size_t i = from; i < m_size; ++i)
        if (m_data[i] == c) return i;
    return npos;
}

size_t Text::find(const char* text, size_t from) const {
    size_t length = std::strlen(text);
    if (from > m_size || length > m_size - from) return npos;
    for (size_t i = from; i + length <= m_size; ++i)
        if (std::memcmp(m_data + i, text, length) == 0) return i;
    return npos;
}

size_t Text::find_last_of(char c, size_t from) const {
    if (m_size == 0) return npos;
    size_t i = from < m_size ? from : m_size - 1;
    for (;; --i) {
        if (m_data[i] == c) return i;
        if (i == 0) return npos;
    }
}

Text Text::substr(size_t position, size_t count) const {
    if (position > m_size) position = m_size;
    if (count > m_size - position) count = m_size - position;
    return Text(c_str() + position, count);
}

int Text::compare(size_t position, size_t count, const Text& other) const {
    if (position > m_size) position = m_size;
    if (count > m_size - position) count = m_size - position;
    size_t shorter = count < other.m_size ? count : other.m_size;
    int result = std::memcmp(c_str() + position, other.c_str(), shorter);
    if (result != 0) return result;
    return count < other.m_size ? -1 : (count > other.m_size ? 1 : 0);
}

int Text::compare(const char* other) const {
    Text right(other);
    return compare(0, m_size, right);
}

bool operator<(const Text& a, const Text& b) {
    return a.compare(0, a.m_size, b) < 0;
}

Text ToText(unsigned long long value) {
    char digits[24];
    size_t i = sizeof(digits);
    do {
        digits[--i] = static_cast<char>('0' + value % 10);
        value /= 10;
    } while (value != 0);
    return Text(digits + i, sizeof(digits) - i);
}
