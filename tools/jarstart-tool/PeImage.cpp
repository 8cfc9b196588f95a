#include "tools/jarstart-tool/PeImage.h"

#include <set>

namespace {
bool ReadU16(const std::string& bytes, size_t offset, unsigned* value) {
    if (offset > bytes.size() || bytes.size() - offset < 2) return false;
    *value = static_cast<unsigned char>(bytes[offset]) | (static_cast<unsigned char>(bytes[offset + 1]) << 8);
    return true;
}

bool ReadU32(const std::string& bytes, size_t offset, unsigned* value) {
    unsigned low = 0, high = 0;
    if (!ReadU16(bytes, offset, &low) || !ReadU16(bytes, offset + 2, &high)) return false;
    *value = low | (high << 16);
    return true;
}

struct Layout {
    PeHeaders headers;
    size_t optionalHeader = 0;
    unsigned optionalSize = 0;
    unsigned sections = 0;
    size_t sectionTable = 0;
};

bool ReadLayout(const std::string& bytes, Layout* layout) {
    if (bytes.size() < 64 || bytes[0] != 'M' || bytes[1] != 'Z') return false;
    unsigned peOffset = 0;
    if (!ReadU32(bytes, 0x3C, &peOffset)) return false;
    if (peOffset > bytes.size() || bytes.size() - peOffset < 24) return false;
    if (bytes.compare(peOffset, 4, std::string("PE\0\0", 4)) != 0) return false;
    size_t fileHeader = peOffset + 4;
    if (!ReadU16(bytes, fileHeader, &layout->headers.machine)) return false;
    if (!ReadU16(bytes, fileHeader + 2, &layout->sections)) return false;
    if (!ReadU16(bytes, fileHeader + 16, &layout->optionalSize)) return false;
    layout->optionalHeader = fileHeader + 20;
    layout->sectionTable = layout->optionalHeader + layout->optionalSize;
    if (layout->optionalSize < 70) return false;
    if (!ReadU16(bytes, layout->optionalHeader, &layout->headers.magic)) return false;
    if (layout->headers.magic != 0x10b && layout->headers.magic != 0x20b) return false;
    if (!ReadU16(bytes, layout->optionalHeader + 68, &layout->headers.subsystem)) return false;
    return layout->sectionTable + 40ull * layout->sections <= bytes.size();
}

// The file offset of a relative virtual address, through the section table.
bool RvaToOffset(const std::string& bytes, const Layout& layout, unsigned rva, size_t* offset) {
    for (unsigned i = 0; i < layout.sections; ++i) {
        size_t header = layout.sectionTable + 40 * i;
        unsigned virtualSize = 0, virtualAddress = 0, rawSize = 0, rawPointer = 0;
        ReadU32(bytes, header + 8, &virtualSize);
        ReadU32(bytes, header + 12, &virtualAddress);
        ReadU32(bytes, header + 16, &rawSize);
        ReadU32(bytes, header + 20, &rawPointer);
        unsigned extent = virtualSize > rawSize ? virtualSize : rawSize;
        if (rva >= virtualAddress && rva - virtualAddress < extent) {
            if (rva - virtualAddress >= rawSize) return false;  // in the zero-filled tail
            // Added in 64 bits: where size_t has 32, a raw pointer near 4 GiB
            // would wrap around to an offset inside the file.
            unsigned long long at = static_cast<unsigned long long>(rawPointer) + (rva - virtualAddress);
            if (at >= bytes.size()) return false;
            *offset = static_cast<size_t>(at);
            return true;
        }
    }
    return false;
}
// The file range [offset, offset + size) of an RVA range that lies wholly in
// one section's file data.
bool RvaRangeToOffset(const std::string& bytes, const Layout& layout, unsigned rva, unsigned size, size_t* offset) {
    if (!RvaToOffset(bytes, layout, rva, offset)) return false;
    if (size == 0) return true;
    size_t last = 0;
    unsigned long long end = static_cast<unsigned long long>(rva) + size - 1;
    if (end > 0xFFFFFFFFull || !RvaToOffset(bytes, layout, static_cast<unsigned>(end), &last)) return false;
    return last >= *offset && last - *offset == size - 1;
}

// The resource tree as the loader walks it: a directory is 16 header bytes,
// then 8 bytes per named and per numbered entry. Types and names lead to
// further directories, languages to data entries whose data must lie in the
// file; names are counted UTF-16 strings. Offsets inside the tree are from
// its root.
struct ResourceTree {
    const std::string& bytes;
    const Layout& layout;
    size_t root;  // file offset of the root directory
    size_t size;  // bytes of the tree in the file
};

// Names and numbers of one directory entry; the tree has passed the check.
ResourceId EntryId(const ResourceTree& tree, unsigned name) {
    if (!(name & 0x80000000u)) return ResourceId::Number(static_cast<std::uint16_t>(name));
    unsigned at = name & 0x7FFFFFFFu, length = 0;
    ReadU16(tree.bytes, tree.root + at, &length);
    std::u16string text(length, u'\0');
    for (unsigned k = 0; k < length; ++k) {
        unsigned unit = 0;
        ReadU16(tree.bytes, tree.root + at + 2 + 2 * k, &unit);
        text[k] = static_cast<char16_t>(unit);
    }
    return ResourceId::Text(text);
}

void CollectResources(const ResourceTree& tree, unsigned offset, int level, ResourceItem* path,
                      std::vector<ResourceItem>* items) {
    unsigned named = 0, numbered = 0;
    ReadU16(tree.bytes, tree.root + offset + 12, &named);
    ReadU16(tree.bytes, tree.root + offset + 14, &numbered);
    for (unsigned i = 0; i < named + numbered; ++i) {
        size_t entry = tree.root + offset + 16 + 8 * i;
        unsigned name = 0, target = 0;
        ReadU32(tree.bytes, entry, &name);
        ReadU32(tree.bytes, entry + 4, &target);
        if (level == 0) path->type = EntryId(tree, name);
        if (level == 1) path->name = EntryId(tree, name);
        if (level < 2) {
            CollectResources(tree, target & 0x7FFFFFFFu, level + 1, path, items);
            continue;
        }
        ResourceItem item = *path;
        item.language = static_cast<std::uint16_t>(name);
        unsigned dataRva = 0, dataSize = 0;
        ReadU32(tree.bytes, tree.root + target, &dataRva);
        ReadU32(tree.bytes, tree.root + target + 4, &dataSize);
        size_t data = 0;
        if (dataSize != 0 && RvaRangeToOffset(tree.bytes, tree.layout, dataRva, dataSize, &data))
            item.bytes = tree.bytes.substr(data, dataSize);
        items->push_back(item);
    }
}

// What the walk has met so far. A directory or data entry reached a second
// time is refused: a few kilobytes of entries all pointing at one shared
// directory multiply into billions of resources. With each reached once,
// their bytes together fit the tree, and the walk is linear in its size.
struct TreeWalk {
    std::set<unsigned> reached;    // offsets of directories and data entries
    unsigned long long bytes = 0;  // their headers and entries, summed
};

bool Reach(const ResourceTree& tree, TreeWalk* walk, unsigned offset, unsigned long long bytes) {
    if (!walk->reached.insert(offset).second) return false;
    walk->bytes += bytes;
    return walk->bytes <= tree.size;
}

bool CheckResourceDirectory(const ResourceTree& tree, unsigned offset, int level, TreeWalk* walk) {
    if (offset > tree.size || tree.size - offset < 16) return false;
    unsigned named = 0, numbered = 0;
    ReadU16(tree.bytes, tree.root + offset + 12, &named);
    ReadU16(tree.bytes, tree.root + offset + 14, &numbered);
    unsigned long long entries = static_cast<unsigned long long>(named) + numbered;
    if (entries * 8 > tree.size - offset - 16) return false;
    if (!Reach(tree, walk, offset, 16 + entries * 8)) return false;
    for (unsigned i = 0; i < entries; ++i) {
        size_t entry = tree.root + offset + 16 + 8 * i;
        unsigned name = 0, target = 0;
        ReadU32(tree.bytes, entry, &name);
        ReadU32(tree.bytes, entry + 4, &target);
        if (name & 0x80000000u) {
            unsigned at = name & 0x7FFFFFFFu, length = 0;
            if (at > tree.size || tree.size - at < 2) return false;
            ReadU16(tree.bytes, tree.root + at, &length);
            if ((tree.size - at - 2) / 2 < length) return false;
        }
        // Exactly three levels: a subdirectory pointing back up would make
        // the tree endless, a data entry too early leaves it unreadable.
        bool isDirectory = (target & 0x80000000u) != 0;
        if (isDirectory != (level < 2)) return false;
        if (isDirectory) {
            if (!CheckResourceDirectory(tree, target & 0x7FFFFFFFu, level + 1, walk)) return false;
            continue;
        }
        if (target > tree.size || tree.size - target < 16) return false;
        if (!Reach(tree, walk, target, 16)) return false;
        unsigned dataRva = 0, dataSize = 0;
        ReadU32(tree.bytes, tree.root + target, &dataRva);
        ReadU32(tree.bytes, tree.root + target + 4, &dataSize);
        // An empty resource has no bytes to find: the writer puts it where
        // its data would start, which may be the section's very end.
        size_t data = 0;
        if (dataSize != 0 && !RvaRangeToOffset(tree.bytes, tree.layout, dataRva, dataSize, &data)) return false;
    }
    return true;
}
}  // namespace

