#include "launcher/JvmOptions.h"

#include <windows.h>

#include <cstring>

#include "framework/ScopedWin.h"

namespace {

template <typename Char>
bool IsSpace(Char c) { return c == ' ' || c == '\t'; }

// One word starting at p (no leading blanks); unescaped into out (room for
// the rest of the text), its length in *length. Returns where the next
// word's blanks start.
template <typename Char>
const Char* ReadWord(const Char* p, Char* out, int* length) {
    bool quoted = false;
    int n = 0;
    while (*p && (quoted || !IsSpace(*p))) {
        int backslashes = 0;
        while (*p == '\\') {
            ++backslashes;
            ++p;
        }
        if (*p == '"') {
            for (int i = 0; i < backslashes / 2; ++i) out[n++] = '\\';
            if (backslashes % 2 == 1) {
                out[n++] = '"';
            } else if (quoted && p[1] == '"') {
                out[n++] = '"';
                ++p;
            } else {
                quoted = !quoted;
            }
            ++p;
            continue;
        }
        for (int i = 0; i < backslashes; ++i) out[n++] = '\\';
        if (backslashes > 0) continue;
        out[n++] = *p++;
    }
    *length = n;
    return p;
}

template <typename Char>
void SplitWords(const Char* text, TextListOf<Char>* words) {
    if (!text) return;
    int total = TextListOf<Char>::Length(text);
    Char* word = new (std::nothrow) Char[total + 1];
    if (!word) return;
    const Char* p = text;
    while (true) {
        while (IsSpace(*p)) ++p;
        if (!*p) break;
        int length = 0;
        p = ReadWord(p, word, &length);
        words->Add(word, length);
    }
    delete[] word;
}

bool StartsWith(const char* text, const char* prefix) { return std::strncmp(text, prefix, std::strlen(prefix)) == 0; }

bool IsOneOf(const char* text, const char* const* names) {
    for (; *names; ++names)
        if (std::strcmp(text, *names) == 0) return true;
    return false;
}

// The java program's module options that take their value as the next
// word; the VM takes each only as "--name=value".
const char* const kSplitModuleOptions[] = {"--add-opens",   "--add-exports",         "--add-reads",
                                           "--add-modules", "--limit-modules",       "--module-path",
                                           "--patch-module", "--upgrade-module-path", "--enable-native-access",
                                           nullptr};

bool IsJarName(const char* name) {
    size_t n = std::strlen(name);
    return n >= 4 && (std::strcmp(name + n - 4, ".jar") == 0 || std::strcmp(name + n - 4, ".JAR") == 0);
}

// True for "*" and for an entry ending in "\*" or "/*"; *folderLength is then
// the length of what precedes the "*". Like java, a "*" anywhere else
// ("lib\*.jar") is no wildcard.
bool IsWildcardEntry(const char* entry, int length, int* folderLength) {
    if (length == 1 && entry[0] == '*') {
        *folderLength = 0;
        return true;
    }
    if (length < 2 || entry[length - 1] != '*' || (entry[length - 2] != '\\' && entry[length - 2] != '/'))
        return false;
    *folderLength = length - 1;
    return true;
}

}  // namespace

void SplitCommandLineWords(const char* text, TextList* words) { SplitWords(text, words); }
void SplitCommandLineWords(const wchar_t* text, WideTextList* words) { SplitWords(text, words); }

void SplitArgumentsAfterProgramName(const wchar_t* commandLine, WideTextList* words) {
    const wchar_t* p = commandLine ? commandLine : L"";
    // The program name has no escapes: a quote only opens or closes.
    bool quoted = false;
    while (*p && (quoted || !IsSpace(*p))) {
        if (*p == L'"') quoted = !quoted;
        ++p;
    }
    SplitWords(p, words);
}

void TakePassThroughArguments(const char* passThrough, const wchar_t* commandLine, WideTextList* arguments) {
    TextList ansi;
    SplitCommandLineWords(passThrough, &ansi);
    WideTextList all;
    SplitArgumentsAfterProgramName(commandLine, &all);
    int first = all.Count() - ansi.Count();
    if (first < 0) first = 0;
    for (int i = first; i < all.Count(); ++i) arguments->Add(all[i]);
}

void SplitJdkJavaOptions(const char* text, TextList* words) {
    if (!text) return;
    int total = TextList::Length(text);
    char* word = new (std::nothrow) char[total + 1];
    if (!word) return;
    const char* p = text;
    while (true) {
        while (*p == ' ' || *p == '\t' || *p == '\r' || *p == '\n' || *p == '\f' || *p == '\v') ++p;
        if (!*p) break;
        int n = 0;
        char quote = 0;
        while (*p && (quote || !(*p == ' ' || *p == '\t' || *p == '\r' || *p == '\n' || *p == '\f' || *p == '\v'))) {
            if (!quote && (*p == '"' || *p == '\'')) {
                quote = *p++;
                continue;
            }
            if (quote && *p == quote) {
                quote = 0;
                ++p;
                continue;
            }
            word[n++] = *p++;
        }
        words->Add(word, n);
    }
    delete[] word;
}

bool IsJavaProgramOnlyOption(const char* option, bool* takesValue) {
    static const char* const kWithValue[] = {"-jar", "-cp", "-classpath", "--class-path", "-m", "--module",
                                             "--source", "--describe-module", "-d", nullptr};
    static const char* const kAlone[] = {"-client", "-server", "-d32", "-d64", "-version", "--version",
                                         "-showversion", "--show-version", "-help", "--help", "-h", "-?",
                                         "-X", "--help-extra", "--dry-run", "--list-modules",
                                         "--disable-@files", "--validate-modules", nullptr};
    *takesValue = IsOneOf(option, kWithValue);
    if (*takesValue || IsOneOf(option, kAlone)) return true;
    return option[0] == '@' || StartsWith(option, "-splash:") || StartsWith(option, "--class-path=") ||
           StartsWith(option, "--module=") || StartsWith(option, "--source=") ||
           StartsWith(option, "--describe-module=");
}

