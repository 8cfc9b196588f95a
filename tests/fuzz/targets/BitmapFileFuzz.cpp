// The splash's check of BMP bytes over any input: it reads only inside the
// bytes it is given, and whatever it calls complete has every part its
// headers describe inside them.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "ui/BitmapFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // A copy of exactly size bytes, so that any read past them is caught.
    unsigned char* bytes = static_cast<unsigned char*>(std::malloc(size ? size : 1));
    for (size_t i = 0; i < size; ++i) bytes[i] = data[i];
    bool incomplete = IsIncompleteBitmapFile(bytes, size);
    // Anything shorter than the file header cannot be a whole BMP file.
    if (size >= 2 && size < 14 && bytes[0] == 'B' && bytes[1] == 'M' && !incomplete) std::abort();
    std::free(bytes);
    return 0;
}
