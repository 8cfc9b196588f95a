#pragma once
// Checks on the bytes of a BMP file before the picture loader sees them.
#include <cstddef>

// True when bytes start like a BMP file ("BM") but do not hold all of it:
// the file header, the bitmap header, the colour table or the pixel rows the
// headers describe reach past size bytes, or the header is too short to say.
// Other data gives false; whether it is an image is the loader's to decide.
bool IsIncompleteBitmapFile(const unsigned char* bytes, size_t size);