bool ReadPeHeaders(const std::string& bytes, PeHeaders* headers) {
    Layout layout;
    if (!ReadLayout(bytes, &layout)) return false;
    *headers = layout.headers;
    return true;
}

bool ReadImportedDlls(const std::string& bytes, std::vector<std::string>* dlls) {
    dlls->clear();
    Layout layout;
    if (!ReadLayout(bytes, &layout)) return false;
    size_t directories = layout.optionalHeader + (layout.headers.magic == 0x10b ? 96 : 112);
    unsigned count = 0;
    if (!ReadU32(bytes, directories - 4, &count)) return false;
    if (count < 2 || directories + 16 > layout.optionalHeader + layout.optionalSize) return true;  // no import table
    unsigned importRva = 0;
    if (!ReadU32(bytes, directories + 8, &importRva)) return false;
    if (importRva == 0) return true;
    size_t descriptor = 0;
    if (!RvaToOffset(bytes, layout, importRva, &descriptor)) return false;
    for (;; descriptor += 20) {
        unsigned nameRva = 0, firstThunk = 0;
        if (!ReadU32(bytes, descriptor + 12, &nameRva) || !ReadU32(bytes, descriptor + 16, &firstThunk)) return false;
        if (nameRva == 0 && firstThunk == 0) return true;
        size_t name = 0;
        if (!RvaToOffset(bytes, layout, nameRva, &name)) return false;
        size_t end = bytes.find('\0', name);
        if (end == std::string::npos) return false;
        dlls->push_back(bytes.substr(name, end - name));
    }
}

