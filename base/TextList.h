#pragma once
// A growing list of zero-terminated texts, each an owned copy: the words of
// a command line, the options handed to the VM. Char is char (ANSI) or
// wchar_t (the application's arguments, as Windows holds them).
#include <new>

#include "framework/Array.h"

template <typename Char>
class TextListOf {
public:
    TextListOf() {}
    ~TextListOf() { Clear(); }
    TextListOf(const TextListOf&) = delete;
    TextListOf& operator=(const TextListOf&) = delete;

    int Count() const { return static_cast<int>(m_items.size()); }
    const Char* operator[](int index) const { return m_items[static_cast<size_t>(index)]; }

    // Appends a copy of the length characters at text. False when out of
    // memory for the copy; the list is then unchanged.
    bool Add(const Char* text, int length) {
        Char* copy = new (std::nothrow) Char[length + 1];
        if (!copy) return false;
        for (int i = 0; i < length; ++i) copy[i] = text[i];
        copy[length] = 0;
        m_items.push_back(copy);
        return true;
    }
    bool Add(const Char* text) { return Add(text ? text : Empty(), Length(text)); }

    void Clear() {
        for (Char* item : m_items) delete[] item;
        m_items.clear();
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
    Array<Char*> m_items;
};

typedef TextListOf<char> TextList;
typedef TextListOf<wchar_t> WideTextList;
