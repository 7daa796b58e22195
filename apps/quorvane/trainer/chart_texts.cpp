// chart_texts.cpp: the strategy charts the trainer shows (see chart_texts.h).
#include "apps/quorvane/trainer/chart_texts.h"
#include "apps/quorvane/trainer/analysis_worker.h"
#include "apps/quorvane/trainer/game_tables.h"

#include <cstdio>

namespace {

// Each text is made once, when its chart is there.
std::string evenText, machineText;

const char EvenChartPending[] = "The even deck's chart is being worked out (%d%% of the analysis done); it will show here.\n";
const char MachineChartPending[] = "\nThis machine deals the 2C and AS half as often. Its own chart is being worked\n"
                                   "out (%d%% of the analysis done); it will show here.\n";

// The chart's lines under a heading for the hold and for the column of shares at their right.
std::string HeadedChartText(const StrategyChart &chart)
{
    const std::string lines = ChartText(chart);
    char heading[200];   // a line is "NN. " and the hold padded to the widest, a space, and 9 for the share
    snprintf(heading, sizeof heading, "    %-*s%9s\n", static_cast<int>(lines.find('\n')) - 13, "Hold",
             "of deals");
    return heading + lines;
}

void MakeTexts()
{
    AnalysisWorker &analysis = Analysis();
    const StrategyChart *even = analysis.Chart(false), *machine = analysis.Chart(true);
    if (evenText.empty() && even)
        evenText = "Hold the first line that your hand matches (Jacks or Better, 5 coins, even deck).\n\n" +
                   HeadedChartText(*even);
    if (machineText.empty() && machine && even)
        machineText = "\nThis machine deals the 2C and AS half as often. Its own chart, the returns under its dealing:\n\n" +
                      HeadedChartText(*machine) + "\nLines that differ from the even-deck chart:\n" +
                      ChartDifferences(*even, *machine);
}

} // namespace

const StrategyChart *EvenChart()
{
    return Analysis().Chart(false);
}

std::string ChartWindowText()
{
    AnalysisWorker &analysis = Analysis();
    if (analysis.Failed(false))
        return "The chart could not be worked out: too little memory.\n";
    MakeTexts();
    const int percent = analysis.PercentDone(MachineDealing());
    const std::string even = !evenText.empty() ? evenText : FormatText(EvenChartPending, percent);
    const std::string machine = !machineText.empty() ? machineText
                                : analysis.Failed(true) ? "\nThe machine's own chart could not be worked out: too little memory.\n"
                                                        : FormatText(MachineChartPending, percent);
    // The chart of the dealing in force comes first: it is the one the hints and verdicts follow.
    const bool machineFirst = MachineDealing();
    return std::string("Hints and verdicts value holds by ") +
           (machineFirst ? "this machine's dealing" : "an even deck") + " (Ctrl+E switches).\n" +
           (machineFirst ? machine + "\n" + even : "\n" + even + machine);
}
