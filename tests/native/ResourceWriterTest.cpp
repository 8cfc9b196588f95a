// The portable resource writer on synthetic images, with the host compiler:
// what it writes reads back as the same resources, and every header field
// that depends on the new section agrees with it.
#include <gtest/gtest.h>

#include <algorithm>

#include "tools/jarstart-tool/PeImage.h"
#include "tools/jarstart-tool/ResourceWriter.h"
#include "tools/jarstart-tool/Utf8Text.h"

namespace {
const size_t kPe = 0x40, kOptional = kPe + 24, kDirectories = kOptional + 96, kTable = kOptional + 224;

unsigned Get32(const std::string& b, size_t at) {
    return static_cast<unsigned char>(b[at]) | static_cast<unsigned char>(b[at + 1]) << 8 |
           static_cast<unsigned char>(b[at + 2]) << 16 | static_cast<unsigned>(static_cast<unsigned char>(b[at + 3])) << 24;
}
void Set32(std::string& b, size_t at, unsigned v) {
    for (int i = 0; i < 4; ++i) b[at + i] = static_cast<char>(v >> (8 * i));
}

ResourceItem Item(ResourceId type, ResourceId name, unsigned language, const std::string& bytes) {
    ResourceItem item;
    item.type = type;
    item.name = name;
    item.language = static_cast<std::uint16_t>(language);
    item.bytes = bytes;
    return item;
}

// A PE32 image of 0x200-byte sections at 0x1000 steps; the one named .rsrc
// holds `resources`, the others a filler byte. `tail` follows the sections.
std::string Image(const std::vector<std::string>& names, const std::vector<ResourceItem>& resources,
                  const std::string& tail = std::string()) {
    std::string b(0x400, '\0');
    b[0] = 'M', b[1] = 'Z';
    Set32(b, 0x3C, kPe);
    b.replace(kPe, 4, std::string("PE\0\0", 4));
    b[kPe + 4] = '\x4c', b[kPe + 5] = '\x01';
    b[kPe + 6] = static_cast<char>(names.size());
    b[kPe + 20] = '\xE0';  // optional header size 224
    b[kOptional] = '\x0b', b[kOptional + 1] = '\x01';
    Set32(b, kOptional + 32, 0x1000);
    Set32(b, kOptional + 36, 0x200);
    Set32(b, kOptional + 60, 0x400);
    b[kOptional + 68] = 2;
    Set32(b, kOptional + 92, 16);
    for (size_t i = 0; i < names.size(); ++i) {
        size_t header = kTable + 40 * i;
        unsigned rva = 0x1000 * static_cast<unsigned>(i + 1);
        std::string data = names[i] == ".rsrc" ? EncodeResourceSection(resources, rva) : std::string(0x100, 'x');
        data.resize(0x200, '\0');
        b.replace(header, names[i].size(), names[i]);
        Set32(b, header + 8, 0x200);
        Set32(b, header + 12, rva);
        Set32(b, header + 16, 0x200);
        Set32(b, header + 20, static_cast<unsigned>(b.size()));
        if (names[i] == ".rsrc") Set32(b, kDirectories + 16, rva), Set32(b, kDirectories + 20, 0x200);
        b += data;
    }
    Set32(b, kOptional + 56, 0x1000 * static_cast<unsigned>(names.size() + 1));
    return b + tail;
}

std::vector<ResourceItem> Sample() {
    return {Item(ResourceId::Number(6), ResourceId::Number(7), 0, std::string("\x03\x00a\x00b\x00c\x00", 8)),
            Item(ResourceId::Number(2), ResourceId::Number(104), 0, "BM splash"),
            Item(ResourceId::Text(u"PNG"), ResourceId::Text(u"LOGO"), 0x409, std::string(1000, '\x89')),
            Item(ResourceId::Number(6), ResourceId::Number(7), 0x407, "de"),
            Item(ResourceId::Number(24), ResourceId::Number(1), 0, "<assembly/>")};
}

bool SameItems(std::vector<ResourceItem> a, std::vector<ResourceItem> b) {
    auto less = [](const ResourceItem& x, const ResourceItem& y) {
        if (x.type != y.type) return x.type < y.type;
        if (x.name != y.name) return x.name < y.name;
        return x.language < y.language;
    };
    std::sort(a.begin(), a.end(), less);
    std::sort(b.begin(), b.end(), less);
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (a[i].type != b[i].type || a[i].name != b[i].name || a[i].language != b[i].language || a[i].bytes != b[i].bytes)
            return false;
    return true;
}
}  // namespace

