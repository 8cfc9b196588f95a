// The real launcher with splash images that are damaged, tiny, huge or
// noise. Each run ends one of two ways and no other: the splash appears
// sized to the image and centred and the application starts, or the splash
// error box appears, the launcher ends with 1 and nothing is started.
#include <windows.h>

#include <psapi.h>

#include <atomic>
#include <cstdio>
#include <random>
#include <string>
#include <thread>

#include <gtest/gtest.h>

#include "tests/support/FakeRuntime.h"
#include "tests/support/Files.h"
#include "tests/support/Launcher.h"
#include "tests/support/Paths.h"
#include "ui/BitmapFile.h"

namespace {

const char kSplashError[] = "Cannot load splash screen. Probably unsupported or invalid file.";

// ---- Image files, written byte by byte -------------------------------------

void PutLe16(std::string& out, unsigned value) {
    out += static_cast<char>(value & 0xFF);
    out += static_cast<char>((value >> 8) & 0xFF);
}

void PutLe32(std::string& out, unsigned long value) {
    PutLe16(out, value & 0xFFFF);
    PutLe16(out, (value >> 16) & 0xFFFF);
}

void PutBe16(std::string& out, unsigned value) {
    out += static_cast<char>((value >> 8) & 0xFF);
    out += static_cast<char>(value & 0xFF);
}

// A 1-bit BMP file in one colour (every pixel index 0 of a two-colour
// palette), so that even a huge one stays small: 10,000 x 10,000 pixels is
// 12.5 MB. Pixel data starts right after the headers and the palette.
std::string MakeOneBitBmp(int width, int height, COLORREF colour) {
    unsigned long stride = ((static_cast<unsigned long>(width) + 31) / 32) * 4;
    unsigned long pixelBytes = stride * static_cast<unsigned long>(height);
    unsigned long offset = 14 + 40 + 2 * 4;
    std::string bytes;
    bytes.reserve(offset + pixelBytes);
    bytes += "BM";
    PutLe32(bytes, offset + pixelBytes);  // file size
    PutLe32(bytes, 0);                    // reserved
    PutLe32(bytes, offset);               // pixel data offset
    PutLe32(bytes, 40);                   // BITMAPINFOHEADER
    PutLe32(bytes, width);
    PutLe32(bytes, height);
    PutLe16(bytes, 1);  // planes
    PutLe16(bytes, 1);  // bits per pixel
    PutLe32(bytes, 0);  // BI_RGB
    PutLe32(bytes, pixelBytes);
    PutLe32(bytes, 2835);  // 72 dpi
    PutLe32(bytes, 2835);
    PutLe32(bytes, 2);  // colours used
    PutLe32(bytes, 0);
    // Palette entries are blue, green, red, reserved.
    bytes += static_cast<char>(GetBValue(colour));
    bytes += static_cast<char>(GetGValue(colour));
    bytes += static_cast<char>(GetRValue(colour));
    bytes += '\0';
    PutLe32(bytes, 0x00FFFFFF);
    bytes.append(pixelBytes, '\0');
    return bytes;
}

// LZW codes packed least significant bit first, in sub-blocks of at most
// 255 bytes, as GIF image data is stored.
class GifCodeWriter {
public:
    void Put(unsigned code, int size) {
        m_bits |= static_cast<unsigned long>(code) << m_count;
        m_count += size;
        while (m_count >= 8) {
            m_data += static_cast<char>(m_bits & 0xFF);
            m_bits >>= 8;
            m_count -= 8;
        }
    }
    std::string Finish() {
        if (m_count > 0) m_data += static_cast<char>(m_bits & 0xFF);
        std::string blocks;
        for (size_t at = 0; at < m_data.size(); at += 255) {
            size_t n = m_data.size() - at < 255 ? m_data.size() - at : 255;
            blocks += static_cast<char>(n);
            blocks.append(m_data, at, n);
        }
        blocks += '\0';
        return blocks;
    }

private:
    std::string m_data;
    unsigned long m_bits = 0;
    int m_count = 0;
};

// A GIF of one colour. Its LZW data only ever needs runs of colour 0: after
// a clear code the n-th code stands for n pixels, so 100 million pixels fit
// in about 100 KB.
std::string MakeSolidGif(int width, int height, COLORREF colour) {
    std::string bytes = "GIF89a";
    PutLe16(bytes, width);
    PutLe16(bytes, height);
    bytes += static_cast<char>(0x80);  // global colour table of 2 entries
    bytes += '\0';                     // background colour index
    bytes += '\0';                     // no aspect ratio
    bytes += static_cast<char>(GetRValue(colour));
    bytes += static_cast<char>(GetGValue(colour));
    bytes += static_cast<char>(GetBValue(colour));
    bytes.append(3, '\xFF');
    bytes += ',';  // image descriptor
    PutLe16(bytes, 0);
    PutLe16(bytes, 0);
    PutLe16(bytes, width);
    PutLe16(bytes, height);
    bytes += '\0';  // no local colour table, not interlaced

    const int minimumSize = 2;
    const unsigned clear = 1u << minimumSize, end = clear + 1, firstFree = clear + 2;
    bytes += static_cast<char>(minimumSize);
    GifCodeWriter writer;
    int size = minimumSize + 1;
    unsigned nextCode = firstFree;
    writer.Put(clear, size);
    unsigned long long left = static_cast<unsigned long long>(width) * static_cast<unsigned long long>(height);
    unsigned long long run = 1;  // the longest run of colour 0 in the table
    while (left > 0) {
        unsigned long long take = run <= left ? run : left;
        writer.Put(take == 1 ? 0 : firstFree + static_cast<unsigned>(take - 2), size);
        left -= take;
        if (left == 0) break;
        // Each code adds the run one pixel longer than the one just written.
        ++nextCode;
        ++run;
        // The decoder adds its entry one code later, so it widens its codes
        // when the encoder's next free code passes the limit.
        if (nextCode > (1u << size) && size < 12) ++size;
        if (nextCode == 4096) {
            writer.Put(clear, size);
            size = minimumSize + 1;
            nextCode = firstFree;
            run = 1;
        }
    }
    writer.Put(end, size);
    bytes += writer.Finish();
    bytes += ';';
    return bytes;
}

// A baseline grey-scale JPEG of one grey (every block has a DC difference
// of 0 and no AC coefficients). With one-symbol Huffman tables each 8x8
// block takes two zero bits, so 10,000 x 10,000 pixels take 390 KB.
std::string MakeSolidJpeg(int width, int height) {
    std::string bytes = "\xFF\xD8";
    bytes += "\xFF\xDB";  // quantisation table 0, all ones
    PutBe16(bytes, 67);
    bytes += '\0';
    bytes.append(64, '\x01');
    bytes += "\xFF\xC0";  // baseline frame, one component
    PutBe16(bytes, 11);
    bytes += '\x08';
    PutBe16(bytes, height);
    PutBe16(bytes, width);
    bytes += '\x01';
    bytes += '\x01';  // component 1
    bytes += '\x11';  // no subsampling
    bytes += '\0';    // quantisation table 0
    for (int tableClass = 0; tableClass < 2; ++tableClass) {
        // One code of one bit: DC category 0, or the AC end of block.
        bytes += "\xFF\xC4";
        PutBe16(bytes, 2 + 1 + 16 + 1);
        bytes += static_cast<char>(tableClass << 4);
        bytes += '\x01';
        bytes.append(15, '\0');
        bytes += '\0';
    }
    bytes += "\xFF\xDA";
    PutBe16(bytes, 8);
    bytes += '\x01';
    bytes += '\x01';
    bytes += '\0';  // DC table 0, AC table 0
    bytes += '\0';
    bytes += '\x3F';
    bytes += '\0';
    unsigned long long blocks = static_cast<unsigned long long>((width + 7) / 8) * ((height + 7) / 8);
    unsigned long long bits = blocks * 2;
    bytes.append(static_cast<size_t>(bits / 8), '\0');
    // The last byte is padded with one bits.
    if (bits % 8) bytes += static_cast<char>(0xFF >> (bits % 8));
    bytes += "\xFF\xD9";
    return bytes;
}

std::string RandomBytes(unsigned seed, size_t count) {
    std::mt19937 generator(seed);
    std::string bytes(count, '\0');
    for (char& b : bytes) b = static_cast<char>(generator() & 0xFF);
    return bytes;
}

// ---- Running the launcher with an image -------------------------------------

struct SplashRun {
    LaunchResult result;
    bool splashSeen = false;
    RECT rect = {};
    bool applicationStarted = false;
    DWORD elapsedMs = 0;
    SIZE_T launcherPeakBytes = 0;  // committed memory of the launcher at its peak, 0 when unknown
};

std::string ProcessImagePath(DWORD processId) {
    HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId);
    if (!process) return std::string();
    char path[MAX_PATH] = {};
    DWORD size = MAX_PATH;
    std::string result = QueryFullProcessImageNameA(process, 0, path, &size) ? std::string(path, size) : "";
    CloseHandle(process);
    return result;
}

