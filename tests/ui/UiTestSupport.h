#pragma once
// Helpers of the user-interface tests: real input and screenshots through
// the X tools on the private display, which Wine starts like Windows programs.
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "tools/testing/common/FileUtil.h"

// The Unix path of a Windows path (through the Z: drive of the prefix).
std::string UnixPathOf(const std::string& windowsPath);
// Windows path of a file committed under tests/ui/data/.
std::string TestDataPath(const std::string& name);
bool WriteFileBytes(const std::string& path, const std::string& bytes);

// Runs a Unix program (absolute path first) and waits for it; false when it
// could not be started or did not end within the timeout.
bool RunUnixProgram(const std::string& commandLine, DWORD timeoutMs = 30000);

// A real pointer click / move on the X display, at screen coordinates.
bool ClickAt(int x, int y);
bool MovePointerTo(int x, int y);
// A key press and release, sent to whatever window has the keyboard focus.
void PressKey(WORD key);

// The whole X screen as it is now; also kept as build\screenshots\<name>.png.
struct Screenshot {
    int width = 0;
    int height = 0;
    std::vector<unsigned char> rgb;
    COLORREF Pixel(int x, int y) const {
        size_t at = (static_cast<size_t>(y) * width + x) * 3;
        return RGB(rgb[at], rgb[at + 1], rgb[at + 2]);
    }
};
bool TakeScreenshot(const std::string& name, Screenshot* shot);

// Polls condition (every 20 ms) until it holds or timeoutMs passes.
bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs);
// Near within tolerance in each colour channel.
bool ColourNear(COLORREF a, COLORREF b, int tolerance);

// Points Wine's browser list at a script that records each address it is
// asked to open, and restores the list afterwards.
class RecordingBrowser {
public:
    RecordingBrowser();
    ~RecordingBrowser();
    bool Ready() const { return m_ready; }
    // Every address opened so far, one a line.
    std::string Opened() const { return ReadWholeFile(m_record); }

private:
    std::string m_record;
    bool m_ready = false;
    HKEY m_key = nullptr;
    bool m_hadOld = false;
    std::string m_old;
};
