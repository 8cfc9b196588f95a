// The in-memory dialog template, built the way the start failure dialog
// builds it (a measuring pass, a block of exactly the measured size, a
// writing pass) from any caption, texts and height; the written template is
// then read back field by field.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include <windows.h>

#include "framework/DialogTemplate.h"

namespace {

struct Item {
    std::string text;
    std::string className;  // empty: the button ordinal
    short cy;
};

struct Dialog {
    std::string caption;
    std::string typeface;
    short cy;
    WORD pointSize;
    std::vector<Item> items;
};

// One pass over the dialog; out is null when measuring. Every piece must be
// a whole number of DWORDs.
DWORD Define(const Dialog& d, BYTE* out, std::vector<DWORD>* offsets) {
    DWORD at = 0;
    DWORD piece = WriteDialogHeader(out, d.caption.c_str(), 0x80C808C0, 0x8, 0, 0, 337, d.cy, d.pointSize,
                                    d.typeface.c_str(), "", "");
    if (piece % 4 != 0) std::abort();
    at += piece;
    for (const Item& item : d.items) {
        offsets->push_back(at);
        DialogItemClass itemClass = {item.className.empty() ? nullptr : item.className.c_str(), 0x0080};
        piece = WriteDialogItem(out ? out + at : nullptr, item.text.c_str(), 0x50010001, 0, 7, 7, 323, item.cy, 1004,
                                itemClass);
        if (piece % 4 != 0) std::abort();
        at += piece;
    }
    if (out) SetDialogItemCount(out, static_cast<WORD>(d.items.size()));
    return at;
}

// Reads the UTF-16 string at *at, checks it against the ANSI text, moves past
// it. The expected units are the code page's conversion of the text.
void ExpectString(const std::vector<BYTE>& t, size_t* at, const std::string& ansi) {
    const std::string text(ansi.c_str());
    for (size_t i = 0; i <= text.size(); ++i) {
        if (*at + 2 > t.size()) std::abort();
        WCHAR unit = static_cast<WCHAR>(t[*at] | (t[*at + 1] << 8));
        WCHAR expected = i < text.size() ? AnsiToUnit(static_cast<unsigned char>(text[i])) : 0;
        if (unit != expected) std::abort();
        *at += 2;
    }
}

WORD WordAt(const std::vector<BYTE>& t, size_t at) {
    if (at + 2 > t.size()) std::abort();
    return static_cast<WORD>(t[at] | (t[at + 1] << 8));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider provider(data, size);
    Dialog d;
    d.cy = provider.ConsumeIntegral<short>();
    d.pointSize = provider.ConsumeIntegral<WORD>();
    d.caption = provider.ConsumeRandomLengthString(512);
    d.typeface = provider.ConsumeRandomLengthString(64);
    size_t count = provider.ConsumeIntegralInRange<size_t>(0, 8);
    for (size_t i = 0; i < count; ++i) {
        Item item;
        item.cy = static_cast<short>(d.cy - provider.ConsumeIntegral<short>());
        item.className = provider.ConsumeBool() ? std::string() : provider.ConsumeRandomLengthString(32);
        item.text = provider.ConsumeRandomLengthString(1024);
        d.items.push_back(item);
    }

    std::vector<DWORD> measuredOffsets, writtenOffsets;
    DWORD measured = Define(d, nullptr, &measuredOffsets);
    // Exactly the measured size: a write past it is a heap overflow.
    std::vector<BYTE> block(measured, 0xCC);
    DWORD written = Define(d, block.data(), &writtenOffsets);
    if (written != measured || writtenOffsets != measuredOffsets) std::abort();

    // Header: style, extended style, count, x, y, cx, cy, menu, class,
    // title, point size, typeface.
    if (WordAt(block, 8) != d.items.size() || static_cast<short>(WordAt(block, 16)) != d.cy) std::abort();
    size_t at = 18;
    ExpectString(block, &at, "");
    ExpectString(block, &at, "");
    ExpectString(block, &at, d.caption);
    if (WordAt(block, at) != d.pointSize) std::abort();
    at += 2;
    ExpectString(block, &at, d.typeface);
    for (size_t i = 0; i < d.items.size(); ++i) {
        // Each item starts on the next DWORD boundary, the padding zeroed.
        for (; at % 4 != 0; ++at) {
            if (block[at] != 0) std::abort();
        }
        if (at != writtenOffsets[i]) std::abort();
        const Item& item = d.items[i];
        if (static_cast<short>(WordAt(block, at + 14)) != item.cy || WordAt(block, at + 16) != 1004) std::abort();
        at += 18;
        if (item.className.empty()) {
            if (WordAt(block, at) != 0xFFFF || WordAt(block, at + 2) != 0x0080) std::abort();
            at += 4;
        } else {
            ExpectString(block, &at, item.className);
        }
        ExpectString(block, &at, item.text);
        if (WordAt(block, at) != 0) std::abort();  // creation data
        at += 2;
    }
    for (; at < block.size(); ++at) {
        if (block[at] != 0) std::abort();
    }
    if (at % 4 != 0) std::abort();
    return 0;
}
