#include "framework/DialogTemplate.h"

#include <cstring>

namespace {

// Appends the bytes at offset when out is given; returns the new offset.
DWORD PutBytes(BYTE* out, DWORD offset, const void* bytes, DWORD count) {
    if (out) std::memcpy(out + offset, bytes, count);
    return offset + count;
}

DWORD PutWord(BYTE* out, DWORD offset, WORD value) {
    return PutBytes(out, offset, &value, sizeof(value));
}

DWORD PutDword(BYTE* out, DWORD offset, DWORD value) {
    return PutBytes(out, offset, &value, sizeof(value));
}

// A string as UTF-16 with its terminating zero; an empty (or null) string is
// the single zero unit.
DWORD PutString(BYTE* out, DWORD offset, const char* text) {
    if (!text || !*text) return PutWord(out, offset, 0);
    int units = MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0);
    if (units <= 0) return PutWord(out, offset, 0);
    if (out) MultiByteToWideChar(CP_ACP, 0, text, -1, reinterpret_cast<WCHAR*>(out + offset), units);
    return offset + static_cast<DWORD>(units) * sizeof(WCHAR);
}

DWORD PadToDword(BYTE* out, DWORD offset) {
    while (offset % 4 != 0) {
        if (out) out[offset] = 0;
        ++offset;
    }
    return offset;
}

}  // namespace

DWORD WriteDialogHeader(BYTE* out, const char* title, DWORD style, DWORD exStyle, short x, short y,
                        short cx, short cy, WORD pointSize, const char* typeface, const char* menu,
                        const char* windowClass) {
    DWORD at = 0;
    at = PutDword(out, at, style);
    at = PutDword(out, at, exStyle);
    at = PutWord(out, at, 0);  // item count, stored once all items are known
    at = PutWord(out, at, static_cast<WORD>(x));
    at = PutWord(out, at, static_cast<WORD>(y));
    at = PutWord(out, at, static_cast<WORD>(cx));
    at = PutWord(out, at, static_cast<WORD>(cy));
    at = PutString(out, at, menu);
    at = PutString(out, at, windowClass);
    at = PutString(out, at, title);
    at = PutWord(out, at, pointSize);
    at = PutString(out, at, typeface);
    return PadToDword(out, at);
}

DWORD WriteDialogItem(BYTE* out, const char* text, DWORD style, DWORD exStyle, short x, short y,
                      short cx, short cy, WORD id, const DialogItemClass& windowClass) {
    DWORD at = 0;
    at = PutDword(out, at, style);
    at = PutDword(out, at, exStyle);
    at = PutWord(out, at, static_cast<WORD>(x));
    at = PutWord(out, at, static_cast<WORD>(y));
    at = PutWord(out, at, static_cast<WORD>(cx));
    at = PutWord(out, at, static_cast<WORD>(cy));
    at = PutWord(out, at, id);
    if (windowClass.name) {
        at = PutString(out, at, windowClass.name);
    } else {
        at = PutWord(out, at, 0xFFFF);
        at = PutWord(out, at, windowClass.ordinal);
    }
    at = PutString(out, at, text);
    at = PutWord(out, at, 0);  // no creation data
    return PadToDword(out, at);
}

void SetDialogItemCount(BYTE* dialogTemplate, WORD count) {
    // The count follows the style and extended style words.
    std::memcpy(dialogTemplate + 2 * sizeof(DWORD), &count, sizeof(count));
}
