#pragma once
// What the companion tool reads of a launcher executable: all its resources,
// the launcher properties and the splash image, as the launcher would see them.
#include <map>
#include <string>
#include <vector>

#include "base/PropertyIds.h"
#include "tools/jarstart-tool/Resources.h"

// A string id n lives in block n / 16 + 1: ids 96..111 in block 7.
const int PROPERTY_BLOCK_ID = kFirstPropertyId / 16 + 1;
static_assert(kLastPropertyId / 16 + 1 == PROPERTY_BLOCK_ID, "every property is in one string block");

// The marker of the unconfigured launcher: RCDATA named "EXAMPLE".
bool IsExampleMarker(const ResourceItem& item);

struct LauncherImage {
    std::string bytes;  // the file as read
    std::vector<ResourceItem> resources;
    // The 16 strings of the property block as the resource loader picks it
    // (LANG_NEUTRAL first); all empty when the image has none.
    std::vector<std::u16string> propertyBlock;
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

// The value of property id (96..111) from the block, as UTF-8; "" when absent.
std::string PropertyValue(const LauncherImage& image, int id);
