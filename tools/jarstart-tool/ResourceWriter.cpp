#include "tools/jarstart-tool/ResourceWriter.h"

#include <algorithm>
#include <map>

#include "tools/jarstart-tool/PeImage.h"

namespace {
const std::uint32_t kSectionHeaderSize = 40;
const std::uint32_t kResourceCharacteristics = 0x40000040;  // initialised data, readable
const unsigned kResourceDirectory = 2;
const unsigned kSecurityDirectory = 4;

std::uint32_t Read32(const std::string& bytes, size_t at) {
    std::uint32_t value = 0;
    for (int i = 3; i >= 0; --i) value = (value << 8) | static_cast<unsigned char>(bytes[at + i]);
    return value;
}

void Put16(std::string* out, size_t at, std::uint32_t value) {
    (*out)[at] = static_cast<char>(value & 0xFF);
    (*out)[at + 1] = static_cast<char>((value >> 8) & 0xFF);
}

void Put32(std::string* out, size_t at, std::uint32_t value) {
    Put16(out, at, value & 0xFFFF);
    Put16(out, at + 2, value >> 16);
}

void Append16(std::string* out, std::uint32_t value) {
    out->append(2, '\0');
    Put16(out, out->size() - 2, value);
}

void Append32(std::string* out, std::uint32_t value) {
    out->append(4, '\0');
    Put32(out, out->size() - 4, value);
}

std::uint64_t AlignUp(std::uint64_t value, std::uint64_t alignment) {
    return (value + alignment - 1) / alignment * alignment;
}

bool IsPowerOfTwo(std::uint32_t value) { return value != 0 && (value & (value - 1)) == 0; }

typedef std::map<std::uint16_t, const std::string*> Languages;
typedef std::map<ResourceId, Languages> Names;
typedef std::map<ResourceId, Names> Types;

// A directory table: its header, then the named entries, then the numbered.
void AppendDirectoryHeader(std::string* out, size_t named, size_t numbered) {
    Append32(out, 0);  // characteristics
    Append32(out, 0);  // time stamp: none, for reproducible output
    Append32(out, 0);  // version
    Append16(out, static_cast<std::uint32_t>(named));
    Append16(out, static_cast<std::uint32_t>(numbered));
}

template <typename Map>
size_t CountNamed(const Map& entries) {
    size_t named = 0;
    for (const auto& entry : entries) named += entry.first.isNumber ? 0 : 1;
    return named;
}
}  // namespace

std::string EncodeResourceSection(const std::vector<ResourceItem>& items, std::uint32_t rva) {
    Types types;
    for (const ResourceItem& item : items) types[item.type][item.name][item.language] = &item.bytes;

    // Sizes first, so that every offset is known when the tables are written.
    size_t nameDirectories = types.size(), languageDirectories = 0, leaves = 0;
    for (const auto& type : types) {
        languageDirectories += type.second.size();
        for (const auto& name : type.second) leaves += name.second.size();
    }
    size_t directoryBytes = 16 * (1 + nameDirectories + languageDirectories) +
                            8 * (nameDirectories + languageDirectories + leaves);
    size_t dataEntries = directoryBytes;
    size_t strings = dataEntries + 16 * leaves;

    // The names, each once: a count of UTF-16 units, then the units.
    std::map<std::u16string, std::uint32_t> nameOffsets;
    std::string names;
    auto nameOffset = [&](const ResourceId& id) -> std::uint32_t {
        auto found = nameOffsets.find(id.text);
        if (found != nameOffsets.end()) return found->second;
        std::uint32_t at = static_cast<std::uint32_t>(strings + names.size());
        Append16(&names, static_cast<std::uint32_t>(id.text.size()));
        for (char16_t unit : id.text) Append16(&names, unit);
        nameOffsets[id.text] = at;
        return at;
    };
    auto entryName = [&](const ResourceId& id) -> std::uint32_t {
        return id.isNumber ? id.number : 0x80000000u | nameOffset(id);
    };

    std::string tables, entries, data;
    size_t dataStart = 0;  // known once the names are: filled in below
    std::vector<std::pair<size_t, const std::string*>> leafData;  // data entry offset, bytes

    // Breadth first: the root, the name directories, the language directories.
    AppendDirectoryHeader(&tables, CountNamed(types), types.size() - CountNamed(types));
    size_t next = 16 + 8 * types.size();
    for (const auto& type : types) {
        Append32(&tables, entryName(type.first));
        Append32(&tables, 0x80000000u | static_cast<std::uint32_t>(next));
        next += 16 + 8 * type.second.size();
    }
    for (const auto& type : types) {
        AppendDirectoryHeader(&tables, CountNamed(type.second), type.second.size() - CountNamed(type.second));
        for (const auto& name : type.second) {
            Append32(&tables, entryName(name.first));
            Append32(&tables, 0x80000000u | static_cast<std::uint32_t>(next));
            next += 16 + 8 * name.second.size();
        }
    }
    size_t leaf = dataEntries;
    for (const auto& type : types) {
        for (const auto& name : type.second) {
            AppendDirectoryHeader(&tables, 0, name.second.size());
            for (const auto& language : name.second) {
                Append32(&tables, language.first);
                Append32(&tables, static_cast<std::uint32_t>(leaf));
                leafData.push_back(std::make_pair(leaf, language.second));
                leaf += 16;
            }
        }
    }

    dataStart = AlignUp(strings + names.size(), 8);
    std::string section = tables;
    section.resize(dataStart, '\0');
    section.replace(strings, names.size(), names);
    for (const auto& entry : leafData) {
        section.resize(AlignUp(section.size(), 8), '\0');
        Put32(&section, entry.first, rva + static_cast<std::uint32_t>(section.size()));
        Put32(&section, entry.first + 4, static_cast<std::uint32_t>(entry.second->size()));
        // code page and reserved stay 0
        section += *entry.second;
    }
    return section;
}

