// Timing for the benchmarks: a steady clock in seconds and the median of repeated runs.
#pragma once

#include <algorithm>
#include <chrono>
#include <vector>

inline double Now() {
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

inline double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}
