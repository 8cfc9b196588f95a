#include "framework/DialogTemplate.h"

#include <cstring>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "ui/NagScreen.h"

namespace {

// Reads the template as the system does, piece by piece.
class TemplateReader {
public:
    explicit TemplateReader(const std::vector<BYTE>& bytes) : m_bytes(bytes), m_at(0) {}
    size_t Offset() const { return m_at; }
    WORD Word() {
        WORD value = 0;
        if (m_at + 2 <= m_bytes.size()) std::memcpy(&value, &m_bytes[m_at], 2);
        m_at += 2;
        return value;
    }
    DWORD Dword() {
        DWORD low = Word();
        return low | (static_cast<DWORD>(Word()) << 16);
    }
    short Short() { return static_cast<short>(Word()); }
    // A zero-terminated UTF-16 string holding only ASCII, as 8-bit text.
    std::string String() {
        std::string text;
        for (WORD unit = Word(); unit != 0 && m_at <= m_bytes.size(); unit = Word()) text += static_cast<char>(unit);
        return text;
    }
    // Skips the zero fill up to the next 4-byte boundary; false when a
    // fill byte is not zero.
    bool AlignedWithZeros() {
        bool zeros = true;
        while (m_at % 4 != 0) {
            if (m_at < m_bytes.size() && m_bytes[m_at] != 0) zeros = false;
            ++m_at;
        }
        return zeros;
    }

private:
    const std::vector<BYTE>& m_bytes;
    size_t m_at;
};

std::vector<BYTE> NagScreenTemplate(const char* caption, int height) {
    NagScreen dialog(caption, "https://example.org/", "text", height);
    Array<BYTE> bytes = dialog.BuildTemplate();
    return std::vector<BYTE>(bytes.begin(), bytes.end());
}

}  // namespace

TEST(DialogTemplateTest, FailureDialogOfHeight55IsAHeaderOf100BytesARichEditOf48AndAButtonOf32) {
    std::vector<BYTE> bytes = NagScreenTemplate("Application Cannot Start", 55);
    ASSERT_EQ(bytes.size(), 180u);
    TemplateReader in(bytes);

    EXPECT_EQ(in.Dword(), 0x80C000C8u) << "popup, caption, modal frame, font, no system menu";
    EXPECT_EQ(in.Dword(), 0x00000008u) << "topmost";
    EXPECT_EQ(in.Word(), 2) << "item count";
    EXPECT_EQ(in.Short(), 0);
    EXPECT_EQ(in.Short(), 0);
    EXPECT_EQ(in.Short(), 337);
    EXPECT_EQ(in.Short(), 55);
    EXPECT_EQ(in.String(), "") << "menu";
    EXPECT_EQ(in.String(), "") << "window class";
    EXPECT_EQ(in.String(), "Application Cannot Start");
    EXPECT_EQ(in.Word(), 8) << "point size";
    EXPECT_EQ(in.String(), "MS Shell Dlg");
    EXPECT_TRUE(in.AlignedWithZeros());
    ASSERT_EQ(in.Offset(), 100u);

    EXPECT_EQ(in.Dword(), 0x50010805u) << "child, visible, tab stop, read-only, multi-line, centred";
    EXPECT_EQ(in.Dword(), 0u);
    EXPECT_EQ(in.Short(), 7);
    EXPECT_EQ(in.Short(), 7);
    EXPECT_EQ(in.Short(), 323);
    EXPECT_EQ(in.Short(), 25);
    EXPECT_EQ(in.Word(), 1004);
    EXPECT_EQ(in.String(), "RichEdit20A");
    EXPECT_EQ(in.String(), "") << "title";
    EXPECT_EQ(in.Word(), 0) << "creation data size";
    EXPECT_TRUE(in.AlignedWithZeros());
    ASSERT_EQ(in.Offset(), 148u);

    EXPECT_EQ(in.Dword(), 0x50000001u) << "child, visible, default push button";
    EXPECT_EQ(in.Dword(), 0u);
    EXPECT_EQ(in.Short(), 141);
    EXPECT_EQ(in.Short(), 34);
    EXPECT_EQ(in.Short(), 50);
    EXPECT_EQ(in.Short(), 14);
    EXPECT_EQ(in.Word(), IDOK);
    EXPECT_EQ(in.Word(), 0xFFFF) << "class given as an ordinal";
    EXPECT_EQ(in.Word(), 0x0080) << "button";
    EXPECT_EQ(in.String(), "OK");
    EXPECT_EQ(in.Word(), 0) << "creation data size";
    EXPECT_TRUE(in.AlignedWithZeros());
    EXPECT_EQ(in.Offset(), 180u);
}