SIZE_T PeakCommitOf(DWORD processId) {
    HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, processId);
    if (!process) return 0;
    PROCESS_MEMORY_COUNTERS counters = {};
    counters.cb = sizeof(counters);
    SIZE_T peak = GetProcessMemoryInfo(process, &counters, sizeof(counters)) ? counters.PeakPagefileUsage : 0;
    CloseHandle(process);
    return peak;
}

struct WindowSearch {
    std::string exePath;
    HWND found;
};

BOOL CALLBACK FindSplashOf(HWND window, LPARAM param) {
    WindowSearch* search = reinterpret_cast<WindowSearch*>(param);
    char className[32] = {};
    GetClassNameA(window, className, sizeof(className));
    if (!IsWindowVisible(window) || lstrcmpiA(className, "Static") != 0) return TRUE;
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    if (lstrcmpiA(ProcessImagePath(processId).c_str(), search->exePath.c_str()) != 0) return TRUE;
    search->found = window;
    return FALSE;
}

// The visible splash of the launcher started from exePath, or null.
HWND FindVisibleSplash(const std::string& exePath) {
    WindowSearch search = {exePath, nullptr};
    EnumWindows(FindSplashOf, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// Runs a launcher whose splash is image. The stand-in application shows its
// window 4 s after it starts, which the launcher watches for and then ends
// with 0; so a splash that appears stays long enough to be measured.
SplashRun RunWithSplash(const std::string& name, const std::string& image, DWORD timeoutMs = 60000) {
    SplashRun run;
    std::string folder = MakeTempFolder("faults-splash-" + name);
    StandInBehaviour behaviour;
    behaviour.windowAfterMs = 4000;
    behaviour.liveMs = 6000;
    MakeFakeRuntime(folder + "rt", behaviour);
    std::string exe = PrepareLauncher(
        folder, {{96, "on"}, {98, "30"}, {99, "rt\\bin\\javaw.exe"}, {101, "app.jar"}, {102, "on"}}, "launcher.exe",
        &image);
    if (exe.empty()) return run;

    RunOptions options;
    options.timeoutMs = timeoutMs;
    std::atomic<SIZE_T> peakAtDialog(0);
    options.onDialog = [&](HWND dialog) {
        DWORD processId = 0;
        GetWindowThreadProcessId(dialog, &processId);
        peakAtDialog = PeakCommitOf(processId);
    };
    std::atomic<bool> done(false);
    DWORD start = GetTickCount();
    std::thread launcher([&] {
        run.result = RunLauncher(exe, "", options);
        done = true;
    });
    HWND splash = nullptr;
    WaitUntil([&] { return (splash = FindVisibleSplash(exe)) != nullptr || done; }, timeoutMs + 10000);
    if (splash) {
        run.splashSeen = true;
        GetWindowRect(splash, &run.rect);
        DWORD processId = 0;
        GetWindowThreadProcessId(splash, &processId);
        run.launcherPeakBytes = PeakCommitOf(processId);
    }
    launcher.join();
    run.elapsedMs = GetTickCount() - start;
    if (!run.launcherPeakBytes) run.launcherPeakBytes = peakAtDialog;
    // Nothing is started once the launcher has ended with its error; after
    // a splash the application is started and writes its record soon.
    run.applicationStarted = run.splashSeen ? WaitForRecordedRun(folder + "rt").found
                                            : ReadRecordedRun(folder + "rt").found;
    std::string outcome = run.splashSeen ? "splash shown"
                          : run.result.dialogs.empty() ? "no splash, no box"
                                                       : run.result.dialogs[0].text;
    std::printf("[ splash   ] %s: %lu bytes, %s, window %ld,%ld,%ld,%ld, exit code %lu, %lu ms, peak commit %lu KB\n",
                name.c_str(), static_cast<unsigned long>(image.size()), outcome.c_str(), run.rect.left, run.rect.top,
                run.rect.right, run.rect.bottom, static_cast<unsigned long>(run.result.exitCode),
                static_cast<unsigned long>(run.elapsedMs), static_cast<unsigned long>(run.launcherPeakBytes / 1024));
    return run;
}

// The splash appeared at the image's size, centred on the whole screen with
// the truncating division, and the application was started.
void ExpectSplashShown(const SplashRun& run, int width, int height) {
    ASSERT_TRUE(run.splashSeen) << "exit code " << run.result.exitCode
                                << (run.result.dialogs.empty() ? "" : ", box: " + run.result.dialogs[0].text) << "\n"
                                << JoinLog(run.result.log);
    int screenWidth = GetSystemMetrics(SM_CXSCREEN), screenHeight = GetSystemMetrics(SM_CYSCREEN);
    EXPECT_EQ(run.rect.right - run.rect.left, width);
    EXPECT_EQ(run.rect.bottom - run.rect.top, height);
    EXPECT_EQ(run.rect.left, (screenWidth - width) / 2);
    EXPECT_EQ(run.rect.top, (screenHeight - height) / 2);
    EXPECT_FALSE(run.result.timedOut);
    EXPECT_EQ(run.result.exitCode, 0u) << JoinLog(run.result.log);
    EXPECT_TRUE(run.result.dialogs.empty());
    EXPECT_TRUE(run.applicationStarted);
}

// The splash error box, exit code 1, no splash and no application.
void ExpectSplashError(const SplashRun& run) {
    EXPECT_TRUE(run.result.started);
    EXPECT_FALSE(run.result.timedOut);
    EXPECT_EQ(run.result.exitCode, 1u) << std::hex << run.result.exitCode << "\n" << JoinLog(run.result.log);
    ASSERT_EQ(run.result.dialogs.size(), 1u) << JoinLog(run.result.log);
    EXPECT_EQ(run.result.dialogs[0].text, kSplashError);
    EXPECT_EQ(run.result.dialogs[0].caption, "");
    EXPECT_FALSE(run.splashSeen);
    EXPECT_FALSE(run.applicationStarted);
    // The argument line is logged right before the start; the launcher
    // never got that far.
    for (const std::string& entry : run.result.log) EXPECT_NE(entry.rfind("Full argument line: ", 0), 0u) << entry;
}

}  // namespace

TEST(SplashFaultE2ETest, ABmpCutShortShowsTheErrorEndsWith1AndStartsNothing) {
    // 40 x 30 at 1 bit: 14 + 40 header bytes, 8 palette bytes, 30 rows of 8.
    std::string bmp = MakeOneBitBmp(40, 30, RGB(255, 0, 0));
    ASSERT_EQ(bmp.size(), 302u);
    struct Case { const char* name; size_t keep; };
    const Case cases[] = {
        {"bmp-cut-in-file-header", 10},  // the pixel offset is not all there
        {"bmp-cut-in-info-header", 30},  // width, height and bit count, then nothing
        {"bmp-cut-after-headers", 54},   // no palette, no pixels
        {"bmp-cut-in-pixels", 151},      // half the rows
        {"bmp-one-byte-short", 301},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ExpectSplashError(RunWithSplash(c.name, bmp.substr(0, c.keep)));
    }
}

TEST(SplashFaultE2ETest, ABmpWhosePixelOffsetPointsPastTheEndShowsTheError) {
    std::string bmp = MakeOneBitBmp(40, 30, RGB(255, 0, 0));
    // The pixel offset (bytes 10..13) moved from 62 to 62 + 8: the last row
    // would be read past the end of the file.
    bmp[10] = static_cast<char>(62 + 8);
    ExpectSplashError(RunWithSplash("bmp-offset-past-end", bmp));
}

TEST(SplashFaultE2ETest, AOnePixelBmpGifOrJpegShowsAOnePixelSplashCentredAndStartsTheApplication) {
    struct Case { const char* name; std::string image; };
    const Case cases[] = {
        {"bmp-1x1", MakeOneBitBmp(1, 1, RGB(255, 0, 0))},
        {"gif-1x1", MakeSolidGif(1, 1, RGB(255, 0, 0))},
        {"jpeg-1x1", MakeSolidJpeg(1, 1)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ExpectSplashShown(RunWithSplash(c.name, c.image), 1, 1);
    }
}

// 10,000 x 10,000 pixels take 12.5 MB as a 1-bit BMP, 66 KB as a GIF and
// 390 KB as a JPEG; loaded, each becomes a bitmap of 400 MB in the
// launcher's 32-bit address space (the GIF and JPEG decoders hold about as
// much again while they work). The system loads all three: the splash is
// far larger than the screen, at the negative position of the centring
// rule, and the application starts.
TEST(SplashFaultE2ETest, ATenThousandPixelSquareImageIsShownCentredOnTheScreenAndTheApplicationStarts) {
    struct Case { const char* name; std::string image; };
    const Case cases[] = {
        {"bmp-10000", MakeOneBitBmp(10000, 10000, RGB(255, 0, 0))},
        {"gif-10000", MakeSolidGif(10000, 10000, RGB(255, 0, 0))},
        {"jpeg-10000", MakeSolidJpeg(10000, 10000)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SplashRun run = RunWithSplash(c.name, c.image, 180000);
        ExpectSplashShown(run, 10000, 10000);
        EXPECT_LT(run.rect.left, 0);
        EXPECT_LT(run.rect.top, 0);
    }
}

// At 20,000 x 20,000 the bitmap would need 1.6 GB, more than a 32-bit
// process can give it in one piece: the load fails and the launcher says so.
TEST(SplashFaultE2ETest, AnImageTooLargeForTheLaunchersAddressSpaceShowsTheError) {
    // 1.6 GB of pixels exceed what a 32-bit process can map; the 64-bit
    // launcher has the room and would show it, which is no fault to test.
    if (sizeof(void*) != 4) GTEST_SKIP() << "the address space of a 64-bit launcher holds the image";
    struct Case { const char* name; std::string image; };
    const Case cases[] = {
        {"gif-20000", MakeSolidGif(20000, 20000, RGB(255, 0, 0))},
        {"jpeg-20000", MakeSolidJpeg(20000, 20000)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ExpectSplashError(RunWithSplash(c.name, c.image, 180000));
    }
}

// Noise, and noise behind the signature of each image kind, so that each
// loader gets to parse it. The seeds make every run use the same bytes.
TEST(SplashFaultE2ETest, RandomBytesShowTheErrorEndWith1AndStartNothing) {
    struct Case { const char* name; std::string image; };
    const Case cases[] = {
        {"random-1", RandomBytes(1, 4096)},
        {"random-2", RandomBytes(2, 65536)},
        {"random-bmp", "BM" + RandomBytes(3, 4094)},
        {"random-gif", "GIF89a" + RandomBytes(4, 4090)},
        {"random-jpeg", "\xFF\xD8\xFF" + RandomBytes(5, 4093)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ExpectSplashError(RunWithSplash(c.name, c.image));
    }
}

TEST(SplashFaultE2ETest, OnlyBitmapFilesThatRunPastTheirEndCountAsIncomplete) {
    std::string bmp = MakeOneBitBmp(40, 30, RGB(255, 0, 0));
    const unsigned char* bytes = reinterpret_cast<const unsigned char*>(bmp.data());
    EXPECT_FALSE(IsIncompleteBitmapFile(bytes, bmp.size()));
    for (size_t keep = 0; keep < bmp.size(); ++keep)
        EXPECT_EQ(IsIncompleteBitmapFile(bytes, keep), keep >= 2) << keep << " bytes";
    // Trailing bytes do no harm.
    std::string longer = bmp + std::string(100, '\x55');
    EXPECT_FALSE(IsIncompleteBitmapFile(reinterpret_cast<const unsigned char*>(longer.data()), longer.size()));
    // Other kinds are the loader's to judge.
    std::string gif = MakeSolidGif(40, 30, RGB(255, 0, 0));
    EXPECT_FALSE(IsIncompleteBitmapFile(reinterpret_cast<const unsigned char*>(gif.data()), 10));
    std::string noise = RandomBytes(1, 4096);
    if (noise[0] == 'B' && noise[1] == 'M') noise[0] = 'X';
    EXPECT_FALSE(IsIncompleteBitmapFile(reinterpret_cast<const unsigned char*>(noise.data()), noise.size()));
    // Sizes that overflow 32 bits: the rows of a 2^31 x 2^31 bitmap.
    std::string huge = bmp;
    huge[18] = huge[19] = huge[20] = '\0';
    huge[21] = '\x80';
    huge[22] = huge[23] = huge[24] = '\0';
    huge[25] = '\x7F';
    EXPECT_TRUE(IsIncompleteBitmapFile(reinterpret_cast<const unsigned char*>(huge.data()), huge.size()));
}
