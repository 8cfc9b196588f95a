#pragma once
// True when stat() succeeds: an existing file or directory (a drive root
// counts; a trailing backslash elsewhere, a wildcard or "" do not).
bool PathExists(const char* path);
