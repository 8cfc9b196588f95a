#include "tools/testing/bench/Report.h"

#include <cstdio>

namespace {

std::string Fixed(double value, int decimals = 1) {
    char text[64];
    snprintf(text, sizeof(text), "%.*f", decimals, value);
    return text;
}

std::string Padded(const std::string& text, size_t width) {
    return text.size() >= width ? text : std::string(width - text.size(), ' ') + text;
}

std::string MedianRange(const Summary& s) {
    return Padded(Fixed(s.median), 8) + " " + Padded(Fixed(s.min), 7) + " " + Padded(Fixed(s.max), 7);
}

std::string JsonString(const std::string& text) {
    std::string out = "\"";
    for (char c : text) {
        unsigned char u = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (u < 0x20) {
            char escaped[8];
            snprintf(escaped, sizeof(escaped), "\\u%04x", u);
            out += escaped;
        } else {
            out += c;
        }
    }
    return out + "\"";
}

std::string JsonSummary(const Summary& s, int decimals = 2) {
    return "{\"count\": " + std::to_string(s.count) + ", \"median\": " + Fixed(s.median, decimals) +
           ", \"min\": " + Fixed(s.min, decimals) + ", \"max\": " + Fixed(s.max, decimals) + "}";
}

}  // namespace

double StartRatio(const StartResult& start) {
    if (!start.error.empty() || start.bareMs.median <= 0) return 0;
    return start.launcherMs.median / start.bareMs.median;
}

double ComparedRatio(const StartResult& start) {
    if (!start.error.empty() || start.bareMs.median <= 0) return 0;
    return start.comparedMs.median / start.bareMs.median;
}

double WindowRatio(const BenchResults& results, const StartResult& start) {
    for (const StartResult& plain : results.starts)
        if (plain.scenario == "bundled" && plain.error.empty() && start.error.empty() && plain.launcherMs.median > 0)
            return start.launcherMs.median / plain.launcherMs.median;
    return 0;
}

std::string FormatTable(const BenchResults& r) {
    std::string out;
    out += "Start overhead: CreateProcess to the stand-in runtime's first statement, in ms\n";
    out += "(" + std::to_string(r.runs) + " runs each, launcher and bare start alternating, after " +
           std::to_string(r.warmUp) + " warm-up pairs, " + std::to_string(r.pauseMs) + " ms pause between runs)\n\n";
    out += "scenario                          probes |  launcher median     min     max |"
           "  bare median     min     max |  ratio | peak WS KB\n";
    for (const StartResult& s : r.starts) {
        std::string name = s.description;
        name.resize(33, ' ');
        out += name + " " + Padded(std::to_string(s.probes), 6) + " | ";
        if (!s.error.empty()) {
            out += "not measured: " + s.error + "\n";
            continue;
        }
        out += Padded("", 8) + MedianRange(s.launcherMs) + " | " + Padded("", 4) + MedianRange(s.bareMs) + " | " +
               Padded(Fixed(StartRatio(s), 2) + "x", 6) + " | " + Padded(Fixed(s.peakWorkingSetKb.median, 0), 10) +
               "\n";
        if (s.comparedMs.count == 0) continue;
        out += std::string("  compared launcher").append(15, ' ') + " " + Padded("", 6) + " | " + Padded("", 8) +
               MedianRange(s.comparedMs) + " | " + Padded("", 29) + " | " +
               Padded(Fixed(ComparedRatio(s), 2) + "x", 6) + " | " +
               Padded(Fixed(s.comparedPeakWorkingSetKb.median, 0), 10) + "\n";
    }
    out += "\nA window against none (launcher medians of this run; the goal is within 1.10x)\n\n";
    for (const StartResult& s : r.starts) {
        if (s.scenario != "keep_alive" && s.scenario != "splash") continue;
        std::string name = s.description;
        name.resize(33, ' ');
        out += name + " " + Padded(Fixed(WindowRatio(r, s), 2) + "x", 6) + " of " + r.starts[0].description + "\n";
    }
    out += "\nVersion probe (ProbeJavaVersion in process), in ms\n\n";
    out += "runtime                           answers after |  median     min     max | version read\n";
    for (const ProbeResult& p : r.probes) {
        std::string name = p.name;
        name.resize(33, ' ');
        out += name + " " + Padded(std::to_string(p.answerDelayMs) + " ms", 13) + " | " + MedianRange(p.ms) + " | " +
               p.version + "\n";
    }
    out += "\nSize\n\n";
    out += "launcher as built                 " + std::to_string(r.exeBytes) + " bytes (" + r.exePath + ")\n";
    out += "configured copy                   " + std::to_string(r.configuredBytes) + " bytes\n";
    if (!r.comparedPath.empty())
        out += "compared launcher                 " + std::to_string(r.comparedBytes) + " bytes (" + r.comparedPath +
               ")\n";
    for (const BenchResults::Shipped& shipped : r.shipped)
        out += "shipped launcher                  " + Padded(std::to_string(shipped.bytes), 6) + " bytes (" +
               shipped.path + ")\n";
    for (const StartResult& s : r.starts) {
        if (!s.error.empty()) continue;
        out += "launcher peak working set         " + Fixed(s.peakWorkingSetKb.median, 0) + " KB median (" +
               Fixed(s.peakWorkingSetKb.min, 0) + ".." + Fixed(s.peakWorkingSetKb.max, 0) + "), " + s.description +
               "\n";
        break;
    }
    return out;
}