TEST(ResourceWriterTest, EveryLayoutReadsBackItsResourcesWithHeadersThatAgree) {
    const std::string signature = std::string(8, '\x01') + std::string(24, 's');
    struct Case {
        const char* what;
        std::string input;
        size_t sections;     // in the output
        bool signedInput;
        std::string overlay;  // expected after the new section
    } cases[] = {
        {"no resources yet", Image({".text", ".data"}, {}), 3, false, ""},
        {"resources last: rewritten in place", Image({".text", ".rsrc"}, {Sample()[1]}), 2, false, ""},
        {"resources before .reloc: a new last section", Image({".text", ".rsrc", ".reloc"}, {Sample()[1]}), 4, false, ""},
        {"data after the sections is kept", Image({".text", ".rsrc"}, {}, "OVERLAY"), 2, false, "OVERLAY"},
        {"a signature goes", Image({".text", ".rsrc"}, {}, signature), 2, true, ""},
    };
    Set32(cases[4].input, kDirectories + 32, 0x400 + 2 * 0x200);
    Set32(cases[4].input, kDirectories + 36, static_cast<unsigned>(signature.size()));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ResourceWriteResult once, twice;
        std::string error;
        ASSERT_TRUE(WriteResources(c.input, Sample(), &once, &error)) << error;
        EXPECT_EQ(once.removedSignature, c.signedInput);
        std::vector<ResourceItem> back;
        ASSERT_TRUE(ReadResources(once.image, &back));
        EXPECT_TRUE(SameItems(back, Sample()));

        PeLayout layout;
        ASSERT_TRUE(ReadPeLayout(once.image, &layout));
        ASSERT_EQ(layout.sections.size(), c.sections);
        const PeSection& last = layout.sections.back();
        EXPECT_EQ(last.name, ".rsrc");
        EXPECT_EQ(Get32(once.image, kDirectories + 16), last.virtualAddress);
        EXPECT_EQ(Get32(once.image, kDirectories + 20), last.virtualSize);
        EXPECT_EQ(Get32(once.image, kDirectories + 32), 0u);
        EXPECT_EQ(last.virtualAddress % 0x1000, 0u);
        EXPECT_EQ(last.rawPointer % 0x200, 0u);
        EXPECT_EQ(last.rawSize % 0x200, 0u);
        EXPECT_EQ(Get32(once.image, kOptional + 56), (last.virtualAddress + last.virtualSize + 0xFFF) / 0x1000 * 0x1000);
        EXPECT_EQ(once.image.size(), last.rawPointer + last.rawSize + c.overlay.size());
        EXPECT_EQ(once.image.substr(last.rawPointer + last.rawSize), c.overlay);
        EXPECT_EQ(Get32(once.image, kOptional + 64), PeChecksum(once.image, kOptional + 64));
        // Earlier sections keep their bytes.
        EXPECT_EQ(once.image.substr(0x400, 0x200), c.input.substr(0x400, 0x200));

        ASSERT_TRUE(WriteResources(once.image, Sample(), &twice, &error)) << error;
        EXPECT_TRUE(twice.image == once.image) << "writing twice differs from writing once";
    }
}

TEST(ResourceWriterTest, TheChecksumIsTheSystemsFoldedWordSumPlusTheLength) {
    std::string bytes("\x01\x00\xff\xff\x02", 5);  // 0x0001 + 0xFFFF folds to 0x0001; + 0x0002 = 3; + 5 bytes
    EXPECT_EQ(PeChecksum(bytes, 100), 8u);
    EXPECT_EQ(PeChecksum(bytes, 0), 2u + 5u) << "the checksum field counts as zero";
}

TEST(ResourceWriterTest, ImagesThatCannotTakeAnotherSectionAreRefusedWithAReason) {
    std::string full = Image({".text"}, {});
    std::fill(full.begin() + kTable + 40, full.begin() + 0x400, 'h');  // headers used to the end
    std::string odd = Image({".text"}, {});
    Set32(odd, kOptional + 36, 0x300);
    const struct { std::string image; const char* reason; } cases[] = {
        {full, "has no room in its headers for another section"},
        {odd, "alignments"},
        {"MZ", "not a PE"},
    };
    for (const auto& c : cases) {
        ResourceWriteResult result;
        std::string error;
        EXPECT_FALSE(WriteResources(c.image, Sample(), &result, &error));
        EXPECT_NE(error.find(c.reason), std::string::npos) << error;
    }
}

TEST(ResourceWriterTest, Utf8AndUtf16ConvertBothWaysAndMalformedTextBecomesAReplacementCharacter) {
    const struct { std::string utf8; std::u16string utf16; bool roundTrip; } cases[] = {
        {"plain", u"plain", true},
        {"\xc3\xa9\xce\xa9\xe6\x97\xa5", u"\u00e9\u03a9\u65e5", true},
        {"\xf0\x9f\x98\x80", u"\U0001F600", true},
        {"a\xff" "b", u"a\uFFFDb", false},
        {"\xc0\xaf", u"\uFFFD\uFFFD", false},        // overlong
        {"\xed\xa0\x80", u"\uFFFD\uFFFD\uFFFD", false},  // an encoded surrogate
        {"\xe6\x97", u"\uFFFD\uFFFD", false},        // cut short
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Utf8ToUtf16(c.utf8), c.utf16) << c.utf8;
        if (c.roundTrip) {
            EXPECT_EQ(Utf16ToUtf8(c.utf16), c.utf8);
        }
    }
    EXPECT_EQ(Utf16ToUtf8(std::u16string(1, u'\xD800')), "\xef\xbf\xbd") << "an unpaired surrogate";
}
