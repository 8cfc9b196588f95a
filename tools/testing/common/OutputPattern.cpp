#include "tools/testing/common/OutputPattern.h"

#include <cstdio>

std::string PatternLine(unsigned long long index) {
    static const char kSymbols[] = "abcdefghijklmnopqrstuvwxyz0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ";
    const size_t symbolCount = sizeof(kSymbols) - 1;
    char number[16];
    std::snprintf(number, sizeof(number), "%010llu ", index % 10000000000ULL);
    std::string line(number);
    // The shift makes a line that lands in the wrong place visible even
    // where the numbers are not compared.
    for (size_t i = 0; line.size() < kPatternLineLength - 1; ++i)
        line += kSymbols[(index + i) % symbolCount];
    line += '\n';
    return line;
}

std::string PatternLines(unsigned long long first, unsigned long long count) {
    std::string lines;
    lines.reserve(static_cast<size_t>(count) * kPatternLineLength);
    for (unsigned long long i = 0; i < count; ++i) lines += PatternLine(first + i);
    return lines;
}
