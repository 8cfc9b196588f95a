#pragma once
// Writing an executable's resources without the system's help, so that the
// tool gives the same bytes on every system it builds for: the resources are
// laid out as a new section placed last in the image, and everything that
// depends on it is brought up to date.
#include <cstdint>
#include <string>
#include <vector>

#include "tools/jarstart-tool/Resources.h"

// The resource section's bytes for items when it starts at rva: the three
// directory levels (each sorted as the loader searches them), the data
// entries, the names, then the data, each on an 8-byte boundary. Of items
// with one type, name and language, the last wins. No time stamps, no
// padding but zeros.
std::string EncodeResourceSection(const std::vector<ResourceItem>& items, std::uint32_t rva);

// The checksum of an image as the system computes it, the 4 bytes at
// checksumOffset counting as zero.
std::uint32_t PeChecksum(const std::string& image, size_t checksumOffset);

struct ResourceWriteResult {
    std::string image;            // the new executable
    bool removedSignature = false;  // the input had an Authenticode signature, now gone
};

// image with its resources replaced by items. The section holding the
// resources is rewritten in place when it is the image's last one, else the
// new one is appended and the old one stays as dead bytes (later sections
// may refer to their own addresses, so nothing moves). Updates the section
// table, SizeOfImage, the size of initialised data, the resource directory
// entry and the checksum; a signature no longer matches and is removed;
// data after the last section (other than the signature) is kept after the
// new one. False with a reason to follow the input's name ("has no room in
// its headers for another section") when the image cannot take it.
bool WriteResources(const std::string& image, const std::vector<ResourceItem>& items, ResourceWriteResult* result,
                    std::string* error);
