#pragma once
// Reading the headers of a Windows executable from its bytes, without
// loading it: whether it is one at all, and what the launcher's checks need.
#include <string>
#include <vector>

struct PeHeaders {
    unsigned machine = 0;    // IMAGE_FILE_MACHINE_I386 = 0x14c
    unsigned magic = 0;      // 0x10b for PE32, 0x20b for PE32+
    unsigned subsystem = 0;  // 2 GUI, 3 console
};

// False when bytes are not a PE image (no MZ header, no PE signature, or
// headers that run past the end).
bool ReadPeHeaders(const std::string& bytes, PeHeaders* headers);

// The DLL names of the import table, as stored. False when the image is not
// a PE or its import table points outside the file.
bool ReadImportedDlls(const std::string& bytes, std::vector<std::string>* dlls);

// False when the resource tree is damaged: it lies outside the file, an
// entry or a name runs past it, it has other than three levels (types,
// names, languages), or a resource's data lies outside the file. An image
// without resources passes. The system's loader trusts all of this, and
// reads out of bounds or endlessly when it is wrong.
bool CheckResources(const std::string& bytes);
