#pragma once
// The launcher's own file path and folder.

// Fills buffer (MAX_PATH characters) with the launcher's path; returns the
// index of its last backslash, or -1 when no path was obtained or it has no
// backslash. The buffer always holds a valid, possibly empty, string.
int GetLauncherFolder(char* buffer);