namespace {
// The resource data directory's range in the file; *present false for an
// image without resources.
bool FindResourceTree(const std::string& bytes, const Layout& layout, bool* present, size_t* root, unsigned* treeSize) {
    *present = false;
    size_t directories = layout.optionalHeader + (layout.headers.magic == 0x10b ? 96 : 112);
    unsigned count = 0;
    if (!ReadU32(bytes, directories - 4, &count)) return false;
    if (count < 3 || directories + 24 > layout.optionalHeader + layout.optionalSize) return true;  // none
    unsigned rva = 0, size = 0;
    if (!ReadU32(bytes, directories + 16, &rva) || !ReadU32(bytes, directories + 20, &size)) return false;
    if (rva == 0 && size == 0) return true;
    *present = true;
    *treeSize = size;
    return RvaRangeToOffset(bytes, layout, rva, size, root);
}
}  // namespace

bool CheckResources(const std::string& bytes) {
    Layout layout;
    if (!ReadLayout(bytes, &layout)) return false;
    bool present = false;
    size_t root = 0;
    unsigned size = 0;
    if (!FindResourceTree(bytes, layout, &present, &root, &size)) return false;
    if (!present) return true;
    ResourceTree tree = {bytes, layout, root, size};
    TreeWalk walk;
    return CheckResourceDirectory(tree, 0, 0, &walk);
}

bool ReadResources(const std::string& bytes, std::vector<ResourceItem>* items) {
    items->clear();
    if (!CheckResources(bytes)) return false;
    Layout layout;
    ReadLayout(bytes, &layout);
    bool present = false;
    size_t root = 0;
    unsigned size = 0;
    FindResourceTree(bytes, layout, &present, &root, &size);
    if (!present) return true;
    ResourceTree tree = {bytes, layout, root, size};
    ResourceItem path;
    CollectResources(tree, 0, 0, &path, items);
    return true;
}

bool ReadPeLayout(const std::string& bytes, PeLayout* out) {
    Layout layout;
    if (!ReadLayout(bytes, &layout)) return false;
    *out = PeLayout();
    out->headers = layout.headers;
    out->fileHeader = layout.optionalHeader - 20;
    out->optionalHeader = layout.optionalHeader;
    out->sectionTable = layout.sectionTable;
    out->directories = layout.optionalHeader + (layout.headers.magic == 0x10b ? 96 : 112);
    unsigned count = 0;
    ReadU32(bytes, out->directories - 4, &count);
    size_t room = out->directories > out->sectionTable ? 0 : (out->sectionTable - out->directories) / 8;
    out->directoryCount = count < room ? count : static_cast<unsigned>(room);
    for (unsigned i = 0; i < layout.sections; ++i) {
        size_t header = layout.sectionTable + 40 * i;
        PeSection section;
        section.name = bytes.substr(header, 8);
        section.name.resize(section.name.find('\0') == std::string::npos ? 8 : section.name.find('\0'));
        unsigned value = 0;
        ReadU32(bytes, header + 8, &value), section.virtualSize = value;
        ReadU32(bytes, header + 12, &value), section.virtualAddress = value;
        ReadU32(bytes, header + 16, &value), section.rawSize = value;
        ReadU32(bytes, header + 20, &value), section.rawPointer = value;
        ReadU32(bytes, header + 36, &value), section.characteristics = value;
        out->sections.push_back(section);
    }
    return true;
}
