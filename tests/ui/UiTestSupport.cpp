#include "tests/ui/UiTestSupport.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "tests/support/Paths.h"

std::string UnixPathOf(const std::string& windowsPath) {
    typedef char* (CDECL * UnixFileName)(LPCWSTR);
    static UnixFileName toUnix = reinterpret_cast<UnixFileName>(
        GetProcAddress(GetModuleHandleA("kernel32.dll"), "wine_get_unix_file_name"));
    if (!toUnix) return std::string();
    wchar_t wide[MAX_PATH];
    if (!MultiByteToWideChar(CP_ACP, 0, windowsPath.c_str(), -1, wide, MAX_PATH)) return std::string();
    char* unixPath = toUnix(wide);
    if (!unixPath) return std::string();
    std::string result(unixPath);
    HeapFree(GetProcessHeap(), 0, unixPath);
    return result;
}

std::string TestDataPath(const std::string& name) {
    // The compiler sees this source by its absolute Unix path, which the Z:
    // drive of the prefix reaches.
    std::string source = __FILE__;
    source.erase(source.find_last_of('/') + 1);
    std::string path = "Z:" + source + "data/" + name;
    for (char& c : path) {
        if (c == '/') c = '\\';
    }
    return path;
}

bool WriteFileBytes(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(out);
}

bool RunUnixProgram(const std::string& commandLine, DWORD timeoutMs) {
    // Wine does not track a Unix child: its process handle is signalled at
    // once and carries no exit code. So the command runs in a shell that
    // leaves a marker file when it is done, and the marker is awaited.
    static int runs = 0;
    CreateDirectoryA((BuildDir() + "tmp").c_str(), nullptr);
    std::string marker = BuildDir() + "tmp\\unix-done-" + std::to_string(GetCurrentProcessId()) + "-" +
                         std::to_string(++runs);
    DeleteFileA(marker.c_str());
    std::string line = "/bin/sh -c \"" + commandLine + "; touch '" + UnixPathOf(marker) + "'\"";
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process = {};
    if (!CreateProcessA(nullptr, &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process)) {
        return false;
    }
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    bool done = WaitUntil([&] { return GetFileAttributesA(marker.c_str()) != INVALID_FILE_ATTRIBUTES; }, timeoutMs);
    DeleteFileA(marker.c_str());
    return done;
}

bool MovePointerTo(int x, int y) {
    return RunUnixProgram("/usr/bin/xdotool mousemove --sync " + std::to_string(x) + " " + std::to_string(y));
}

void PressKey(WORD key) {
    INPUT input[2] = {};
    input[0].type = INPUT_KEYBOARD;
    input[0].ki.wVk = key;
    input[1] = input[0];
    input[1].ki.dwFlags = KEYEVENTF_KEYUP;
    SendInput(2, input, sizeof(INPUT));
}

bool ClickAt(int x, int y) {
    return RunUnixProgram("/usr/bin/xdotool mousemove --sync " + std::to_string(x) + " " + std::to_string(y) +
                          " click 1");
}

namespace {

// Binary PPM (P6, maxval 255) as ImageMagick writes it.
bool ReadPpm(const std::string& path, Screenshot* shot) {
    std::string bytes = ReadWholeFile(path);
    std::istringstream in(bytes);
    std::string magic;
    int maxValue = 0;
    in >> magic >> shot->width >> shot->height >> maxValue;
    if (magic != "P6" || maxValue != 255 || shot->width <= 0 || shot->height <= 0) return false;
    in.get();  // the single blank after the header
    size_t size = static_cast<size_t>(shot->width) * shot->height * 3;
    size_t at = static_cast<size_t>(in.tellg());
    if (bytes.size() < at + size) return false;
    shot->rgb.assign(bytes.begin() + at, bytes.begin() + at + size);
    return true;
}

}  // namespace

bool TakeScreenshot(const std::string& name, Screenshot* shot) {
    std::string folder = BuildDir() + "screenshots\\";
    CreateDirectoryA(folder.c_str(), nullptr);
    std::string png = folder + name + ".png";
    std::string ppm = MakeTempFolder("ui-screenshot") + name + ".ppm";
    DeleteFileA(png.c_str());
    if (!RunUnixProgram("/usr/bin/import -window root '" + UnixPathOf(png) + "' && /usr/bin/convert '" +
                        UnixPathOf(png) + "' -depth 8 'ppm:" + UnixPathOf(ppm) + "'")) {
        return false;
    }
    return ReadPpm(ppm, shot);
}

bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs) {
    DWORD start = GetTickCount();
    for (;;) {
        if (condition()) return true;
        if (GetTickCount() - start >= timeoutMs) return false;
        Sleep(20);
    }
}

bool ColourNear(COLORREF a, COLORREF b, int tolerance) {
    return std::abs(GetRValue(a) - GetRValue(b)) <= tolerance && std::abs(GetGValue(a) - GetGValue(b)) <= tolerance &&
           std::abs(GetBValue(a) - GetBValue(b)) <= tolerance;
}

RecordingBrowser::RecordingBrowser() {
    std::string folder = MakeTempFolder("ui-browser");
    m_record = folder + "opened.txt";
    std::string script = folder + "record-browser.sh";
    WriteFileBytes(script, "#!/bin/sh\nprintf '%s\\n' \"$*\" >> '" + UnixPathOf(m_record) + "'\n");
    m_ready = RunUnixProgram("chmod +x '" + UnixPathOf(script) + "'");
    RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\Wine\\WineBrowser", 0, nullptr, 0, KEY_READ | KEY_WRITE, nullptr,
                    &m_key, nullptr);
    char old[1024] = {};
    DWORD size = sizeof(old) - 1;
    m_hadOld = RegQueryValueExA(m_key, "Browsers", nullptr, nullptr, reinterpret_cast<BYTE*>(old), &size) ==
               ERROR_SUCCESS;
    m_old = old;
    std::string browsers = UnixPathOf(script);
    RegSetValueExA(m_key, "Browsers", 0, REG_SZ, reinterpret_cast<const BYTE*>(browsers.c_str()),
                   static_cast<DWORD>(browsers.size() + 1));
}

RecordingBrowser::~RecordingBrowser() {
    if (m_hadOld) {
        RegSetValueExA(m_key, "Browsers", 0, REG_SZ, reinterpret_cast<const BYTE*>(m_old.c_str()),
                       static_cast<DWORD>(m_old.size() + 1));
    } else {
        RegDeleteValueA(m_key, "Browsers");
    }
    RegCloseKey(m_key);
}
