#include "tools/jarstart-tool/IconFile.h"

namespace {
const size_t kHeaderSize = 6;     // reserved, type, count
const size_t kFileEntrySize = 16; // ICONDIRENTRY: the image found by file offset

unsigned ReadWord(const std::string& bytes, size_t at) {
    return static_cast<unsigned char>(bytes[at]) | (static_cast<unsigned char>(bytes[at + 1]) << 8);
}

unsigned long ReadDword(const std::string& bytes, size_t at) {
    return ReadWord(bytes, at) | (static_cast<unsigned long>(ReadWord(bytes, at + 2)) << 16);
}

void AppendWord(std::string* out, unsigned value) {
    out->push_back(static_cast<char>(value & 0xFF));
    out->push_back(static_cast<char>((value >> 8) & 0xFF));
}

void AppendDword(std::string* out, unsigned long value) {
    AppendWord(out, value & 0xFFFF);
    AppendWord(out, (value >> 16) & 0xFFFF);
}

// An image is either a PNG or a DIB that starts with its BITMAPINFOHEADER;
// anything else would be stored and then fail in every program showing it.
bool LooksLikeImage(const std::string& image) {
    static const char png[] = "\x89PNG\r\n\x1a\n";
    if (image.size() >= 8 && image.compare(0, 8, png, 8) == 0) return true;
    return image.size() >= 40 && ReadDword(image, 0) == 40;
}
}  // namespace

bool ParseIconFile(const std::string& bytes, std::vector<IconImage>* images, std::string* error) {
    images->clear();
    if (bytes.size() < kHeaderSize || ReadWord(bytes, 0) != 0 || ReadWord(bytes, 2) != 1) {
        *error = "not an icon file (no icon directory at its start)";
        return false;
    }
    size_t count = ReadWord(bytes, 4);
    if (count == 0) {
        *error = "the icon file holds no image";
        return false;
    }
    size_t directoryEnd = kHeaderSize + count * kFileEntrySize;
    if (directoryEnd > bytes.size()) {
        *error = "the icon file's directory of " + std::to_string(count) + " images runs past its end";
        return false;
    }
    for (size_t i = 0; i < count; ++i) {
        size_t entry = kHeaderSize + i * kFileEntrySize;
        unsigned long long size = ReadDword(bytes, entry + 8);
        unsigned long long offset = ReadDword(bytes, entry + 12);
        std::string which = "icon image " + std::to_string(i + 1);
        // 64-bit sums: a bogus size near 4 GiB must not wrap around to fit.
        if (size == 0 || offset < directoryEnd || offset + size > bytes.size()) {
            *error = which + " (" + std::to_string(size) + " bytes at offset " + std::to_string(offset) +
                     ") does not lie inside the file's " + std::to_string(bytes.size()) + " bytes";
            return false;
        }
        IconImage image;
        image.width = static_cast<unsigned char>(bytes[entry]);
        image.height = static_cast<unsigned char>(bytes[entry + 1]);
        image.colourCount = static_cast<unsigned char>(bytes[entry + 2]);
        image.planes = static_cast<unsigned short>(ReadWord(bytes, entry + 4));
        image.bitCount = static_cast<unsigned short>(ReadWord(bytes, entry + 6));
        image.bytes = bytes.substr(static_cast<size_t>(offset), static_cast<size_t>(size));
        if (!LooksLikeImage(image.bytes)) {
            *error = which + " is neither a bitmap nor a PNG image";
            return false;
        }
        images->push_back(image);
    }
    return true;
}

std::vector<ResourceItem> IconResources(const std::vector<IconImage>& images, unsigned short language) {
    std::vector<ResourceItem> items;
    std::string group;
    AppendWord(&group, 0);
    AppendWord(&group, 1);
    AppendWord(&group, static_cast<unsigned>(images.size()));
    for (size_t i = 0; i < images.size(); ++i) {
        const IconImage& image = images[i];
        unsigned short id = static_cast<unsigned short>(i + 1);
        group.push_back(static_cast<char>(image.width));
        group.push_back(static_cast<char>(image.height));
        group.push_back(static_cast<char>(image.colourCount));
        group.push_back(0);
        AppendWord(&group, image.planes);
        AppendWord(&group, image.bitCount);
        AppendDword(&group, static_cast<unsigned long>(image.bytes.size()));
        AppendWord(&group, id);

        ResourceItem icon;
        icon.type = ResourceId::Number(3);  // RT_ICON
        icon.name = ResourceId::Number(id);
        icon.language = language;
        icon.bytes = image.bytes;
        items.push_back(icon);
    }
    ResourceItem directory;
    directory.type = ResourceId::Number(14);  // RT_GROUP_ICON
    directory.name = ResourceId::Number(ICON_GROUP_ID);
    directory.language = language;
    directory.bytes = group;
    items.push_back(directory);
    return items;
}

std::string DescribeIcon(const std::vector<ResourceItem>& resources) {
    // Explorer shows the group that comes first in the resource tree's order.
    const ResourceItem* group = nullptr;
    for (const ResourceItem& item : resources)
        if (item.type.Is(14) && (!group || item.name < group->name)) group = &item;
    if (!group) return "none";
    const std::string& b = group->bytes;
    if (b.size() < 6) return "damaged";
    unsigned count = ReadWord(b, 4);
    if (b.size() < 6 + 14 * static_cast<size_t>(count)) return "damaged";
    std::string text;
    for (unsigned i = 0; i < count; ++i) {
        size_t entry = 6 + 14 * static_cast<size_t>(i);
        unsigned width = static_cast<unsigned char>(b[entry]), height = static_cast<unsigned char>(b[entry + 1]);
        unsigned bits = ReadWord(b, entry + 6), id = ReadWord(b, entry + 12);
        bool png = false;
        for (const ResourceItem& item : resources)
            if (item.type.Is(3) && item.name.Is(static_cast<std::uint16_t>(id)))
                png = item.bytes.compare(0, 8, "\x89PNG\r\n\x1A\n") == 0;
        text += (text.empty() ? "" : ", ") + std::to_string(width ? width : 256) + "x" +
                std::to_string(height ? height : 256) + (png ? " PNG" : " " + std::to_string(bits) + "-bit");
    }
    return text.empty() ? "none" : text;
}