std::uint32_t PeChecksum(const std::string& image, size_t checksumOffset) {
    std::uint64_t sum = 0;
    for (size_t i = 0; i < image.size(); i += 2) {
        if (i == checksumOffset || i == checksumOffset + 2) continue;
        std::uint32_t word = static_cast<unsigned char>(image[i]);
        if (i + 1 < image.size()) word |= static_cast<std::uint32_t>(static_cast<unsigned char>(image[i + 1])) << 8;
        sum += word;
        sum = (sum & 0xFFFF) + (sum >> 16);
    }
    sum = (sum & 0xFFFF) + (sum >> 16);
    return static_cast<std::uint32_t>(sum + image.size());
}

bool WriteResources(const std::string& image, const std::vector<ResourceItem>& items, ResourceWriteResult* result,
                    std::string* error) {
    *result = ResourceWriteResult();
    PeLayout layout;
    if (!ReadPeLayout(image, &layout)) {
        *error = "is not a PE executable";
        return false;
    }
    const size_t optional = layout.optionalHeader;
    const std::uint32_t sectionAlignment = Read32(image, optional + 32);
    const std::uint32_t fileAlignment = Read32(image, optional + 36);
    const std::uint32_t sizeOfHeaders = Read32(image, optional + 60);
    // The file alignment is at most 64 KB, or padding alone could take gigabytes.
    if (!IsPowerOfTwo(fileAlignment) || !IsPowerOfTwo(sectionAlignment) || fileAlignment > sectionAlignment ||
        fileAlignment > 0x10000) {
        *error = "has section alignments that are not powers of two up to 64 KB, the file's within the memory's";
        return false;
    }
    if (layout.directoryCount <= kResourceDirectory) {
        *error = "has no entry for a resource directory in its headers";
        return false;
    }
    const std::vector<PeSection>& sections = layout.sections;
    if (sections.empty()) {
        *error = "has no sections";
        return false;
    }

    // Where the headers and the sections' bytes end in the file; what
    // follows is kept, except a signature.
    if (sizeOfHeaders > image.size()) {
        *error = "has headers that run past the end of the file";
        return false;
    }
    std::uint64_t sectionsEnd = sizeOfHeaders, firstRaw = image.size();
    for (const PeSection& s : sections) {
        if (s.rawSize == 0) continue;
        sectionsEnd = std::max<std::uint64_t>(sectionsEnd, std::uint64_t(s.rawPointer) + s.rawSize);
        firstRaw = std::min<std::uint64_t>(firstRaw, s.rawPointer);
    }
    if (sectionsEnd > image.size()) {
        *error = "has a section whose data runs past the end of the file";
        return false;
    }
    std::string overlay = image.substr(static_cast<size_t>(sectionsEnd));
    size_t security = layout.directories + 8 * kSecurityDirectory;
    if (layout.directoryCount > kSecurityDirectory && (Read32(image, security) || Read32(image, security + 4))) {
        // The directory holds a file offset, not an address; a signature
        // covers the whole file, so it cannot survive a change.
        std::uint64_t at = Read32(image, security), size = Read32(image, security + 4);
        if (at >= sectionsEnd && at + size <= image.size())
            overlay.erase(static_cast<size_t>(at - sectionsEnd), static_cast<size_t>(size));
        result->removedSignature = true;
    }

    // The last section by address; it is rewritten in place when it is the
    // input's own resource section and also the last in the file.
    size_t last = 0;
    for (size_t i = 1; i < sections.size(); ++i)
        if (sections[i].virtualAddress >= sections[last].virtualAddress) last = i;
    const PeSection& lastSection = sections[last];
    std::uint32_t resourceRva = Read32(image, layout.directories + 8 * kResourceDirectory);
    bool inPlace = last == sections.size() - 1 && lastSection.name == ".rsrc" && resourceRva != 0 &&
                   resourceRva == lastSection.virtualAddress && lastSection.rawSize != 0 &&
                   lastSection.rawPointer >= sizeOfHeaders && lastSection.rawPointer % fileAlignment == 0 &&
                   std::uint64_t(lastSection.rawPointer) + lastSection.rawSize == sectionsEnd;
    // Rewritten shorter, it must still end the file: no other section's raw
    // bytes may run past its start, or the next write would not find it last.
    for (size_t i = 0; inPlace && i < sections.size(); ++i)
        if (i != last && sections[i].rawSize != 0 &&
            std::uint64_t(sections[i].rawPointer) + sections[i].rawSize > lastSection.rawPointer)
            inPlace = false;

    size_t slot = inPlace ? last : sections.size();
    size_t header = layout.sectionTable + kSectionHeaderSize * slot;
    std::uint64_t rva = 0, rawPointer = 0;
    std::string out;
    if (inPlace) {
        rva = lastSection.virtualAddress;
        rawPointer = lastSection.rawPointer;
        out = image.substr(0, static_cast<size_t>(rawPointer));
    } else {
        if (header + kSectionHeaderSize > sizeOfHeaders || header + kSectionHeaderSize > firstRaw ||
            image.find_first_not_of('\0', header) < header + kSectionHeaderSize) {
            *error = "has no room in its headers for another section";
            return false;
        }
        // Past the headers and every section in memory, counting a section
        // as long as the longer of its sizes, as the reader of the tree does.
        rva = AlignUp(sizeOfHeaders, sectionAlignment);
        for (const PeSection& s : sections) {
            std::uint32_t extent = std::max<std::uint32_t>(1, std::max(s.virtualSize, s.rawSize));
            rva = std::max(rva, AlignUp(std::uint64_t(s.virtualAddress) + extent, sectionAlignment));
        }
        rawPointer = AlignUp(sectionsEnd, fileAlignment);
        out = image.substr(0, static_cast<size_t>(sectionsEnd));
        out.resize(static_cast<size_t>(rawPointer), '\0');
    }
    std::string section = EncodeResourceSection(items, static_cast<std::uint32_t>(rva));
    std::uint64_t rawSize = AlignUp(section.size(), fileAlignment);
    std::uint64_t imageEnd = AlignUp(rva + section.size(), sectionAlignment);
    if (imageEnd > 0xFFFFFFFFull || rawPointer + rawSize + overlay.size() > 0x7FFFFFFFull) {
        *error = "would grow past 2 GB with these resources";
        return false;
    }
    out += section;
    out.resize(static_cast<size_t>(rawPointer + rawSize), '\0');
    out += overlay;

    std::string name(".rsrc\0\0\0", 8);
    out.replace(header, 8, name);
    Put32(&out, header + 8, static_cast<std::uint32_t>(section.size()));
    Put32(&out, header + 12, static_cast<std::uint32_t>(rva));
    Put32(&out, header + 16, static_cast<std::uint32_t>(rawSize));
    Put32(&out, header + 20, static_cast<std::uint32_t>(rawPointer));
    for (size_t at = header + 24; at < header + 36; at += 4) Put32(&out, at, 0);  // no relocations or line numbers
    Put32(&out, header + 36, kResourceCharacteristics);
    if (!inPlace) Put16(&out, layout.fileHeader + 2, static_cast<std::uint32_t>(sections.size() + 1));

    std::uint32_t initialised = Read32(image, optional + 8) + static_cast<std::uint32_t>(rawSize);
    if (inPlace) initialised -= lastSection.rawSize;
    Put32(&out, optional + 8, initialised);
    Put32(&out, optional + 56, static_cast<std::uint32_t>(imageEnd));
    Put32(&out, layout.directories + 8 * kResourceDirectory, static_cast<std::uint32_t>(rva));
    Put32(&out, layout.directories + 8 * kResourceDirectory + 4, static_cast<std::uint32_t>(section.size()));
    if (result->removedSignature) {
        Put32(&out, security, 0);
        Put32(&out, security + 4, 0);
    }
    // A COFF symbol table after the sections moves with the data around it.
    std::uint32_t symbols = Read32(image, layout.fileHeader + 8);
    if (symbols != 0 && symbols >= sectionsEnd) {
        std::uint64_t moved = symbols - sectionsEnd + rawPointer + rawSize;
        Put32(&out, layout.fileHeader + 8, static_cast<std::uint32_t>(moved));
    }
    Put32(&out, optional + 64, PeChecksum(out, optional + 64));
    result->image.swap(out);
    return true;
}
