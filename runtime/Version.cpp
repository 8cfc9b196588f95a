#include "runtime/Version.h"

#include "framework/Array.h"
#include "framework/Text.h"


namespace {

const char kVersionMarker[] = " version \"";

// Numbers beyond this are clamped: no real version gets near it, and a
// clamped component still orders above every real one.
const unsigned long kComponentLimit = 999999999UL;

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsSeparator(char c) { return c == '.' || c == '_' || c == '-' || c == '+'; }

// The digit runs of a version, e.g. 1.6.0_03 -> 1 6 0 3. Reading stops at
// the first character that is neither a digit nor a separator followed by a
// digit, so a closing quote or a trailing "-ea" ends it.
Array<unsigned long> ParseComponents(const char* text) {
    Array<unsigned long> components;
    const char* p = text;
    while (p && IsDigit(*p)) {
        // Wider than unsigned long, which has 32 bits here: one digit more
        // than the limit must not wrap around below it.
        unsigned long long value = 0;
        for (; IsDigit(*p); ++p) {
            if (value <= kComponentLimit) value = value * 10 + static_cast<unsigned long long>(*p - '0');
        }
        components.push_back(value > kComponentLimit ? kComponentLimit : static_cast<unsigned long>(value));
        if (!IsSeparator(*p) || !IsDigit(p[1])) break;
        ++p;
    }
    // Before 9 the runtimes called themselves 1.x: 1.8.0_202 is release 8.
    if (components.size() > 1 && components[0] == 1) components.erase(components.begin());
    return components;
}

}  // namespace

Text ExtractVersion(const Text& output) {
    size_t lineStart = 0;
    while (lineStart < output.size()) {
        size_t lineEnd = output.find('\n', lineStart);
        if (lineEnd == Text::npos) lineEnd = output.size();
        size_t marker = output.find(kVersionMarker, lineStart);
        if (marker != Text::npos && marker < lineEnd) {
            size_t first = marker + sizeof(kVersionMarker) - 1;
            size_t last = output.find('"', first);
            if (last == Text::npos || last > lineEnd) {
                // No closing quote on the line: the rest of the line, without
                // the carriage return of a CRLF line end.
                last = lineEnd;
                if (last > first && output[last - 1] == '\r') --last;
            }
            return output.substr(first, last - first);
        }
        lineStart = lineEnd + 1;
    }
    return Text();
}

bool IsVersionText(const char* text) {
    return !ParseComponents(text).empty();
}

bool VersionAtLeast(const char* minimum, const char* version) {
    Array<unsigned long> have = ParseComponents(version);
    if (have.empty()) return false;
    Array<unsigned long> need = ParseComponents(minimum);
    size_t count = have.size() > need.size() ? have.size() : need.size();
    for (size_t i = 0; i < count; ++i) {
        unsigned long h = i < have.size() ? have[i] : 0;
        unsigned long n = i < need.size() ? need[i] : 0;
        if (h != n) return h > n;
    }
    return true;
}

bool VersionAtMost(const char* maximum, const char* version) {
    Array<unsigned long> have = ParseComponents(version);
    if (have.empty()) return false;
    Array<unsigned long> limit = ParseComponents(maximum);
    for (size_t i = 0; i < limit.size(); ++i) {
        unsigned long h = i < have.size() ? have[i] : 0;
        if (h != limit[i]) return h < limit[i];
    }
    return true;
}
