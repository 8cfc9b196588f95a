#pragma once
// Reading back what the tool wrote, independently of the tool's own code:
// through the loader, as the launcher reads its resources.
#include <map>
#include <string>
#include <vector>

// Quotes one argument for a command line so that the C runtime's argv
// splitting gives back exactly arg.
std::string QuoteArgument(const std::string& arg);

// The properties "jarstart-tool show" prints, by id; fails the test when a
// line is neither "ID NAME=VALUE" nor one of the lines describing the file.
std::map<int, std::string> ShowProperties(const std::string& exe, std::string* splashLine = nullptr);

// The string id of exe loaded as a data file as the launcher reads it, in
// UTF-8 ("" when absent).
std::string LoadPropertyLikeLauncher(const std::string& exe, int id);

// The languages in which exe holds resource (type, id).
std::vector<unsigned> ResourceLanguages(const std::string& exe, int type, int id);

// The bytes of resource (type, id) as FindResourceA picks it; false when absent.
bool ReadResourceBytes(const std::string& exe, int type, int id, std::string* bytes);
bool ReadNamedResource(const std::string& exe, int type, const char* name, std::string* bytes);

// Copies build\jarstart.exe into folder under name; returns the full path.
std::string CopyLauncher(const std::string& folder, const std::string& name);

// Adds a resource to an existing file (adding works under Wine; deleting does not).
bool AddResource(const std::string& exe, const char* type, const char* name, unsigned language, const std::string& bytes);

// The file names in folder (no paths), sorted.
std::vector<std::string> FolderEntries(const std::string& folder);

// A 32-bit icon image of side pixels: header, colour pixels in a pattern
// that depends on side, and the mask.
std::string IconImageBytes(int side);

struct IcoImage {
    int side;
    std::string bytes;
};

// An .ico file: the directory, then the images in order.
std::string IcoFile(const std::vector<IcoImage>& images);
