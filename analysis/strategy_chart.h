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
    double loss;             // what its deals give up against the best hold, per coin bet
    double gain;             // what the line adds: the return lost if its deals took the lines below it
    bool namesCard;          // a line that names a card: "an ace other than the ace of spades"
};

struct StrategyChart {
    int coins;               // 1..5
    bool machineDealing;     // false: the even deck; true: the machine's own card weights
    std::vector<ChartLine> lines;   // first match wins; the last line matches every hand
    // Exact return of playing the chart over every deal, per coin bet. Even deck: a reduced fraction;
    // machine dealing: as exact as the weighted analysis is.
    uint64_t returnNumerator, returnDenominator;
    double chartReturn, optimalReturn;
    double comparedReturn;   // machine dealing: the even deck's chart played here, when it was given
};

// machine: null for the even deck, else the tables of the machine's weights for the same coins. The
// machine's chart may also name cards ("an ace other than the ace of spades"). compared: another chart
// (the even deck's) to play on this dealing too, into comparedHere, with its shares and losses here.
bool DeriveStrategyChart(const AnalysisTables &tables, const WeightedTables *machine, int coins,
                         int threads, StrategyChart &chart, const StrategyChart *compared = nullptr,
                         StrategyChart *comparedHere = nullptr);
// Plays chart on a dealing given by weights (all equal: the even deck, where lines that name a card
// apply too), into played: its lines with their shares and losses there, and its return.
bool PlayChart(const AnalysisTables &tables, const WeightedTables &dealing, int coins, int threads,
               const StrategyChart &chart, StrategyChart &played);
// The line the dealt hand takes (index into lines) and the cards that line keeps (bit i: position i).
int FollowChart(const StrategyChart &chart, const Card cards[HandSize], int *heldMask);
std::string ChartText(const StrategyChart &chart);   // numbered lines with shares, then the returns
std::string Percent(double fraction);                // "12.3456%", with more digits where needed
std::string ChartDifferences(const StrategyChart &even, const StrategyChart &machine);
