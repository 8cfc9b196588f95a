#include "launcher/StartTarget.h"

#include <cstring>
#include "framework/Array.h"

bool ChooseStartMode(StartTarget* target, CString* problem) {
    const struct {
        bool set;
        const char* name;
        StartMode mode;
    } targets[] = {
        {!target->jar.IsEmpty(), "PROP_START_JAR", START_JAR},
        {!target->mainClass.IsEmpty(), "PROP_MAIN_CLASS", START_MAIN_CLASS},
        {!target->mainModule.IsEmpty(), "PROP_MAIN_MODULE", START_MAIN_MODULE},
    };
    Array<const char*> named;
    target->mode = START_NOTHING;
    for (const auto& t : targets) {
        if (!t.set) continue;
        named.push_back(t.name);
        target->mode = t.mode;
    }
    if (named.size() == 1) return true;
    target->mode = START_NOTHING;
    if (named.empty()) {
        *problem = "The launcher names nothing to start: none of PROP_START_JAR, PROP_MAIN_CLASS and PROP_MAIN_MODULE is set.";
        return false;
    }
    CString list = named[0];
    for (size_t i = 1; i < named.size(); ++i) {
        list += i + 1 == named.size() ? " and " : ", ";
        list += named[i];
    }
    *problem = "The launcher names more than one thing to start: " + list + " are set; it starts one of them.";
    return false;
}

const char* MinimumVersionForMode(StartMode mode) {
    return mode == START_MAIN_MODULE ? "9" : "";
}

CString QuoteArgument(const char* text) {
    const char* p = text ? text : "";
    if (*p != '\0' && !std::strpbrk(p, " \t\"*?")) return CString(p);
    CString quoted = "\"";
    size_t backslashes = 0;
    for (; *p; ++p) {
        if (*p == '\\') {
            ++backslashes;
            continue;
        }
        // Backslashes are plain characters unless a quote follows them.
        size_t copies = *p == '"' ? 2 * backslashes + 1 : backslashes;
        for (size_t i = 0; i < copies; ++i) quoted += '\\';
        backslashes = 0;
        quoted += *p;
    }
    for (size_t i = 0; i < 2 * backslashes; ++i) quoted += '\\';
    quoted += '"';
    return quoted;
}

CString JoinStartPart(const StartTarget& target) {
    CString part;
    switch (target.mode) {
    case START_JAR:
        part = " -jar ";
        part += target.jar;
        break;
    case START_MAIN_CLASS:
        part = " -cp ";
        part += QuoteArgument(target.classPath.IsEmpty() ? "." : target.classPath.GetString());
        part += " ";
        part += QuoteArgument(target.mainClass);
        break;
    case START_MAIN_MODULE:
        if (!target.modulePath.IsEmpty()) {
            part = " --module-path ";
            part += QuoteArgument(target.modulePath);
        }
        part += " -m ";
        part += QuoteArgument(target.mainModule);
        break;
    case START_NOTHING:
        break;
    }
    return part;
}
