#pragma once
// Reading the headers of a Windows executable from its bytes, without
// loading it: whether it is one at all, and what the launcher's checks need.
#include <cstdint>
#include <string>
#include <vector>

#include "tools/jarstart-tool/Resources.h"

struct PeHeaders {
    unsigned machine = 0;    // IMAGE_FILE_MACHINE_I386 = 0x14c
    unsigned magic = 0;      // 0x10b for PE32, 0x20b for PE32+
    unsigned subsystem = 0;  // 2 GUI, 3 console
};

// False when bytes are not a PE image (no MZ header, no PE signature, or
// headers that run past the end).
bool ReadPeHeaders(const std::string& bytes, PeHeaders* headers);

// The DLL names of the import table, as stored. False when the image is not
// a PE or its import table points outside the file.
bool ReadImportedDlls(const std::string& bytes, std::vector<std::string>* dlls);

// False when the resource tree is damaged: it lies outside the file, an
// entry or a name runs past it, it has other than three levels (types,
// names, languages), a directory or data entry is reached twice (shared
// parts would multiply the tree), the entries together need more bytes than
// the tree has, or a resource's data lies outside the file. An image
// without resources passes. The system's loader trusts all of this, and
// reads out of bounds or endlessly when it is wrong.
bool CheckResources(const std::string& bytes);

// Every resource of an image that passes CheckResources, in the tree's order
// (types, then names, then languages). False when the tree is damaged.
bool ReadResources(const std::string& bytes, std::vector<ResourceItem>* items);

// One row of the section table.
struct PeSection {
    std::string name;  // the 8 bytes as stored, trailing NULs removed
    std::uint32_t virtualSize = 0, virtualAddress = 0, rawSize = 0, rawPointer = 0, characteristics = 0;
};

// Where the parts of the headers a writer changes lie in the file.
struct PeLayout {
    PeHeaders headers;
    size_t fileHeader = 0;        // just past "PE\0\0"
    size_t optionalHeader = 0;
    size_t sectionTable = 0;
    size_t directories = 0;       // the first data directory entry
    unsigned directoryCount = 0;  // entries that lie inside the optional header
    std::vector<PeSection> sections;
};

// False when bytes are not a PE image (as ReadPeHeaders).
bool ReadPeLayout(const std::string& bytes, PeLayout* layout);
