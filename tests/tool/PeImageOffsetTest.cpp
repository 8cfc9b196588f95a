// File offsets of the import table computed from a section's raw data
// pointer: a pointer near 4 GiB must not wrap around into the file.
#include <windows.h>

#include <gtest/gtest.h>

#include "tests/support/Paths.h"
#include "tools/jarstart-tool/FileBytes.h"
#include "tools/jarstart-tool/PeImage.h"

namespace {

unsigned U32At(const std::string& bytes, size_t at) {
    return static_cast<unsigned char>(bytes[at]) | (static_cast<unsigned char>(bytes[at + 1]) << 8) |
           (static_cast<unsigned char>(bytes[at + 2]) << 16) | (static_cast<unsigned>(static_cast<unsigned char>(bytes[at + 3])) << 24);
}

void PutU32(std::string* bytes, size_t at, unsigned value) {
    for (int i = 0; i < 4; ++i) (*bytes)[at + i] = static_cast<char>((value >> (8 * i)) & 0xFF);
}

}  // namespace

TEST(PeImageOffsetTest, AnImportSectionWhoseRawPointerWrapsPastFourGigabytesIsRejected) {
    std::string bytes;
    DWORD error = 0;
    ASSERT_TRUE(ReadFileBytes(BuildDir() + "jarstart.exe", &bytes, &error)) << error;
    std::vector<std::string> dlls;
    ASSERT_TRUE(ReadImportedDlls(bytes, &dlls));
    ASSERT_FALSE(dlls.empty());

    const size_t pe = U32At(bytes, 0x3C);
    const unsigned sections = U32At(bytes, pe + 6) & 0xFFFF;
    const size_t optional = pe + 24;
    const size_t table = optional + (U32At(bytes, pe + 20) & 0xFFFF);
    const unsigned importRva = U32At(bytes, optional + ((U32At(bytes, optional) & 0xFFFF) == 0x20b ? 112 : 96) + 8);
    // The section holding the import table is moved to virtual address 0,
    // grown by its old address, and its raw pointer lowered by the same
    // amount, modulo 2^32: every RVA still lands on the same byte when the
    // sum wraps, but the true offset is 4 GiB further on, outside the file.
    bool moved = false;
    for (unsigned i = 0; i < sections && !moved; ++i) {
        const size_t header = table + 40 * i;
        const unsigned virtualSize = U32At(bytes, header + 8), address = U32At(bytes, header + 12);
        const unsigned rawSize = U32At(bytes, header + 16), rawPointer = U32At(bytes, header + 20);
        if (importRva < address || importRva - address >= rawSize) continue;
        ASSERT_GT(address, rawPointer) << "the raw pointer must go below zero to wrap";
        PutU32(&bytes, header + 8, virtualSize + address);
        PutU32(&bytes, header + 12, 0);
        PutU32(&bytes, header + 16, rawSize + address);
        PutU32(&bytes, header + 20, rawPointer - address);
        moved = true;
    }
    ASSERT_TRUE(moved);
    PeHeaders headers;
    EXPECT_TRUE(ReadPeHeaders(bytes, &headers));
    EXPECT_FALSE(ReadImportedDlls(bytes, &dlls));
}
