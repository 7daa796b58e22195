// strategy_chart.h: a short ordered list of holds a player can learn, derived from the exact analysis.
#pragma once

#include "analysis/analysis.h"
#include "analysis/weighted_analysis.h"

#include <string>
#include <vector>

struct ChartLine {
    std::string text;        // what a player checks on a hand: "4 to a royal flush", "KQJ unsuited"
    double share;            // how often this is the first line that matches, over every deal (0..1)
    int pattern;             // which hold of the chart's vocabulary the line stands for
};

struct StrategyChart {
    int coins;               // 1..5
    bool machineDealing;     // false: the even deck; true: the machine's own card weights
    std::vector<ChartLine> lines;   // first match wins; the last line matches every hand
    // Exact return of playing the chart over every deal, per coin bet. Even deck: a reduced fraction;
    // machine dealing: as exact as the weighted analysis is.
    uint64_t returnNumerator, returnDenominator;
    double chartReturn, optimalReturn;
};

// machine: null for the even deck, else the tables of the machine's weights for the same coins.
bool DeriveStrategyChart(const AnalysisTables &tables, const WeightedTables *machine, int coins,
                         int threads, StrategyChart &chart);
// The line the dealt hand takes (index into lines) and the cards that line keeps (bit i: position i).
int FollowChart(const StrategyChart &chart, const Card cards[HandSize], int *heldMask);
std::string ChartText(const StrategyChart &chart);   // numbered lines with shares, then both returns
std::string ChartDifferences(const StrategyChart &even, const StrategyChart &machine);
