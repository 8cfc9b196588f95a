// The VM options joining rule over any file content, read through a real
// stream as the launcher does.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "base/CodePages.h"
#include "base/Environment.h"
#include "base/LauncherFolder.h"
#include "base/LauncherProperties.h"
#include "launcher/VmOptions.h"

// LoadVmOptions shares the file with ReadVmOptionLines; these are what it
// would call, and the target never calls it.
int GetLauncherFolder(char* buffer) {
    buffer[0] = '\0';
    return -1;
}

CString ReadStringProperty(unsigned) { return CString(); }
CString ExpandEnvironmentText(const char* text) { return CString(text); }
CString GetEnvironmentText(const char*) { return CString(); }
void AppendToDiagnosticFile(const char*, const char*) {}
bool IsValidUtf8(const char*, int) { return true; }
Text ConvertCodePage(const char* text, int length, UINT, UINT) { return Text(text, static_cast<size_t>(length)); }
UINT SystemAnsiCodePage() { return 1252; }

namespace {

FILE* OpenContent(const uint8_t* data, size_t size) {
    FILE* file = tmpfile();
    if (!file) return nullptr;
    if (size > 0 && std::fwrite(data, 1, size, file) != size) {
        std::fclose(file);
        return nullptr;
    }
    std::rewind(file);
    return file;
}

// The joining rule written out over the bytes: lines end at a line feed,
// which is dropped; a line stops after 4095 characters and then the reading
// ends; each read adds its text up to any NUL and one blank; reading goes
// on while the last read neither reached the end nor failed, and a read
// that takes nothing fails.
std::string Join(const std::string& content) {
    const size_t kLongest = 4095;
    std::string joined;
    size_t at = 0;
    bool good = true;
    while (good) {
        std::string line;
        size_t taken = 0;
        bool end = false, cut = false;
        for (;;) {
            if (at == content.size()) {
                end = true;
                break;
            }
            if (content[at] == '\n') {
                ++at;
                ++taken;
                break;
            }
            if (line.size() == kLongest) {
                cut = true;
                break;
            }
            line += content[at++];
            ++taken;
        }
        good = !end && !cut && taken > 0;
        std::string text = line.c_str();
        size_t first = text.compare(0, 3, "\xEF\xBB\xBF") == 0 ? 3 : 0;
        first = text.find_first_not_of(" \t", first);
        if (first != std::string::npos && text[first] == '#') continue;
        joined += text;
        joined += ' ';
    }
    return joined;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FILE* file = OpenContent(data, size);
    if (!file) return 0;
    CString options = ReadVmOptionLines(file);
    std::fclose(file);

    const std::string content(reinterpret_cast<const char*>(data), size);
    const std::string joined(options.GetString(), options.GetLength());
    size_t lineFeeds = 0;
    for (char c : content) lineFeeds += c == '\n';

    if (joined != Join(content)) std::abort();
    // Every read adds one blank, the last failing read included, unless it
    // was a comment line, which adds nothing.
    const bool mayHoldComments = content.find('#') != std::string::npos;
    if (!mayHoldComments && (joined.empty() || joined[joined.size() - 1] != ' ')) std::abort();
    if (joined.find('\n') != std::string::npos) std::abort();
    // Stored characters exclude the line feeds; there is at most one read
    // per line feed plus the last line and the failing read, each one blank.
    if (joined.size() > content.size() - lineFeeds + lineFeeds + 2) std::abort();
    // Without line feeds, NULs and overlong lines the file is one line ended
    // by the end of the file: one read, one blank.
    if (lineFeeds == 0 && !mayHoldComments && content.find('\0') == std::string::npos && content.size() < 4095 &&
        !content.empty()) {
        if (joined != content + " ") std::abort();
    }
    return 0;
}
