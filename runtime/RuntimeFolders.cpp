#include "runtime/RuntimeFolders.h"

#include <windows.h>

#include <cctype>
#include <cstring>
#include <new>

#include "base/Environment.h"
#include "base/Globals.h"
#include "base/PathExists.h"
#include "framework/Array.h"
#include "framework/ScopedWin.h"
#include "framework/Text.h"
#include "runtime/MoreRegistryKeys.h"
#include "runtime/RegistryKeys.h"
#include "runtime/RegistryLookup.h"
#include "runtime/VersionProbe.h"

namespace {

// Below each program-files root; the last part may hold a wildcard.
const char* const kVendorFolders[] = {
    "Java\\*",          "Eclipse Adoptium\\*", "AdoptOpenJDK\\*",    "Microsoft\\jdk-*",
    "Zulu\\*",          "BellSoft\\*",         "Amazon Corretto\\*", "SapMachine\\JDK\\*",
    "SapMachine\\JRE\\*", "Semeru\\*",         "OpenJDK\\*",
};

// Under a root variable: a pattern whose matches are homes, or, with a
// suffix, folders whose <suffix> is the home.
struct UserFolder {
    const char* variable;
    const char* pattern;
    const char* suffix;
};
const UserFolder kUserFolders[] = {
    {"USERPROFILE", ".jdks\\*", ""},
    {"USERPROFILE", "scoop\\apps\\*", "\\current"},
    {"ProgramData", "scoop\\apps\\*", "\\current"},
    {"USERPROFILE", ".jabba\\jdk\\*", ""},
};

bool LooksLikeHome(const CString& home) {
    return PathExists(home + "\\bin\\java.exe") || PathExists(home + "\\bin\\javaw.exe");
}

// Every sub folder matching root\pattern whose <suffix> looks like a home,
// in the order the file system lists them.
void AddMatches(Array<FoundHome>& found, const CString& root, const char* pattern, const char* suffix,
                const CString& source) {
    CString full = root + "\\" + pattern;
    const char* lastSlash = strrchr(full.GetString(), '\\');
    CString parent(full.GetString(), static_cast<int>(lastSlash - full.GetString()));
    WIN32_FIND_DATAA entry;
    HANDLE search = FindFirstFileA(full, &entry);
    if (search == INVALID_HANDLE_VALUE) return;
    do {
        if (!(entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) || entry.cFileName[0] == '.') continue;
        CString home = parent + "\\" + entry.cFileName + suffix;
        if (LooksLikeHome(home)) AddFoundHome(found, home, CString(), source, root);
    } while (FindNextFileA(search, &entry));
    FindClose(search);
}

// The target of a link, or path itself.
CString FinalPath(const CString& path) {
    ScopedHandle file(CreateFileA(path, 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                  OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (!file.IsValid()) return path;
    char buffer[MAX_PATH] = {};
    DWORD length = GetFinalPathNameByHandleA(file, buffer, MAX_PATH, FILE_NAME_NORMALIZED);
    if (length == 0 || length >= MAX_PATH) return path;
    const char* text = buffer;
    if (strncmp(text, "\\\\?\\", 4) == 0 && text[5] == ':') text += 4;
    return CString(text);
}

bool EndsWith(const Text& text, const char* tail) {
    size_t length = strlen(tail);
    return text.size() >= length && lstrcmpiA(text.c_str() + text.size() - length, tail) == 0;
}

// Oracle's javapath folder holds links to the current runtime's programs on
// newer installs, copies of a small launcher on older ones. That launcher
// starts the runtime the registry's current version names, in the view of
// the installer that put it there.
CString JavapathCopyHome() {
    CString home = GetCurrentJreHome(HKEY_LOCAL_MACHINE, 0);
    REGSAM other = OtherRegistryView();
    if (home.IsEmpty() && other != 0) home = GetCurrentJreHome(HKEY_LOCAL_MACHINE, other);
    return home;
}

// The only entries that name one folder whatever the working folder is: a
// drive and a backslash, or a UNC path. Any other is resolved against the
// working folder, where whoever chose it may have put a javaw.exe.
bool IsAbsoluteFolder(const Text& folder) {
    if (folder.size() >= 3 && isalpha(static_cast<unsigned char>(folder[0])) && folder[1] == ':' &&
        (folder[2] == '\\' || folder[2] == '/'))
        return true;
    return folder.size() >= 3 && folder[0] == '\\' && folder[1] == '\\';
}

// A UNC path or a mapped network drive: a server that does not answer holds
// each file query for tens of seconds.
bool IsOnNetwork(const Text& folder) {
    if (folder[0] == '\\') return true;
    char root[] = {folder[0], ':', '\\', '\0'};
    return GetDriveTypeA(root) == DRIVE_REMOTE;
}

// The javaw.exe a PATH folder holds, after any link, or "".
CString JavawInFolder(const CString& folder) {
    CString exe = FinalPath(folder + "\\javaw.exe");
    return PathExists(exe) ? exe : CString();
}

// Shared by the waiting thread and the looking one; the last to let go
// deletes it, so a lookup that is given up may still end safely.
struct Lookup {
    LONG references;
    PathLookup look;
    CString path;
    CString answer;
};

void LetGo(Lookup* lookup) {
    if (InterlockedDecrement(&lookup->references) == 0) delete lookup;
}

DWORD WINAPI LookUp(void* parameter) {
    Lookup* lookup = static_cast<Lookup*>(parameter);
    lookup->answer = lookup->look(lookup->path);
    LetGo(lookup);
    return 0;
}

// A share's lookup may wait this long when the search has no budget.
const DWORD kShareLookupMs = 3000;

}  // namespace

bool LookUpWithinProbeBudget(PathLookup look, const CString& path, CString* answer) {
    Lookup* lookup = new (std::nothrow) Lookup();
    if (!lookup) return false;
    lookup->references = 2;
    lookup->look = look;
    lookup->path = path;
    ScopedHandle thread(CreateThread(nullptr, 0, LookUp, lookup, 0, nullptr));
    if (!thread.IsValid()) {
        delete lookup;
        return false;
    }
    DWORD wait = g_probeTimeLeftMs == INFINITE ? kShareLookupMs : g_probeTimeLeftMs;
    DWORD started = GetTickCount();
    bool answered = WaitForSingleObject(thread, wait) == WAIT_OBJECT_0;
    SpendProbeTime(GetTickCount() - started);
    if (answered) *answer = lookup->answer;
    LetGo(lookup);
    return answered;
}

void GatherFolderHomes(Array<FoundHome>& found) {
    static const char* const kRoots[] = {"ProgramFiles", "ProgramFiles(x86)", "ProgramW6432"};
    CString seen[3];
    for (int i = 0; i < 3; ++i) {
        CString root = GetEnvironmentText(kRoots[i]);
        // ProgramW6432 repeats ProgramFiles in a 64-bit process.
        bool repeated = root.IsEmpty();
        for (int j = 0; j < i; ++j) repeated = repeated || lstrcmpiA(seen[j], root) == 0;
        seen[i] = root;
        if (repeated) continue;
        for (const char* folder : kVendorFolders)
            AddMatches(found, root, folder, "", CString("%") + kRoots[i] + "%\\" + folder);
    }
    CString local = GetEnvironmentText("LOCALAPPDATA");
    if (!local.IsEmpty())
        for (const char* folder : kVendorFolders)
            AddMatches(found, local + "\\Programs", folder, "", CString("%LOCALAPPDATA%\\Programs\\") + folder);
    for (const UserFolder& folder : kUserFolders) {
        CString root = GetEnvironmentText(folder.variable);
        if (root.IsEmpty()) continue;
        AddMatches(found, root, folder.pattern, folder.suffix,
                   CString("%") + folder.variable + "%\\" + folder.pattern + folder.suffix);
    }
}

void GatherPathHomes(Array<FoundHome>& found) {
    Text path = GetEnvironmentText("PATH").GetString();
    for (size_t start = 0; start <= path.size();) {
        size_t end = path.find(';', start);
        if (end == Text::npos) end = path.size();
        Text folder = path.substr(start, end - start);
        start = end + 1;
        if (folder.size() >= 2 && folder[0] == '"' && folder[folder.size() - 1] == '"')
            folder = folder.substr(1, folder.size() - 2);
        if (!IsAbsoluteFolder(folder)) continue;
        bool onNetwork = IsOnNetwork(folder);
        while (!folder.empty() && folder[folder.size() - 1] == '\\') folder.erase(folder.size() - 1);
        CString exe;
        if (onNetwork) {
            if (!LookUpWithinProbeBudget(JavawInFolder, folder.c_str(), &exe)) continue;
        } else {
            exe = JavawInFolder(folder.c_str());
        }
        if (exe.IsEmpty()) continue;
        CString source = CString("PATH ") + folder.c_str();
        if (EndsWith(exe.GetString(), "\\Oracle\\Java\\javapath\\javaw.exe")) {
            AddFoundHome(found, JavapathCopyHome(), CString(), source);
            continue;
        }
        const char kBinJavaw[] = "\\bin\\javaw.exe";
        int homeLength = exe.GetLength() - static_cast<int>(strlen(kBinJavaw));
        if (homeLength <= 0 || !EndsWith(exe.GetString(), kBinJavaw)) continue;
        CString home(exe.GetString(), homeLength);
        const char* lastBackslash = strrchr(home.GetString(), '\\');
        CString above = lastBackslash ? CString(home.GetString(), static_cast<int>(lastBackslash - home.GetString()))
                                      : CString();
        AddFoundHome(found, home, CString(), source, above.IsEmpty() ? home : above);
    }
}
