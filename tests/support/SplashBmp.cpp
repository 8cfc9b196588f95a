#include "tests/support/SplashBmp.h"

#include <windows.h>

namespace {
std::string MakeBmp(int width, int height, bool redBlue) {
    // Rows are padded to a multiple of four bytes.
    int stride = (width * 3 + 3) & ~3;
    BITMAPFILEHEADER file = {};
    BITMAPINFOHEADER info = {};
    file.bfType = 0x4D42;  // "BM"
    file.bfOffBits = sizeof(file) + sizeof(info);
    file.bfSize = file.bfOffBits + stride * height;
    info.biSize = sizeof(info);
    info.biWidth = width;
    info.biHeight = height;
    info.biPlanes = 1;
    info.biBitCount = 24;
    info.biSizeImage = stride * height;
    std::string bytes(reinterpret_cast<const char*>(&file), sizeof(file));
    bytes.append(reinterpret_cast<const char*>(&info), sizeof(info));
    if (!redBlue) {
        bytes.append(static_cast<size_t>(stride) * height, '\x80');
        return bytes;
    }
    for (int y = 0; y < height; ++y) {
        std::string row(stride, '\0');
        for (int x = 0; x < width; ++x) {
            bool left = x < width / 2;
            row[x * 3 + 0] = left ? '\0' : '\xFF';  // blue
            row[x * 3 + 2] = left ? '\xFF' : '\0';  // red
        }
        bytes += row;
    }
    return bytes;
}
}  // namespace

std::string MakeSplashBmp(int width, int height) { return MakeBmp(width, height, false); }

std::string MakeRedBlueSplashBmp(int width, int height) { return MakeBmp(width, height, true); }
