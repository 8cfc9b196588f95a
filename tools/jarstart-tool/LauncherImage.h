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

struct LauncherImage {
    std::vector<ResourceItem> resources;
    // The 16 strings of the property block as the resource loader picks it
    // (LANG_NEUTRAL first); all empty when the image has none.
    std::vector<std::u16string> propertyBlock;
    bool hasSplash = false;
    std::string splash;
    unsigned subsystem = 0;  // the PE header's: 2 GUI launcher, 3 console launcher
};

// False with a one-line message naming the file when it is missing,
// unreadable, not a PE executable, or its resources cannot be read.
bool ReadLauncherImage(const std::string& path, LauncherImage* image, std::string* error);

// The ANSI value of property id (96..111) from the block; "" when absent.
std::string PropertyValue(const LauncherImage& image, int id);
