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

std::string ReadFileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

bool WriteFileBytes(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(out);
}

bool RunUnixProgram(const std::string& commandLine, DWORD timeoutMs) {
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process = {};
    std::string line = commandLine;
    if (!CreateProcessA(nullptr, &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process)) {
        return false;
    }
    // Wine reports no meaningful exit code for Unix programs; callers check
    // the effect instead.
    DWORD waited = WaitForSingleObject(process.hProcess, timeoutMs);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return waited == WAIT_OBJECT_0;
}

bool MovePointerTo(int x, int y) {
    return RunUnixProgram("/usr/bin/xdotool mousemove --sync " + std::to_string(x) + " " + std::to_string(y));
}

bool ClickAt(int x, int y) {
    return MovePointerTo(x, y) && RunUnixProgram("/usr/bin/xdotool click 1");
}

namespace {

// Binary PPM (P6, maxval 255) as ImageMagick writes it.
bool ReadPpm(const std::string& path, Screenshot* shot) {
    std::string bytes = ReadFileBytes(path);
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
    RunUnixProgram("/usr/bin/import -window root \"" + UnixPathOf(png) + "\"");
    RunUnixProgram("/usr/bin/convert \"" + UnixPathOf(png) + "\" -depth 8 \"ppm:" + UnixPathOf(ppm) + "\"");
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
