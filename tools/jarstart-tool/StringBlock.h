#pragma once
// The binary layout of one string-table block: the resource of type
// RT_STRING whose id is n / 16 + 1 holds the strings n & ~15 .. (n & ~15) + 15,
// each as a 16-bit length followed by that many UTF-16 code units, absent
// strings as a length of 0.
#include <string>
#include <vector>

enum { STRINGS_PER_BLOCK = 16 };

// The block resource id that holds string id.
inline int StringBlockId(int id) { return id / STRINGS_PER_BLOCK + 1; }
// The first string id of a block.
inline int FirstIdOfBlock(int blockId) { return (blockId - 1) * STRINGS_PER_BLOCK; }

// Splits a block's bytes into its 16 strings. False when the bytes end
// inside an entry; entries after 16 are ignored (windres pads with zeros).
bool DecodeStringBlock(const std::string& bytes, std::vector<std::u16string>* strings);

// The bytes of a block holding strings (at most 16, the rest absent); a
// string longer than 65535 code units cannot be stored: false.
bool EncodeStringBlock(const std::vector<std::u16string>& strings, std::string* bytes);
