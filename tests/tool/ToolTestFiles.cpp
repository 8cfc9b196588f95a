#include "tests/tool/ToolTestFiles.h"

#include <windows.h>

#include <algorithm>
#include <cstring>

#include <gtest/gtest.h>

#include "framework/ScopedWin.h"
#include "tests/support/Paths.h"
#include "tests/tool/RunTool.h"

std::string QuoteArgument(const std::string& arg) {
    std::string out = "\"";
    size_t backslashes = 0;
    for (char c : arg) {
        if (c == '\\') {
            ++backslashes;
            continue;
        }
        // Backslashes before a quote are doubled, and the quote escaped.
        out.append(c == '"' ? backslashes * 2 + 1 : backslashes, '\\');
        backslashes = 0;
        out.push_back(c);
    }
    out.append(backslashes * 2, '\\');  // before the closing quote
    out.push_back('"');
    return out;
}

std::map<int, std::string> ShowProperties(const std::string& exe, std::string* splashLine) {
    std::map<int, std::string> props;
    ToolRun run = RunTool("show " + QuoteArgument(exe));
    EXPECT_EQ(run.exitCode, 0u) << run.err;
    for (const std::string& line : Lines(run.out)) {
        if (line.compare(0, 13, "splash image:") == 0) {
            if (splashLine) *splashLine = line;
            continue;
        }
        bool described = false;
        for (const char* label : {"example configuration:", "kind:", "machine:", "signature:", "splash format:", "icon:",
                                  "version"})
            if (line.compare(0, std::strlen(label), label) == 0) described = true;
        if (described) continue;
        size_t blank = line.find(' ');
        size_t equals = line.find('=');
        if (blank == std::string::npos || equals == std::string::npos || equals < blank) {
            ADD_FAILURE() << "unexpected show line: " << line;
            continue;
        }
        props[std::atoi(line.substr(0, blank).c_str())] = line.substr(equals + 1);
    }
    return props;
}

std::string LoadPropertyLikeLauncher(const std::string& exe, int id) {
    // The launcher's manifest makes its ANSI code page UTF-8, so its
    // LoadStringA gives UTF-8; a test program without it asks for UTF-16.
    ScopedModule module(LoadLibraryExA(exe.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE));
    if (!module) return "<cannot load>";
    std::vector<wchar_t> buffer(16384);
    int n = LoadStringW(module, id, buffer.data(), static_cast<int>(buffer.size()));
    if (n <= 0) return std::string();
    int bytes = WideCharToMultiByte(CP_UTF8, 0, buffer.data(), n, nullptr, 0, nullptr, nullptr);
    std::string text(static_cast<size_t>(bytes), '\0');
    WideCharToMultiByte(CP_UTF8, 0, buffer.data(), n, &text[0], bytes, nullptr, nullptr);
    return text;
}

namespace {
BOOL CALLBACK CollectLanguage(HMODULE, LPCSTR, LPCSTR, WORD language, LONG_PTR param) {
    reinterpret_cast<std::vector<unsigned>*>(param)->push_back(language);
    return TRUE;
}

bool ReadResource(const std::string& exe, LPCSTR type, LPCSTR name, std::string* bytes) {
    ScopedModule module(LoadLibraryExA(exe.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE));
    if (!module) return false;
    HRSRC found = FindResourceA(module, name, type);
    if (!found) return false;
    HGLOBAL loaded = LoadResource(module, found);
    const char* data = static_cast<const char*>(LockResource(loaded));
    bytes->assign(data, SizeofResource(module, found));
    return true;
}
}  // namespace

std::vector<unsigned> ResourceLanguages(const std::string& exe, int type, int id) {
    std::vector<unsigned> languages;
    ScopedModule module(LoadLibraryExA(exe.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE));
    if (module)
        EnumResourceLanguagesA(module, MAKEINTRESOURCEA(type), MAKEINTRESOURCEA(id), CollectLanguage,
                               reinterpret_cast<LONG_PTR>(&languages));
    return languages;
}

bool ReadResourceBytes(const std::string& exe, int type, int id, std::string* bytes) {
    return ReadResource(exe, MAKEINTRESOURCEA(type), MAKEINTRESOURCEA(id), bytes);
}

bool ReadNamedResource(const std::string& exe, int type, const char* name, std::string* bytes) {
    return ReadResource(exe, MAKEINTRESOURCEA(type), name, bytes);
}

std::string CopyLauncher(const std::string& folder, const std::string& name) {
    std::string target = folder + name;
    EXPECT_TRUE(CopyFileA((BuildDir() + "jarstart.exe").c_str(), target.c_str(), FALSE)) << GetLastError();
    return target;
}

bool AddResource(const std::string& exe, const char* type, const char* name, unsigned language, const std::string& bytes) {
    HANDLE update = BeginUpdateResourceA(exe.c_str(), FALSE);
    if (!update) return false;
    if (!UpdateResourceA(update, type, name, static_cast<WORD>(language), const_cast<char*>(bytes.data()),
                         static_cast<DWORD>(bytes.size()))) {
        EndUpdateResourceA(update, TRUE);
        return false;
    }
    return EndUpdateResourceA(update, FALSE) != 0;
}

std::vector<std::string> FolderEntries(const std::string& folder) {
    std::vector<std::string> names;
    WIN32_FIND_DATAA data;
    ScopedFindHandle find(FindFirstFileA((folder + "*").c_str(), &data));
    if (!find.IsValid()) return names;
    do {
        std::string name = data.cFileName;
        if (name != "." && name != "..") names.push_back(name);
    } while (FindNextFileA(find, &data));
    std::sort(names.begin(), names.end());
    return names;
}

namespace {
void AppendWord(std::string* out, unsigned value) {
    out->push_back(static_cast<char>(value & 0xFF));
    out->push_back(static_cast<char>((value >> 8) & 0xFF));
}

void AppendDword(std::string* out, unsigned long value) {
    AppendWord(out, value & 0xFFFF);
    AppendWord(out, (value >> 16) & 0xFFFF);
}
}  // namespace

std::string IconImageBytes(int side) {
    std::string image;
    AppendDword(&image, 40);
    AppendDword(&image, side);
    AppendDword(&image, side * 2);  // colour and mask stacked
    AppendWord(&image, 1);
    AppendWord(&image, 32);
    for (int i = 0; i < 6; ++i) AppendDword(&image, 0);
    for (int i = 0; i < side * side; ++i) AppendDword(&image, 0xFF000000ul | (i * 7919ul + side) % 0xFFFFFF);
    image.append(static_cast<size_t>((side + 31) / 32 * 4 * side), '\0');
    return image;
}

std::string IcoFile(const std::vector<IcoImage>& images) {
    std::string file;
    AppendWord(&file, 0);
    AppendWord(&file, 1);
    AppendWord(&file, static_cast<unsigned>(images.size()));
    unsigned long offset = 6 + 16 * static_cast<unsigned long>(images.size());
    for (const IcoImage& image : images) {
        file.push_back(static_cast<char>(image.side == 256 ? 0 : image.side));
        file.push_back(static_cast<char>(image.side == 256 ? 0 : image.side));
        file.push_back(0);
        file.push_back(0);
        AppendWord(&file, 1);
        AppendWord(&file, 32);
        AppendDword(&file, static_cast<unsigned long>(image.bytes.size()));
        AppendDword(&file, offset);
        offset += static_cast<unsigned long>(image.bytes.size());
    }
    for (const IcoImage& image : images) file += image.bytes;
    return file;
}
