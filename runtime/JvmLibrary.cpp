#include "runtime/JvmLibrary.h"

#include <windows.h>

#include <cstring>

#include "base/PathExists.h"
#include "framework/ScopedWin.h"
#include "runtime/ExeMachine.h"
#include "runtime/JavaRelease.h"

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

// One entry of a jvm.cfg line: its name without the dash, its flag, and
// for an alias the name it points to.
struct JvmConfigEntry {
    CString name;
    CString flag;
    CString target;
};

// Reads the words of one line; false for comments and blank lines.
bool ParseJvmConfigLine(const char* line, const char* end, JvmConfigEntry* entry) {
    CString words[3];
    int count = 0;
    const char* p = line;
    while (p < end && count < 3) {
        while (p < end && IsBlank(*p)) ++p;
        if (p == end || (count == 0 && *p == '#')) break;
        const char* start = p;
        while (p < end && !IsBlank(*p)) ++p;
        words[count++] = CString(start, static_cast<int>(p - start));
    }
    if (count < 2 || words[0].GetString()[0] != '-') return false;
    entry->name = words[0].GetString() + 1;
    entry->flag = words[1];
    entry->target = count > 2 && words[2].GetString()[0] == '-' ? CString(words[2].GetString() + 1) : CString();
    return true;
}

bool IsUsableFlag(const CString& flag) { return flag == "KNOWN" || flag == "WARN"; }

// Calls visit for each entry, in file order, until it returns true.
template <typename Visit>
bool ForEachJvmConfigEntry(const char* text, Visit visit) {
    const char* p = text ? text : "";
    while (*p) {
        const char* end = p;
        while (*end && *end != '\n' && *end != '\r') ++end;
        JvmConfigEntry entry;
        if (ParseJvmConfigLine(p, end, &entry) && visit(entry)) return true;
        p = *end ? end + 1 : end;
    }
    return false;
}

bool IsUsableVm(const char* text, const CString& name) {
    return ForEachJvmConfigEntry(text, [&](const JvmConfigEntry& e) { return e.name == name && IsUsableFlag(e.flag); });
}

// The file's text, at most 16 KB (a jvm.cfg has a few lines); "" when it
// cannot be read.
CString ReadSmallTextFile(const CString& path) {
    ScopedHandle file(CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.IsValid()) return CString();
    char buffer[16 * 1024 + 1];
    DWORD read = 0;
    if (!ReadFile(file, buffer, sizeof(buffer) - 1, &read, nullptr)) return CString();
    buffer[read] = '\0';
    return CString(buffer);
}

bool IsFile(const CString& path) {
    DWORD attributes = GetFileAttributesA(path);
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// Before Java 9 the file sits in a folder named for the machine.
const char* JvmConfigArchFolder(unsigned machine) {
    return machine == 0x8664 ? "amd64" : machine == 0xAA64 ? "aarch64" : "i386";
}

}  // namespace

CString DefaultVmOfJvmConfig(const char* jvmCfgText) {
    CString chosen;
    ForEachJvmConfigEntry(jvmCfgText, [&](const JvmConfigEntry& e) {
        if (IsUsableFlag(e.flag)) {
            chosen = e.name;
            return true;
        }
        if (e.flag == "ALIASED_TO" && !e.target.IsEmpty() && IsUsableVm(jvmCfgText, e.target)) {
            chosen = e.target;
            return true;
        }
        return false;
    });
    return chosen;
}

CString HomeOfJavaProgram(const CString& javaPath) {
    const char* path = javaPath;
    const char* name = std::strrchr(path, '\\');
    if (!name || name - path < 4) return CString();
    const char* bin = name - 4;
    if (bin[0] != '\\' || CompareStringA(LOCALE_INVARIANT, NORM_IGNORECASE, bin + 1, 3, "bin", 3) != CSTR_EQUAL)
        return CString();
    return CString(path, static_cast<int>(bin - path));
}

JvmLibraryChoice ChooseJvmLibrary(const CString& home, unsigned launcherMachine) {
    JvmLibraryChoice choice;
    CString runtimeHome = WithoutTrailingBackslash(home);
    // A Java 8 kit runs its programs from its own runtime in jre\.
    CString kitRuntime = runtimeHome + "\\jre";
    if (IsFile(kitRuntime + "\\bin\\java.exe") || PathExists(kitRuntime + "\\bin\\server") ||
        PathExists(kitRuntime + "\\bin\\client"))
        runtimeHome = kitRuntime;
    choice.binFolder = runtimeHome + "\\bin";

    CString config = runtimeHome + "\\lib\\jvm.cfg";
    if (!IsFile(config)) config = runtimeHome + "\\lib\\" + JvmConfigArchFolder(launcherMachine) + "\\jvm.cfg";
    CString vm = IsFile(config) ? DefaultVmOfJvmConfig(ReadSmallTextFile(config)) : CString();
    const char* fallbacks[] = {"server", "client"};
    if (!vm.IsEmpty() && IsFile(choice.binFolder + "\\" + vm + "\\jvm.dll")) {
        choice.path = choice.binFolder + "\\" + vm + "\\jvm.dll";
    } else {
        for (const char* name : fallbacks) {
            CString candidate = choice.binFolder + "\\" + name + "\\jvm.dll";
            if (!IsFile(candidate)) continue;
            choice.path = candidate;
            break;
        }
    }
    if (choice.path.IsEmpty()) {
        choice.reason = "no jvm.dll in " + choice.binFolder + "\\server or " + choice.binFolder + "\\client";
        if (!vm.IsEmpty()) choice.reason += " (" + config + " names " + vm + ")";
        return choice;
    }
    unsigned machine = ExecutableMachine(choice.path);
    if (machine != launcherMachine) {
        choice.reason = choice.path + " is " + MachineName(machine) + ", the launcher " + MachineName(launcherMachine);
        return choice;
    }
    choice.possible = true;
    return choice;
}
