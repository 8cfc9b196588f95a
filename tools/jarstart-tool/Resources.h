#pragma once
// Every resource of an executable, read into memory and written back: the
// way to remove resources that works under Wine too (deleting one through
// UpdateResourceA with no data reports success there but keeps it).
#include <windows.h>

#include <string>
#include <vector>

// A resource type or name: a number (MAKEINTRESOURCE) or a text.
struct ResourceId {
    bool isNumber = true;
    WORD number = 0;
    std::string text;

    static ResourceId FromParam(LPCSTR param);
    static ResourceId Number(WORD n);
    LPCSTR AsParam() const { return isNumber ? MAKEINTRESOURCEA(number) : text.c_str(); }
    bool Is(WORD n) const { return isNumber && number == n; }
};

struct ResourceItem {
    ResourceId type;
    ResourceId name;
    WORD language = 0;
    std::string bytes;
};

// All resources of a module loaded as a data file, in enumeration order.
// An image without resources gives an empty list. False with the error code
// when a resource cannot be read.
bool ReadAllResources(HMODULE module, std::vector<ResourceItem>* items, DWORD* error);

// Replaces the whole resource section of the file with items. False with a
// one-line message (naming the failing call) on failure; the file may then
// be half-written, so callers write to a temporary copy.
bool ReplaceAllResources(const std::string& file, const std::vector<ResourceItem>& items, std::string* error);
