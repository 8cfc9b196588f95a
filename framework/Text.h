#pragma once
// A growable 8-bit string: the subset of the standard string the launcher
// uses, with the same names and meanings, on the C heap. Running out of
// memory ends the process (EndOutOfMemory) instead of throwing, so the
// launcher carries none of the C++ runtime's exception machinery.
#include <cstddef>
#include <cstring>

class Text {
public:
    static const size_t npos = static_cast<size_t>(-1);

    Text() : m_data(nullptr), m_size(0), m_capacity(0) {}
    Text(const char* text) : Text() { append(text, text ? std::strlen(text) : 0); }
    Text(const char* text, size_t length) : Text() { append(text, length); }
    Text(const char* first, const char* last) : Text() { append(first, static_cast<size_t>(last - first)); }
    Text(size_t count, char c) : Text() { resize(count, c); }
    Text(const Text& other) : Text() { append(other.m_data, other.m_size); }
    Text(Text&& other) : Text() { swap(other); }
    // Any string type with c_str() and size(), for callers outside the
    // launcher that hold their text in one.
    template <class S, class = decltype(static_cast<const S*>(nullptr)->c_str()),
              class = decltype(static_cast<const S*>(nullptr)->size())>
    Text(const S& text) : Text() { append(text.c_str(), text.size()); }
    ~Text();

    Text& operator=(const Text& other);
    Text& operator=(Text&& other) {
        Text taken(static_cast<Text&&>(other));
        swap(taken);
        return *this;
    }
    void swap(Text& other);
    Text& operator=(const char* text) { return assign(text, text ? std::strlen(text) : 0); }

    const char* c_str() const { return m_data ? m_data : ""; }
    const char* data() const { return c_str(); }
    char* data() { return m_data ? m_data : EmptyBuffer(); }
    size_t size() const { return m_size; }
    size_t length() const { return m_size; }
    bool empty() const { return m_size == 0; }
    void clear() { resize(0); }
    char& operator[](size_t i) { return data()[i]; }
    const char& operator[](size_t i) const { return c_str()[i]; }
    char& back() { return m_data[m_size - 1]; }
    const char& back() const { return m_data[m_size - 1]; }
    const char* begin() const { return c_str(); }
    const char* end() const { return c_str() + m_size; }

    void resize(size_t count, char c = '\0');
    void reserve(size_t capacity);
    Text& assign(const char* text, size_t length);
    Text& append(const char* text, size_t length);
    Text& append(const char* first, const char* last) { return append(first, static_cast<size_t>(last - first)); }
    Text& append(const char* text) { return append(text, text ? std::strlen(text) : 0); }
    Text& append(const Text& other) { return append(other.m_data, other.m_size); }
    void push_back(char c) { append(&c, 1); }
    Text& operator+=(const char* text) { return append(text); }
    Text& operator+=(const Text& other) { return append(other); }
    Text& operator+=(char c) { return append(&c, 1); }
    // Removes count characters from position on (all that remain for npos).
    Text& erase(size_t position = 0, size_t count = npos);

    size_t find(char c, size_t from = 0) const;
    size_t find(const char* text, size_t from = 0) const;
    size_t find_last_of(char c, size_t from = npos) const;
    Text substr(size_t position = 0, size_t count = npos) const;
    // As the standard string's: <0, 0, >0 for the count characters from
    // position against other.
    int compare(size_t position, size_t count, const Text& other) const;
    int compare(const char* other) const;

    friend bool operator==(const Text& a, const Text& b) {
        return a.m_size == b.m_size && std::memcmp(a.c_str(), b.c_str(), a.m_size) == 0;
    }
    friend bool operator==(const Text& a, const char* b) { return a.compare(b) == 0; }
    friend bool operator==(const char* a, const Text& b) { return b.compare(a) == 0; }
    friend bool operator!=(const Text& a, const Text& b) { return !(a == b); }
    friend bool operator!=(const Text& a, const char* b) { return !(a == b); }
    friend bool operator!=(const char* a, const Text& b) { return !(a == b); }
    friend bool operator<(const Text& a, const Text& b);

    friend Text operator+(const Text& a, const Text& b) { Text r(a); r += b; return r; }
    friend Text operator+(const Text& a, const char* b) { Text r(a); r += b; return r; }
    friend Text operator+(const char* a, const Text& b) { Text r(a); r += b; return r; }
    friend Text operator+(const Text& a, char b) { Text r(a); r += b; return r; }

private:
    static char* EmptyBuffer();

    char* m_data;  // null until the first character; then zero-terminated
    size_t m_size;
    size_t m_capacity;
};

// The decimal digits of value, as the standard library's to_string gives them.
Text ToText(unsigned long long value);
