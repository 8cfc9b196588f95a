#include "runtime/JavaRelease.h"

#include <windows.h>

#include "base/PathExists.h"
#include "framework/ScopedWin.h"
#include "framework/Text.h"
#include "runtime/Version.h"

namespace {

// A release file is a few hundred bytes; more is not a release file.
const DWORD kReleaseLimit = 64 * 1024;

}  // namespace

CString ParseReleaseValue(const char* releaseText, const char* key) {
    Text text = releaseText ? releaseText : "";
    Text prefix = Text(key) + "=";
    for (size_t lineStart = 0; lineStart < text.size();) {
        size_t lineEnd = text.find('\n', lineStart);
        if (lineEnd == Text::npos) lineEnd = text.size();
        if (text.compare(lineStart, prefix.size(), prefix) == 0) {
            Text value = text.substr(lineStart + prefix.size(), lineEnd - lineStart - prefix.size());
            if (!value.empty() && value[value.size() - 1] == '\r') value.erase(value.size() - 1);
            if (value.size() >= 2 && value[0] == '"' && value[value.size() - 1] == '"')
                value = value.substr(1, value.size() - 2);
            return CString(value.c_str());
        }
        lineStart = lineEnd + 1;
    }
    return CString();
}

CString ParseReleaseVersion(const char* releaseText) {
    return ParseReleaseValue(releaseText, "JAVA_VERSION");
}

ReleaseFile ReadReleaseFile(const CString& home) {
    ReleaseFile release;
    if (home.IsEmpty()) return release;
    CString path = WithoutTrailingBackslash(home) + "\\release";
    ScopedHandle file(CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.IsValid()) {
        // A file that exists but cannot be opened is unreadable, not absent.
        DWORD error = GetLastError();
        release.present = error != ERROR_FILE_NOT_FOUND && error != ERROR_PATH_NOT_FOUND;
        return release;
    }
    release.present = true;
    Text text(kReleaseLimit, '\0');
    DWORD read = 0;
    if (!ReadFile(file, &text[0], kReleaseLimit - 1, &read, nullptr)) return release;
    text.resize(read);
    release.version = ParseReleaseVersion(text.c_str());
    release.implementor = ParseReleaseValue(text.c_str(), "IMPLEMENTOR");
    release.runtimeVersion = ParseReleaseValue(text.c_str(), "JAVA_RUNTIME_VERSION");
    return release;
}

CString ReadReleaseVersion(const CString& home) {
    return ReadReleaseFile(home).version;
}

bool IsJava9OrLaterHome(const CString& home) {
    if (home.IsEmpty()) return false;
    CString version = ReadReleaseVersion(home);
    if (!version.IsEmpty()) return VersionAtLeast("9", version);
    return PathExists(WithoutTrailingBackslash(home) + "\\jmods");
}

bool IsDevelopmentKitHome(const CString& home) {
    if (home.IsEmpty()) return false;
    CString trimmed = WithoutTrailingBackslash(home);
    return PathExists(trimmed + "\\bin\\javac.exe") || PathExists(trimmed + "\\jmods") ||
           PathExists(trimmed + "\\lib\\tools.jar");
}

CString WithoutTrailingBackslash(const CString& home) {
    int length = home.GetLength();
    if (length > 0 && home.GetString()[length - 1] == '\\') return CString(home.GetString(), length - 1);
    return home;
}
