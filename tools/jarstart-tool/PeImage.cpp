#include "tools/jarstart-tool/PeImage.h"

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
