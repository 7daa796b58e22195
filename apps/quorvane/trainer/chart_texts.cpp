// chart_texts.cpp: the strategy charts the trainer shows (see chart_texts.h).
#include "apps/quorvane/trainer/chart_texts.h"
#include "apps/quorvane/trainer/game_tables.h"
#include "analysis/weighted_analysis.h"

#include <cstdio>
#include <mutex>
#include <thread>

namespace {

// The charts, from the worker that derives them: the even deck's, then this machine's. Never destroyed:
// a worker still deriving when the host exits must not find them gone.
struct Charts {
    std::mutex lock;                // held to read or to publish, never while deriving
    bool started = false;
    bool evenDone = false;          // even is final once this is set
    StrategyChart even;
    std::string evenText, machineText;   // empty until derived
};
Charts &charts = *new Charts;

const char EvenChartPending[] = "The even deck's chart is being worked out (a second or two); it will show here.\n";
const char MachineChartPending[] = "\nThis machine deals the 2C and AS half as often. Its own chart is being worked\n"
                                   "out (some seconds); it will show here.\n";

// The chart's lines under a heading for the hold and for the column of shares at their right.
std::string HeadedChartText(const StrategyChart &chart)
{
    const std::string lines = ChartText(chart);
    char heading[200];   // a line is "NN. " and the hold padded to the widest, a space, and 9 for the share
    snprintf(heading, sizeof heading, "    %-*s%9s\n", static_cast<int>(lines.find('\n')) - 13, "Hold",
             "of deals");
    return heading + lines;
}

// Seconds of work, so not on the window's thread: each chart is told to notify as it is done.
void DeriveCharts(const AnalysisTables *tables, HWND notify, UINT done)
{
    StrategyChart even;
    const bool evenDerived = DeriveStrategyChart(*tables, nullptr, 5, 2, even);
    {
        std::lock_guard<std::mutex> hold(charts.lock);
        charts.even = even;
        charts.evenDone = evenDerived;
        charts.evenText = evenDerived ? "Hold the first line that your hand matches (Jacks or Better, 5 coins, "
                                        "even deck).\n\n" + HeadedChartText(even)
                                      : "The chart could not be worked out: too little memory.\n";
    }
    PostMessageA(notify, done, 0, 0);

    uint32_t weight[DeckSize];
    MachineCardWeights(weight);
    WeightedTables *machine = evenDerived ? CreateWeightedTables(weight, 5, 2) : nullptr;
    StrategyChart chart;
    std::string text;
    if (machine && DeriveStrategyChart(*tables, machine, 5, 2, chart))
        text = "\nThis machine deals the 2C and AS half as often. Its own chart, the returns under its dealing:\n\n" +
               HeadedChartText(chart) + "\nLines that differ from the even-deck chart:\n" + ChartDifferences(even, chart);
    else
        text = "\nThe machine's own chart could not be worked out: too little memory.\n";
    FreeWeightedTables(machine);
    {
        std::lock_guard<std::mutex> hold(charts.lock);
        charts.machineText = text;
    }
    PostMessageA(notify, done, 0, 0);
}

void StartCharts(HWND notify, UINT done)
{
    if (!charts.started && AdviceTables()) {
        charts.started = true;
        std::thread(DeriveCharts, AdviceTables(), notify, done).detach();
    }
}

} // namespace

bool ChartsBeingDerived()
{
    std::lock_guard<std::mutex> hold(charts.lock);
    return charts.started && charts.machineText.empty();
}

const StrategyChart *EvenChart(HWND notify, UINT done)
{
    StartCharts(notify, done);
    std::lock_guard<std::mutex> hold(charts.lock);
    return charts.evenDone ? &charts.even : nullptr;
}

std::string ChartWindowText(HWND notify, UINT done)
{
    if (!AdviceTables())
        return "The chart could not be worked out: too little memory.\n";
    StartCharts(notify, done);
    std::lock_guard<std::mutex> hold(charts.lock);
    const std::string evenText = charts.evenText.empty() ? std::string(EvenChartPending) : charts.evenText;
    const std::string machineText = charts.machineText.empty() ? std::string(MachineChartPending) : charts.machineText;
    // The chart of the dealing in force comes first: it is the one the hints and verdicts follow.
    const bool machineFirst = AdviceDealing(5) != nullptr;
    return std::string("Hints and verdicts value holds by ") +
           (machineFirst ? "this machine's dealing" : "an even deck") + " (Ctrl+E switches).\n" +
           (machineFirst ? machineText + "\n" + evenText : "\n" + evenText + machineText);
}
