#pragma once
// The tool's only contact with the file system, one implementation per
// system family (Win32 here, POSIX in host/). Paths and reasons are UTF-8;
// the reasons for the common failures read the same on every system, so the
// tool's messages do too.
#include <string>

// False with the reason (say "no such file or folder") when path cannot be
// read whole.
bool ReadWholeFile(const std::string& path, std::string* bytes, std::string* reason);

// True when path names an existing file or folder; "/" and "\\" both
// separate folders on Windows, only "/" elsewhere.
bool PathExistsOnHost(const std::string& path);

// Where replacing a file failed.
enum class ReplaceStage {
    Existing,   // the output exists and is read-only or a folder: not ours to replace
    Temporary,  // no temporary file could be made beside it
    Write,      // writing the temporary file failed
    Rename,     // it could not take the output's place
};

// Writes bytes to a temporary file beside path and renames it to path, so a
// failure never leaves a half-written output. A file being replaced keeps its
// permission bits; where path is a symbolic link (POSIX), its target is
// replaced and the link stays. False with the stage and the reason; the
// temporary file is then gone.
bool ReplaceWholeFile(const std::string& path, const std::string& bytes, ReplaceStage* stage, std::string* reason);

// The reasons both implementations give for the failures they tell apart.
namespace FileReason {
const char* const kNotFound = "no such file or folder";
const char* const kAccessDenied = "access denied";
const char* const kFolder = "it is a folder";
const char* const kInUse = "the file is in use by another program";
const char* const kDiskFull = "the disk is full";
const char* const kTooLarge = "the file is larger than 2 GB";
}  // namespace FileReason
