#include "launcher/VmOptions.h"

#include <share.h>

#include <cstring>

#include <windows.h>

#include "base/CodePages.h"
#include "base/DiagnosticLog.h"
#include "base/Environment.h"
#include "base/LauncherFolder.h"
#include "base/LauncherProperties.h"
#include "base/PropertyIds.h"
#include "framework/Text.h"

namespace {

// One line read the way a stream reads a line into a character buffer of
// kLineBuffer bytes: the line feed is consumed but not stored; the end of
// the file sets eof; a line that fills the buffer stops there with fail set
// and its next character left unread; a read that takes nothing at all
// (not even a line feed) sets fail too.
const int kLineBuffer = 4096;

struct LineRead {
    bool good;  // no eof, fail or error flag after this read
};

LineRead ReadLine(FILE* file, char* buffer) {
    int stored = 0;
    int taken = 0;
    bool eof = false;
    bool fail = false;
    for (;;) {
        int c = std::getc(file);
        if (c == EOF) {
            eof = true;
            if (std::ferror(file)) fail = true;
            break;
        }
        if (c == '\n') {
            ++taken;
            break;
        }
        if (stored == kLineBuffer - 1) {
            std::ungetc(c, file);
            fail = true;
            break;
        }
        buffer[stored++] = static_cast<char>(c);
        ++taken;
    }
    if (taken == 0) fail = true;
    buffer[stored] = '\0';
    LineRead result = {!eof && !fail};
    return result;
}

}  // namespace

bool IsVmOptionsComment(const char* line) {
    // A file saved as UTF-8 with a byte order mark carries it before its
    // first line, where the comment sign then follows.
    if (std::strncmp(line, "\xEF\xBB\xBF", 3) == 0) line += 3;
    while (*line == ' ' || *line == '\t') ++line;
    return *line == '#';
}

CString ReadVmOptionLines(FILE* file, CString (*expandLine)(const char*)) {
    CString options;
    char line[kLineBuffer];
    // The state is tested before each read and every read is kept, the
    // failing last one included: that is what gives a file ending in a line
    // feed its second trailing blank and an empty file its single blank.
    bool good = true;
    while (good) {
        good = ReadLine(file, line).good;
        // No JVM option starts with "#", so a comment line is dropped whole,
        // blank and all; every other line joins as it always did.
        if (IsVmOptionsComment(line)) continue;
        // Line by line: a %NAME% never spans two lines.
        if (expandLine) options += expandLine(line);
        else options += line;
        options += ' ';
    }
    return options;
}

CString VmOptionsInOwnCodePage(const CString& fileText) {
    const char* text = fileText.GetString();
    int length = fileText.GetLength();
    // The launcher's manifest makes its own code page UTF-8, but files
    // written before (or by Notepad in its default encoding) are in the
    // system's ANSI code page; a file in that code page is practically never
    // well-formed UTF-8 once it holds a character outside ASCII.
    if (IsValidUtf8(text, length)) {
        const char kByteOrderMark[] = "\xEF\xBB\xBF";
        if (length >= 3 && std::memcmp(text, kByteOrderMark, 3) == 0) {
            text += 3;
            length -= 3;
        }
        return CString(ConvertCodePage(text, length, CP_UTF8, CP_ACP).c_str());
    }
    return CString(ConvertCodePage(text, length, SystemAnsiCodePage(), CP_ACP).c_str());
}

namespace {

// Each line in the launcher's code page first, then its variables: their
// values are in that code page already.
CString ExpandLineInOwnCodePage(const char* line) {
    return ExpandEnvironmentText(VmOptionsInOwnCodePage(line));
}

// Logs the file as found or not; false when it cannot be read.
bool ReadVmOptionsFile(const CString& fileName, CString* options) {
    g_log << "Try to load VM options from file: " << fileName << logEnd;
    FILE* file = _fsopen(fileName, "r", _SH_DENYNO);
    if (!file) {
        g_log << "File was not found: " << fileName << logEnd;
        return false;
    }
    g_log << "File was found: " << fileName << logEnd;
    *options = ReadVmOptionLines(file, ExpandLineInOwnCodePage);
    std::fclose(file);
    return true;
}

}  // namespace

CString UserVmOptionsFile(const char* launcherPath, const char* appData) {
    if (!launcherPath || !*launcherPath || !appData || !*appData) return CString();
    Text path = launcherPath;
    Text fileName = path.substr(path.find_last_of('\\') + 1);
    Text name = fileName.substr(0, fileName.find_last_of('.'));
    if (name.empty()) name = fileName;
    Text folder = appData;
    if (folder.back() != '\\') folder += '\\';
    return CString(folder + name + "\\" + fileName + ".vmoptions");
}

CString LoadVmOptions() {
    char path[MAX_PATH];
    GetLauncherFolder(path);  // the full path is kept: "tool.exe.vmoptions"
    // Without the launcher's own path there is no file beside it; a bare
    // ".vmoptions" would be looked for in whatever folder the user is in.
    CString fileName = path[0] ? CString(path) + ".vmoptions" : CString();

    write("Loading VM options.");
    CString options;
    if (!ReadVmOptionsFile(fileName, &options)) options = ExpandEnvironmentText(ReadStringProperty(PROP_VM_PARAMS));

    // After the launcher's own options: the runtime takes the last of a
    // repeated option, so the user's choice wins.
    CString userFile = UserVmOptionsFile(path, GetEnvironmentText("APPDATA"));
    CString userOptions;
    if (!userFile.IsEmpty() && ReadVmOptionsFile(userFile, &userOptions)) {
        if (!options.IsEmpty() && options.GetString()[options.GetLength() - 1] != ' ') options += ' ';
        options += userOptions;
    }
    return options;
}
