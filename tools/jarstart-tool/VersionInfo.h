#pragma once
// The VERSIONINFO resource Explorer shows for an executable: the fixed
// numbers and the US-English, Unicode string table of names.
#include <string>
#include <utility>
#include <vector>

struct VersionFields {
    unsigned short number[4] = {0, 0, 0, 0};  // file and product version
    bool hasNumber = false;                  // FileVersion / ProductVersion strings written
    std::string product;                     // "" leaves the string out
    std::string company;
    std::string description;
    std::string copyright;
};

// "1", "1.2", "1.2.3" or "1.2.3.4", each part a decimal 0..65535; missing
// parts are 0. False for anything else.
bool ParseVersionNumber(const std::string& text, unsigned short number[4]);

// The resource's bytes; the strings are UTF-8.
std::string EncodeVersionInfo(const VersionFields& fields);

// The resource id and language the tool writes it with (0x0409 matches the
// string table "040904B0").
const unsigned short VERSION_RESOURCE_ID = 1;
const unsigned short VERSION_LANGUAGE = 0x0409;

// What a VERSIONINFO resource holds, read back: the fixed file version and
// every string of every string table, in order, as UTF-8.
struct DecodedVersionInfo {
    bool hasFixed = false;
    unsigned short fileVersion[4] = {0, 0, 0, 0};
    unsigned short productVersion[4] = {0, 0, 0, 0};
    std::vector<std::pair<std::string, std::string>> strings;  // name, value
};

// False when bytes are no version resource or a block runs past its
// parent; nothing outside bytes is ever read.
bool DecodeVersionInfo(const std::string& bytes, DecodedVersionInfo* info);

// "1.2.3.4".
std::string VersionNumberText(const unsigned short number[4]);
