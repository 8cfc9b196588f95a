// The companion tool's reading of executable headers and import tables over
// any bytes: no read outside the file, and the same answers as a plain
// reading of the format that does all its offset arithmetic in 64 bits.
// Then the round trip of the resource writer: what it writes reads back as
// the tree it was given.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <map>
#include <string>
#include <tuple>
#include <vector>

#include "tools/jarstart-tool/PeImage.h"
#include "tools/jarstart-tool/ResourceWriter.h"

namespace {

struct Reader {
    const std::string& bytes;

    bool U16(uint64_t at, uint64_t* value) const {
        if (at + 2 > bytes.size()) return false;
        *value = static_cast<unsigned char>(bytes[at]) | (static_cast<unsigned char>(bytes[at + 1]) << 8);
        return true;
    }
    bool U32(uint64_t at, uint64_t* value) const {
        uint64_t low = 0, high = 0;
        if (!U16(at, &low) || !U16(at + 2, &high)) return false;
        *value = low | (high << 16);
        return true;
    }
};

struct Plain {
    uint64_t optional = 0, optionalSize = 0, sections = 0, table = 0, magic = 0;
};

bool ReadPlainLayout(const Reader& r, Plain* p) {
    const std::string& b = r.bytes;
    if (b.size() < 64 || b[0] != 'M' || b[1] != 'Z') return false;
    uint64_t pe = 0;
    if (!r.U32(0x3C, &pe) || pe + 24 > b.size() || b.compare(pe, 4, std::string("PE\0\0", 4)) != 0) return false;
    uint64_t subsystem = 0;
    if (!r.U16(pe + 6, &p->sections) || !r.U16(pe + 20, &p->optionalSize)) return false;
    p->optional = pe + 24;
    p->table = p->optional + p->optionalSize;
    if (p->optionalSize < 70 || !r.U16(p->optional, &p->magic) || (p->magic != 0x10b && p->magic != 0x20b)) return false;
    if (!r.U16(p->optional + 68, &subsystem)) return false;
    return p->table + 40 * p->sections <= b.size();
}

bool PlainRvaToOffset(const Reader& r, const Plain& p, uint64_t rva, uint64_t* offset) {
    for (uint64_t i = 0; i < p.sections; ++i) {
        uint64_t size = 0, address = 0, raw = 0, pointer = 0;
        r.U32(p.table + 40 * i + 8, &size);
        r.U32(p.table + 40 * i + 12, &address);
        r.U32(p.table + 40 * i + 16, &raw);
        r.U32(p.table + 40 * i + 20, &pointer);
        uint64_t extent = size > raw ? size : raw;
        if (rva >= address && rva - address < extent) {
            if (rva - address >= raw) return false;
            *offset = pointer + (rva - address);
            return *offset < r.bytes.size();
        }
    }
    return false;
}

bool PlainImports(const std::string& bytes, std::vector<std::string>* dlls) {
    Reader r = {bytes};
    Plain p;
    if (!ReadPlainLayout(r, &p)) return false;
    uint64_t directories = p.optional + (p.magic == 0x10b ? 96 : 112);
    uint64_t count = 0, importRva = 0, descriptor = 0;
    if (!r.U32(directories - 4, &count)) return false;
    if (count < 2 || directories + 16 > p.optional + p.optionalSize) return true;
    if (!r.U32(directories + 8, &importRva)) return false;
    if (importRva == 0) return true;
    if (!PlainRvaToOffset(r, p, importRva, &descriptor)) return false;
    for (;; descriptor += 20) {
        uint64_t nameRva = 0, thunk = 0, name = 0;
        if (!r.U32(descriptor + 12, &nameRva) || !r.U32(descriptor + 16, &thunk)) return false;
        if (nameRva == 0 && thunk == 0) return true;
        if (!PlainRvaToOffset(r, p, nameRva, &name)) return false;
        size_t end = bytes.find('\0', name);
        if (end == std::string::npos) return false;
        dlls->push_back(bytes.substr(name, end - name));
    }
}

// The tree as the loader sees it: one item per type, name and language, the
// writer keeping the last of duplicates.
std::map<std::tuple<ResourceId, ResourceId, std::uint16_t>, std::string> Tree(const std::vector<ResourceItem>& items) {
    std::map<std::tuple<ResourceId, ResourceId, std::uint16_t>, std::string> tree;
    for (const ResourceItem& item : items) tree[std::make_tuple(item.type, item.name, item.language)] = item.bytes;
    return tree;
}

void RoundTrip(const std::string& bytes) {
    std::vector<ResourceItem> items;
    if (!ReadResources(bytes, &items)) return;
    ResourceWriteResult written;
    std::string error;
    if (!WriteResources(bytes, items, &written, &error)) return;
    std::vector<ResourceItem> back;
    if (!ReadResources(written.image, &back)) std::abort();
    if (Tree(back) != Tree(items)) std::abort();
    ResourceWriteResult again;
    if (!WriteResources(written.image, back, &again, &error) || again.image != written.image) std::abort();
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    PeHeaders headers;
    const bool isImage = ReadPeHeaders(bytes, &headers);
    Reader reader = {bytes};
    Plain plain;
    if (isImage != ReadPlainLayout(reader, &plain)) std::abort();
    if (isImage && headers.magic != plain.magic) std::abort();

    std::vector<std::string> dlls, expected;
    const bool hasImports = ReadImportedDlls(bytes, &dlls);
    if (hasImports != PlainImports(bytes, &expected)) std::abort();
    if (hasImports && dlls != expected) std::abort();
    if (hasImports && !isImage) std::abort();
    // The resource tree check reads only inside the file and ends.
    if (CheckResources(bytes) && !isImage) std::abort();
    RoundTrip(bytes);
    return 0;
}
