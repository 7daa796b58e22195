// strategy_chart_order.h: the order of a chart's lines, searched over the groups of deals it was tallied on.
#pragma once

#include "analysis/strategy_chart_patterns.h"

#include <vector>

// Deals that match the same patterns, as the search sees them: what each pattern's hold is worth there
// (chance-weighted coins; the search only compares them), and what the best hold is.
struct Entry {
    double value;
    uint16_t pattern;
};

struct Sample {
    uint32_t first, count;   // its entries
};

struct Samples {
    std::vector<Sample> samples;
    std::vector<Entry> entries;
    std::vector<double> optimum;   // by sample: the best hold's worth
    // What an order of lines wins over every sample, each taking its first line.
    double Value(const std::vector<int> &order) const;
};

// The best of the searches in each vocabulary (run side by side): at most maxLines lines, the last
// "draw five". Each search takes, greedily, the line that costs least per deal among the hands it
// takes; then moves single lines to where they add most, and drops the lines that cost least to lose.
std::vector<int> OrderLines(const Samples &data, size_t maxLines, const std::vector<char> allowed[VocabularyCount],
                            int threads);

// Drops from order the lines whose deals the lines below them hold as well, and returns what each line
// left adds: the return lost if its deals went to the lines below it instead.
std::vector<double> KeepLinesThatAdd(const Samples &data, std::vector<int> &order);
