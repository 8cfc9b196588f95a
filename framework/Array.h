#pragma once
// A growable array: the subset of the standard vector the launcher uses,
// with the same names and meanings, on the C heap. Running out of memory
// ends the process (framework/Memory.h) instead of throwing.
#include <cstddef>
#include <new>

#include "framework/Memory.h"

template <class T>
class Array {
public:
    Array() : m_items(nullptr), m_size(0), m_capacity(0) {}
    // count value-initialised items.
    explicit Array(size_t count) : Array() { resize(count); }
    Array(const T* first, const T* last) : Array() { assign(first, last); }
    Array(const Array& other) : Array() { assign(other.begin(), other.end()); }
    Array(Array&& other) : Array() { swap(other); }
    ~Array() {
        clear();
        FreeBlock(m_items);
    }
    Array& operator=(const Array& other) {
        if (this != &other) assign(other.begin(), other.end());
        return *this;
    }
    Array& operator=(Array&& other) {
        Array taken(static_cast<Array&&>(other));
        swap(taken);
        return *this;
    }
    void swap(Array& other) {
        SwapValues(m_items, other.m_items);
        SwapValues(m_size, other.m_size);
        SwapValues(m_capacity, other.m_capacity);
    }

    size_t size() const { return m_size; }
    bool empty() const { return m_size == 0; }
    T* data() { return m_items; }
    const T* data() const { return m_items; }
    T& operator[](size_t i) { return m_items[i]; }
    const T& operator[](size_t i) const { return m_items[i]; }
    T& front() { return m_items[0]; }
    const T& front() const { return m_items[0]; }
    T& back() { return m_items[m_size - 1]; }
    const T& back() const { return m_items[m_size - 1]; }
    T* begin() { return m_items; }
    T* end() { return m_items + m_size; }
    const T* begin() const { return m_items; }
    const T* end() const { return m_items + m_size; }

    void push_back(const T& item) {
        if (m_size == m_capacity) {
            // item may live in this array: copied before the block moves.
            T copy(item);
            Grow(m_size + 1);
            new (m_items + m_size) T(static_cast<T&&>(copy));
        } else {
            new (m_items + m_size) T(item);
        }
        ++m_size;
    }
    void push_back(T&& item) {
        if (m_size == m_capacity) {
            T moved(static_cast<T&&>(item));
            Grow(m_size + 1);
            new (m_items + m_size) T(static_cast<T&&>(moved));
        } else {
            new (m_items + m_size) T(static_cast<T&&>(item));
        }
        ++m_size;
    }
    void pop_back() { m_items[--m_size].~T(); }
    void clear() {
        while (m_size > 0) pop_back();
    }
    void resize(size_t count) {
        while (m_size > count) pop_back();
        if (count > m_capacity) Grow(count);
        for (; m_size < count; ++m_size) new (m_items + m_size) T();
    }
    void reserve(size_t capacity) {
        if (capacity > m_capacity) Grow(capacity);
    }
    void assign(const T* first, const T* last) {
        clear();
        reserve(static_cast<size_t>(last - first));
        for (; first != last; ++first) new (m_items + m_size++) T(*first);
    }
    // Removes the item at position; returns where the next one now is.
    T* erase(T* position) {
        for (T* p = position; p + 1 != end(); ++p) *p = static_cast<T&&>(p[1]);
        pop_back();
        return position;
    }

private:
    // Moves the items into a block for at least capacity items; items of
    // any type may be moved, so the block is never resized in place.
    void Grow(size_t capacity) {
        size_t grown = m_capacity + m_capacity / 2;
        if (grown < capacity) grown = capacity;
        if (grown < 4) grown = 4;
        T* items = static_cast<T*>(ResizeBlockOrEnd(nullptr, grown * sizeof(T)));
        for (size_t i = 0; i < m_size; ++i) {
            new (items + i) T(static_cast<T&&>(m_items[i]));
            m_items[i].~T();
        }
        FreeBlock(m_items);
        m_items = items;
        m_capacity = grown;
    }

    T* m_items;
    size_t m_size;
    size_t m_capacity;
};
