#pragma once
// The launcher's own path and the two message boxes.

// Fills buffer (MAX_PATH characters) with the launcher's path; returns the
// index of its last backslash, or -1 when no path was obtained.
int GetLauncherFolder(char* buffer);
