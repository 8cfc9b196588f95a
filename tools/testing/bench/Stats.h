#pragma once
// Medians and ranges of repeated measurements.
#include <cstddef>
#include <vector>

struct Summary {
    std::size_t count = 0;
    double median = 0;
    double min = 0;
    double max = 0;
};

// All zero for no samples; the median of an even count is the mean of the
// two middle samples.
Summary Summarize(std::vector<double> samples);
