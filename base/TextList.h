#pragma once
// A growing list of zero-terminated texts, each an owned copy: the words of
// a command line, the options handed to the VM. Char is char (ANSI) or
// wchar_t (the application's arguments, as Windows holds them).
#include <new>

template <typename Char>
class TextListOf {
public:
    TextListOf() {}
    ~TextListOf() { Clear(); }
    TextListOf(const TextListOf&) = delete;
    TextListOf& operator=(const TextListOf&) = delete;

    int Count() const { return m_count; }
    const Char* operator[](int index) const { return m_items[index]; }

    // Appends a copy of the length characters at text. False when out of
    // memory; the list is then unchanged.
    bool Add(const Char* text, int length) {
        if (m_count == m_capacity) {
            int capacity = m_capacity ? 2 * m_capacity : 8;
            Char** items = new (std::nothrow) Char*[capacity];
            if (!items) return false;
            for (int i = 0; i < m_count; ++i) items[i] = m_items[i];
            delete[] m_items;
            m_items = items;
            m_capacity = capacity;
        }
        Char* copy = new (std::nothrow) Char[length + 1];
        if (!copy) return false;
        for (int i = 0; i < length; ++i) copy[i] = text[i];
        copy[length] = 0;
        m_items[m_count++] = copy;
        return true;
    }
    bool Add(const Char* text) { return Add(text ? text : Empty(), Length(text)); }

    void Clear() {
        for (int i = 0; i < m_count; ++i) delete[] m_items[i];
        delete[] m_items;
        m_items = nullptr;
        m_count = m_capacity = 0;
    }

    static const Char* Empty() {
        static const Char empty[1] = {0};
        return empty;
    }
    static int Length(const Char* text) {
        int length = 0;
        while (text && text[length]) ++length;
        return length;
    }

private:
    Char** m_items = nullptr;
    int m_count = 0;
    int m_capacity = 0;
};

typedef TextListOf<char> TextList;
typedef TextListOf<wchar_t> WideTextList;
