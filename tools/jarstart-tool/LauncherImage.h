#pragma once
// What the companion tool reads of a launcher executable: all its resources,
// the launcher properties and the splash image, as the launcher would see them.
#include <map>
#include <string>
#include <vector>

#include "base/PropertyIds.h"
#include "tools/jarstart-tool/Resources.h"

// A string id n lives in block n / 16 + 1: ids 96..111 in block 7, the
// properties from 112 on in block 8.
const int FIRST_PROPERTY_BLOCK_ID = kFirstPropertyId / 16 + 1;
const int LAST_PROPERTY_BLOCK_ID = kLastPropertyId / 16 + 1;
// The first block's strings start at the first property.
static_assert(kFirstPropertyId % 16 == 0, "the properties start a string block");
inline bool IsPropertyBlockId(int blockId) {
    return blockId >= FIRST_PROPERTY_BLOCK_ID && blockId <= LAST_PROPERTY_BLOCK_ID;
}

// The marker of the unconfigured launcher: RCDATA named "EXAMPLE".
bool IsExampleMarker(const ResourceItem& item);

struct LauncherImage {
    std::string bytes;  // the file as read
    std::vector<ResourceItem> resources;
    // The strings of the property blocks, 16 a block from id kFirstPropertyId
    // on, each block as the resource loader picks it (LANG_NEUTRAL first);
    // empty strings where the image has no block.
    std::vector<std::u16string> propertyStrings;
    bool hasSplash = false;
    std::string splash;
    unsigned subsystem = 0;  // the PE header's: 2 GUI launcher, 3 console launcher
    unsigned machine = 0;    // the PE header's: 0x14c x86, 0x8664 x64, 0xAA64 ARM64
    // The size of the certificate table (an Authenticode signature); 0 when
    // the file is not signed.
    unsigned long signatureBytes = 0;
    // jarstart.exe as built: its properties are the example's (RCDATA
    // "EXAMPLE" present).
    bool isExample = false;
};

// False with a one-line message naming the file when it is missing,
// unreadable, not a PE executable, or its resources are damaged.
bool ReadLauncherImage(const std::string& path, LauncherImage* image, std::string* error);

// The resource of (type, id) the loader's FindResource picks for a program
// that asks in no particular language: the neutral one, else US English,
// else English, else the first. Null when there is none.
const ResourceItem* FindAsLoaderDoes(const std::vector<ResourceItem>& items, int type, int id);

// The value of property id (kFirstPropertyId..kLastPropertyId), as UTF-8; "" when absent.
std::string PropertyValue(const LauncherImage& image, int id);
