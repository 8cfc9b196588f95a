#pragma once
// The launcher configuration file configure reads with --config: UTF-8
// text, one "NAME=value" a line, "#" lines and blank lines ignored. NAME is
// a property (PROP_... or its id) or one of splash, icon, version, product,
// company, description, copyright. Kept in version control beside the
// application, it says everything the command line would.
#include <string>
#include <vector>

// The configure options the file stands for, in its order ("--set",
// "NAME=value", "--splash", path, ...), so that options given after them
// on the command line win. Relative paths of splash and icon are taken
// from folder (the file's own folder, ending in a separator, or ""). False
// with "<fileName> line N: ..." for a line that is not a setting.
bool ConfigFileOptions(const std::string& text, const std::string& fileName, const std::string& folder,
                       std::vector<std::string>* options, std::string* error);

// The folder part of path including its last "/" or "\\"; "" for a bare name.
std::string FolderPartOf(const std::string& path);
