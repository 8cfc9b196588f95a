#pragma once
// The resources of an executable as plain data, the same on every system the
// tool builds for: what the resource tree reader gives and the writer takes.
#include <cstdint>
#include <string>

// A resource type or name: a number, or a text (UTF-16, as the tree stores it).
struct ResourceId {
    bool isNumber = true;
    std::uint16_t number = 0;
    std::u16string text;

    static ResourceId Number(std::uint16_t n) {
        ResourceId id;
        id.number = n;
        return id;
    }
    static ResourceId Text(const std::u16string& t) {
        ResourceId id;
        id.isNumber = false;
        id.text = t;
        return id;
    }
    bool Is(std::uint16_t n) const { return isNumber && number == n; }
    bool operator==(const ResourceId& other) const {
        return isNumber == other.isNumber && (isNumber ? number == other.number : text == other.text);
    }
    bool operator!=(const ResourceId& other) const { return !(*this == other); }
    // The order of a resource directory: texts before numbers, texts by code
    // unit, numbers ascending; the loader searches the entries in this order.
    bool operator<(const ResourceId& other) const {
        if (isNumber != other.isNumber) return !isNumber;
        return isNumber ? number < other.number : text < other.text;
    }
};

struct ResourceItem {
    ResourceId type;
    ResourceId name;
    std::uint16_t language = 0;
    std::string bytes;
};
