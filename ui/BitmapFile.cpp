#include "ui/BitmapFile.h"

namespace {

const unsigned long long kFileHeaderSize = 14;
const unsigned long long kCoreHeaderSize = 12;  // 16-bit width and height
const unsigned long long kInfoHeaderSize = 40;
// The smallest header other than the core one that holds the width, height,
// planes and bit count.
const unsigned long long kShortestInfoHeader = 16;
const unsigned long kRgb = 0;        // BI_RGB
const unsigned long kBitFields = 3;  // BI_BITFIELDS

unsigned ReadLe16(const unsigned char* p) { return p[0] | (static_cast<unsigned>(p[1]) << 8); }

unsigned long ReadLe32(const unsigned char* p) {
    return ReadLe16(p) | (static_cast<unsigned long>(ReadLe16(p + 2)) << 16);
}

long long Magnitude(long long value) { return value < 0 ? -value : value; }

}  // namespace

// The system's picture loader takes the header's sizes and the pixel offset
// as they are and reads that far, whatever the length of its data: a file
// cut short would be loaded with whatever lies beyond it in memory.
bool IsIncompleteBitmapFile(const unsigned char* bytes, size_t size) {
    if (size < 2 || bytes[0] != 'B' || bytes[1] != 'M') return false;
    const unsigned long long end = size;
    if (end < kFileHeaderSize + 4) return true;
    const unsigned long long pixelOffset = ReadLe32(bytes + 10);
    const unsigned long long headerSize = ReadLe32(bytes + kFileHeaderSize);
    const bool core = headerSize == kCoreHeaderSize;
    if (!core && headerSize < kShortestInfoHeader) return true;
    if (kFileHeaderSize + headerSize > end) return true;

    const unsigned char* header = bytes + kFileHeaderSize;
    long long width, height;
    unsigned bitCount;
    unsigned long compression = kRgb, imageSize = 0, coloursUsed = 0;
    if (core) {
        width = ReadLe16(header + 4);
        height = ReadLe16(header + 6);
        bitCount = ReadLe16(header + 10);
    } else {
        // Two's complement: a negative height is a top-down bitmap.
        width = static_cast<long>(ReadLe32(header + 4));
        height = static_cast<long>(ReadLe32(header + 8));
        bitCount = ReadLe16(header + 14);
        if (headerSize >= 20) compression = ReadLe32(header + 16);
        if (headerSize >= 24) imageSize = ReadLe32(header + 20);
        if (headerSize >= 36) coloursUsed = ReadLe32(header + 32);
    }

    // The colour table follows the header, wherever the pixel offset points;
    // it has at most one entry per pixel value.
    unsigned long long tableSize = 0;
    if (bitCount >= 1 && bitCount <= 8) {
        unsigned long long entries = 1ull << bitCount;
        if (coloursUsed != 0 && coloursUsed < entries) entries = coloursUsed;
        tableSize = entries * (core ? 3 : 4);
    }
    // With the short header the three colour masks come after it.
    if (compression == kBitFields && headerSize == kInfoHeaderSize) tableSize += 12;
    if (kFileHeaderSize + headerSize + tableSize > end) return true;

    if (pixelOffset > end) return true;
    const unsigned long long pixelRoom = end - pixelOffset;
    if (compression != kRgb && compression != kBitFields) return imageSize > pixelRoom;
    // Rows are padded to whole DWORDs.
    const unsigned long long stride = (static_cast<unsigned long long>(Magnitude(width)) * bitCount + 31) / 32 * 4;
    const unsigned long long rows = static_cast<unsigned long long>(Magnitude(height));
    return rows != 0 && stride > pixelRoom / rows;
}
