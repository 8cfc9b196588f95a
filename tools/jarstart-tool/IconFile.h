#pragma once
// An .ico file taken apart into the resources an executable's icon is made
// of: one RT_ICON per image and the RT_GROUP_ICON directory naming them.
#include <string>
#include <vector>

#include "tools/jarstart-tool/Resources.h"

struct IconImage {
    unsigned char width = 0;   // 0 means 256
    unsigned char height = 0;
    unsigned char colourCount = 0;
    unsigned short planes = 0;
    unsigned short bitCount = 0;
    std::string bytes;         // the image as stored: a DIB without file header, or a PNG
};

// False with a one-line message when bytes are not an icon file whose
// directory and images lie wholly inside it.
bool ParseIconFile(const std::string& bytes, std::vector<IconImage>* images, std::string* error);

// The resource id of the icon group the tool writes; its images get the ids
// 1..n.
const unsigned short ICON_GROUP_ID = 1;

// The RT_ICON items (ids 1..n) and the RT_GROUP_ICON item for images.
std::vector<ResourceItem> IconResources(const std::vector<IconImage>& images, unsigned short language);

// What show says of an executable's icon: the images of its first icon
// group (the one Explorer shows), "16x16 32-bit, 256x256 PNG"; "none"
// without a group; "damaged" for a group whose directory is cut short.
std::string DescribeIcon(const std::vector<ResourceItem>& resources);