TEST(DialogTemplateTest, ControlsFollowTheDialogHeight) {
    struct Case { int height; short editHeight; short buttonY; };
    const Case cases[] = {{55, 25, 34}, {80, 50, 59}, {100, 70, 79}};
    for (const Case& c : cases) {
        std::vector<BYTE> bytes = NagScreenTemplate("Application Cannot Start", c.height);
        ASSERT_EQ(bytes.size(), 180u);
        short editHeight, buttonY;
        std::memcpy(&editHeight, &bytes[100 + 14], 2);
        std::memcpy(&buttonY, &bytes[148 + 10], 2);
        EXPECT_EQ(editHeight, c.editHeight) << "height " << c.height;
        EXPECT_EQ(buttonY, c.buttonY) << "height " << c.height;
    }
}

TEST(DialogTemplateTest, EveryPieceIsPaddedToAFourByteBoundary) {
    // The caption's length moves the end of the header through all four
    // remainders; the items must still start on a boundary.
    const char* captions[] = {"", "A", "AB", "ABC", "ABCD", "Application Cannot Start"};
    for (const char* caption : captions) {
        DWORD header = WriteDialogHeader(nullptr, caption, 0, 0, 0, 0, 1, 1, 8, "MS Shell Dlg", "", "");
        EXPECT_EQ(header % 4, 0u) << '"' << caption << '"';
        DWORD unpadded = 18 + 2 + 2 + 2 * (static_cast<DWORD>(std::strlen(caption)) + 1) + 2 + 26;
        EXPECT_GE(header, unpadded);
        EXPECT_LT(header, unpadded + 4);

        DialogItemClass edit = {"RichEdit20A", 0};
        DWORD item = WriteDialogItem(nullptr, caption, 0, 0, 0, 0, 1, 1, 1, edit);
        EXPECT_EQ(item % 4, 0u) << '"' << caption << '"';
    }
}

TEST(DialogTemplateTest, MeasuringAndWritingGiveTheSameSizeAndNoByteIsLeftUnwritten) {
    DialogItemClass button = {nullptr, 0x0080};
    DWORD size = WriteDialogItem(nullptr, "Cancel", WS_CHILD, 0, 1, 2, 3, 4, 5, button);
    std::vector<BYTE> bytes(size + 8, 0xCC);
    EXPECT_EQ(WriteDialogItem(bytes.data(), "Cancel", WS_CHILD, 0, 1, 2, 3, 4, 5, button), size);
    for (DWORD i = 0; i < size; ++i) EXPECT_NE(bytes[i], 0xCC) << "byte " << i;
    for (DWORD i = size; i < bytes.size(); ++i) EXPECT_EQ(bytes[i], 0xCC) << "byte " << i << " past the piece";
}

TEST(DialogTemplateTest, AnsiTextIsConvertedFromTheAnsiCodePage) {
    // 0xE9 is e-acute in code page 1252.
    DialogItemClass button = {nullptr, 0x0080};
    std::vector<BYTE> bytes(64, 0);
    WriteDialogItem(bytes.data(), "caf\xE9", 0, 0, 0, 0, 0, 0, 0, button);
    WORD units[5];
    std::memcpy(units, &bytes[22], sizeof(units));
    EXPECT_EQ(units[0], L'c');
    EXPECT_EQ(units[3], 0x00E9);
    EXPECT_EQ(units[4], 0);
}
