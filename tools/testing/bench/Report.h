#pragma once
// The benchmark's results: a table for people and JSON for tools.
#include <string>
#include <vector>

#include "tools/testing/bench/Stats.h"

struct StartResult {
    std::string scenario;       // short key, e.g. "bundled"
    std::string description;
    int probes = 0;             // version probes the launcher runs on the way
    Summary launcherMs;
    Summary bareMs;
    Summary peakWorkingSetKb;   // of the launcher process
    Summary comparedMs;         // the --compare launcher's, when given
    Summary comparedPeakWorkingSetKb;
    std::string error;          // non-empty: the scenario could not be measured
};

struct ProbeResult {
    std::string name;
    int answerDelayMs = 0;
    std::string version;        // what the probe read
    Summary ms;
};

struct BenchResults {
    int runs = 0;
    int warmUp = 0;
    int pauseMs = 0;
    std::vector<StartResult> starts;
    std::vector<ProbeResult> probes;
    std::string exePath;        // the launcher measured, as built
    unsigned long long exeBytes = 0;
    unsigned long long configuredBytes = 0;
    std::string comparedPath;   // the --compare launcher, or ""
    unsigned long long comparedBytes = 0;
    struct Shipped {
        std::string path;
        unsigned long long bytes;  // 0 when it is not there
    };
    std::vector<Shipped> shipped;  // every shipped launcher of both builds
};

// Ratio of the launcher's median start to the bare start's; 0 when unknown.
double StartRatio(const StartResult& start);
double ComparedRatio(const StartResult& start);
// Ratio of a window scenario's launcher median to the no-window one's
// ("bundled") of the same run; 0 when either is unknown.
double WindowRatio(const BenchResults& results, const StartResult& start);
std::string FormatTable(const BenchResults& results);
std::string FormatJson(const BenchResults& results);