CString ExpandClassPathWildcards(const char* classPath, void (*listFiles)(const char* folder, TextList* names)) {
    const char* p = classPath ? classPath : "";
    CString expanded;
    bool first = true;
    while (true) {
        const char* end = std::strchr(p, ';');
        int length = end ? static_cast<int>(end - p) : static_cast<int>(std::strlen(p));
        int folderLength = 0;
        if (IsWildcardEntry(p, length, &folderLength)) {
            CString folder(p, folderLength);
            TextList names;
            listFiles(folder, &names);
            for (int i = 0; i < names.Count(); ++i) {
                if (!IsJarName(names[i])) continue;
                if (!first) expanded += ';';
                expanded += folder;
                expanded += names[i];
                first = false;
            }
        } else {
            if (!first) expanded += ';';
            expanded += CString(p, length);
            first = false;
        }
        if (!end) break;
        p = end + 1;
    }
    return expanded;
}

void ListFolderFiles(const char* folder, TextList* names) {
    CString pattern = CString(folder) + "*";
    WIN32_FIND_DATAA found;
    ScopedFindHandle search(FindFirstFileA(pattern, &found));
    if (!search.IsValid()) return;
    do {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) names->Add(found.cFileName);
    } while (FindNextFileA(search, &found));
}

size_t ParseThreadStackSize(const char* option) {
    if (!StartsWith(option, "-Xss")) return 0;
    const char* p = option + 4;
    if (*p < '0' || *p > '9') return 0;
    unsigned long long size = 0;
    for (; *p >= '0' && *p <= '9'; ++p) {
        size = size * 10 + static_cast<unsigned>(*p - '0');
        if (size > (1ULL << 40)) return 0;
    }
    unsigned long long unit = 1;
    if (*p == 'k' || *p == 'K') unit = 1024;
    else if (*p == 'm' || *p == 'M') unit = 1024 * 1024;
    else if (*p == 'g' || *p == 'G') unit = 1024 * 1024 * 1024;
    if (unit != 1) ++p;
    if (*p != '\0') return 0;
    size *= unit;
    // A reservation past what the address space can give is no size here;
    // the VM says what it thinks of it.
    if (size > static_cast<size_t>(-1) / 2) return 0;
    return static_cast<size_t>(size);
}

int LauncherHelperMode(StartMode mode) {
    switch (mode) {
    case START_MAIN_CLASS: return 1;
    case START_JAR: return 2;
    case START_MAIN_MODULE: return 3;
    case START_NOTHING: break;
    }
    return 0;
}

void ComposeJvmOptions(const JvmOptionInputs& inputs, JvmStartPlan* plan) {
    TextList words;
    SplitJdkJavaOptions(inputs.jdkJavaOptions, &words);
    SplitCommandLineWords(inputs.vmParameters, &words);
    for (int i = 0; i < words.Count(); ++i) {
        const char* word = words[i];
        bool takesValue = false;
        if (IsJavaProgramOnlyOption(word, &takesValue)) {
            CString dropped = word;
            if (takesValue && i + 1 < words.Count()) {
                dropped += " ";
                dropped += words[++i];
            }
            plan->dropped.Add(dropped);
            continue;
        }
        if (std::strcmp(word, "-p") == 0) word = "--module-path";
        if (IsOneOf(word, kSplitModuleOptions) && i + 1 < words.Count()) {
            plan->options.Add(CString(word) + "=" + words[++i]);
            continue;
        }
        size_t stack = ParseThreadStackSize(word);
        if (stack != 0) plan->stackSize = stack;
        plan->options.Add(word);
    }
    if (inputs.bootClassPath && *inputs.bootClassPath)
        plan->options.Add(CString("-Xbootclasspath/p:") + inputs.bootClassPath);

    const StartTarget& target = *inputs.target;
    plan->mode = LauncherHelperMode(target.mode);
    switch (target.mode) {
    case START_JAR:
        plan->what = target.jar;
        plan->options.Add("-Djava.class.path=" + target.jar);
        break;
    case START_MAIN_CLASS: {
        plan->what = target.mainClass;
        CString classPath = ExpandClassPathWildcards(target.classPath, inputs.listFiles);
        plan->options.Add("-Djava.class.path=" + (classPath.IsEmpty() ? CString(".") : classPath));
        break;
    }
    case START_MAIN_MODULE: {
        plan->what = target.mainModule;
        if (!target.modulePath.IsEmpty()) plan->options.Add("--module-path=" + target.modulePath);
        const char* slash = std::strchr(target.mainModule, '/');
        if (slash) {
            plan->options.Add("-Djdk.module.main=" +
                                CString(target.mainModule.GetString(),
                                        static_cast<int>(slash - target.mainModule.GetString())));
            plan->options.Add(CString("-Djdk.module.main.class=") + (slash + 1));
        } else {
            plan->options.Add("-Djdk.module.main=" + target.mainModule);
        }
        break;
    }
    case START_NOTHING:
        break;
    }
    CString command = "-Dsun.java.command=" + plan->what;
    for (int i = 0; inputs.arguments && i < inputs.arguments->Count(); ++i) {
        command += " ";
        command += (*inputs.arguments)[i];
    }
    plan->options.Add(command);
    plan->options.Add("-Dsun.java.launcher=SUN_STANDARD");
}
