#pragma once
// The launcher's own file path and folder.

// Fills buffer (MAX_PATH characters) with the launcher's path; returns the
// index of its last backslash, or -1 when no path was obtained or it has no
// backslash. The buffer always holds a valid, possibly empty, string.
int GetLauncherFolder(char* buffer);

// The part of GetLauncherFolder after GetModuleFileNameA wrote buffer and
// returned length: a path that did not fit (length MAX_PATH, the path cut)
// or none at all empties the buffer and gives -1.
int LauncherFolderIndex(char* buffer, unsigned long length);