std::string FormatJson(const BenchResults& r) {
    std::string out = "{\n";
    out += "  \"conditions\": {\"runs\": " + std::to_string(r.runs) + ", \"warmUpPairs\": " +
           std::to_string(r.warmUp) + ", \"pauseMs\": " + std::to_string(r.pauseMs) + "},\n";
    out += "  \"start\": [";
    for (size_t i = 0; i < r.starts.size(); ++i) {
        const StartResult& s = r.starts[i];
        out += i ? ",\n    {" : "\n    {";
        out += "\"scenario\": " + JsonString(s.scenario) + ", \"description\": " + JsonString(s.description) +
               ", \"probes\": " + std::to_string(s.probes);
        if (!s.error.empty()) {
            out += ", \"error\": " + JsonString(s.error) + "}";
            continue;
        }
        out += ",\n     \"launcherMs\": " + JsonSummary(s.launcherMs) + ",\n     \"bareMs\": " + JsonSummary(s.bareMs) +
               ",\n     \"ratio\": " + Fixed(StartRatio(s), 3) +
               (WindowRatio(r, s) > 0 && s.scenario != "bundled" && s.probes == 0
                    ? ", \"ratioToNoWindow\": " + Fixed(WindowRatio(r, s), 3)
                    : std::string()) +
               ", \"launcherPeakWorkingSetKb\": " + JsonSummary(s.peakWorkingSetKb, 0);
        if (s.comparedMs.count > 0)
            out += ",\n     \"comparedMs\": " + JsonSummary(s.comparedMs) + ", \"comparedRatio\": " +
                   Fixed(ComparedRatio(s), 3) + ", \"comparedPeakWorkingSetKb\": " +
                   JsonSummary(s.comparedPeakWorkingSetKb, 0);
        out += "}";
    }
    out += "\n  ],\n  \"probe\": [";
    for (size_t i = 0; i < r.probes.size(); ++i) {
        const ProbeResult& p = r.probes[i];
        out += i ? ",\n    {" : "\n    {";
        out += "\"name\": " + JsonString(p.name) + ", \"answerDelayMs\": " + std::to_string(p.answerDelayMs) +
               ", \"version\": " + JsonString(p.version) + ", \"ms\": " + JsonSummary(p.ms) + "}";
    }
    out += "\n  ],\n  \"size\": {\"launcher\": " + JsonString(r.exePath) + ", \"launcherBytes\": " + std::to_string(r.exeBytes) +
           ", \"configuredCopyBytes\": " + std::to_string(r.configuredBytes);
    if (!r.comparedPath.empty())
        out += ", \"compared\": " + JsonString(r.comparedPath) + ", \"comparedBytes\": " + std::to_string(r.comparedBytes);
    out += ", \"shipped\": [";
    for (size_t i = 0; i < r.shipped.size(); ++i)
        out += std::string(i ? ", " : "") + "{\"path\": " + JsonString(r.shipped[i].path) +
               ", \"bytes\": " + std::to_string(r.shipped[i].bytes) + "}";
    out += "]}\n}\n";
    return out;
}
