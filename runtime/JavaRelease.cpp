#include "runtime/JavaRelease.h"

#include <windows.h>

#include <string>

#include "framework/ScopedWin.h"
#include "base/PathExists.h"
#include "runtime/Version.h"

namespace {

const char kVersionKey[] = "JAVA_VERSION=";
// A release file is a few hundred bytes; more is not a release file.
const DWORD kReleaseLimit = 64 * 1024;

}  // namespace

CString ParseReleaseVersion(const char* releaseText) {
    std::string text = releaseText ? releaseText : "";
    const size_t keyLength = sizeof(kVersionKey) - 1;
    for (size_t lineStart = 0; lineStart < text.size();) {
        size_t lineEnd = text.find('\n', lineStart);
        if (lineEnd == std::string::npos) lineEnd = text.size();
        if (text.compare(lineStart, keyLength, kVersionKey) == 0) {
            std::string value = text.substr(lineStart + keyLength, lineEnd - lineStart - keyLength);
            if (!value.empty() && value[value.size() - 1] == '\r') value.erase(value.size() - 1);
            if (value.size() >= 2 && value[0] == '"' && value[value.size() - 1] == '"')
                value = value.substr(1, value.size() - 2);
            return CString(value.c_str());
        }
        lineStart = lineEnd + 1;
    }
    return CString();
}

CString ReadReleaseVersion(const CString& home) {
    if (home.IsEmpty()) return CString();
    CString path = WithoutTrailingBackslash(home) + "\\release";
    ScopedHandle file(CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.IsValid()) return CString();
    std::string text(kReleaseLimit, '\0');
    DWORD read = 0;
    if (!ReadFile(file, &text[0], kReleaseLimit - 1, &read, nullptr)) return CString();
    text.resize(read);
    return ParseReleaseVersion(text.c_str());
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
