// chart_texts.cpp: the strategy charts the trainer shows (see chart_texts.h).
#include "apps/quorvane/trainer/chart_texts.h"
#include "apps/quorvane/trainer/game_tables.h"
#include "analysis/weighted_analysis.h"

#include <cstdio>
#include <mutex>
#include <thread>

namespace {

std::string evenChartText;                // derived once: it does not change with play
bool machineChartStarted = false;

// The machine's own chart, from the worker that derives it; empty until it is done. Never destroyed:
// a worker still deriving when the host exits must not find them gone.
struct MachineChart {
    std::mutex lock;
    std::string text;
};
MachineChart &machineChart = *new MachineChart;
StrategyChart evenChart;

const char MachineChartPending[] = "\nThis machine deals the 2C and AS half as often. Its own chart is being worked\n"
                                   "out (some seconds); it will show here.\n";

bool evenChartReady = false;

} // namespace

const StrategyChart *EvenChart()
{
    if (!evenChartReady && AdviceTables())
        evenChartReady = DeriveStrategyChart(*AdviceTables(), nullptr, 5, 2, evenChart);
    return evenChartReady ? &evenChart : nullptr;
}

// The chart's lines under a heading for the hold and for the column of shares at their right.
static std::string HeadedChartText(const StrategyChart &chart)
{
    const std::string lines = ChartText(chart);
    char heading[200];   // a line is "NN. " and the hold padded to the widest, a space, and 9 for the share
    snprintf(heading, sizeof heading, "    %-*s%9s\n", static_cast<int>(lines.find('\n')) - 13, "Hold",
             "of deals");
    return heading + lines;
}

// Seconds of work, so not on the window's thread: the chart window shows the even chart meanwhile.
static void DeriveMachineChart(const AnalysisTables *tables, StrategyChart even, HWND notify, UINT done)
{
    uint32_t weight[DeckSize];
    MachineCardWeights(weight);
    WeightedTables *machine = CreateWeightedTables(weight, 5, 2);
    StrategyChart chart;
    std::string text;
    if (machine && DeriveStrategyChart(*tables, machine, 5, 2, chart))
        text = "\nThis machine deals the 2C and AS half as often. Its own chart, the returns under its dealing:\n\n" +
               HeadedChartText(chart) + "\nLines that differ from the even-deck chart:\n" + ChartDifferences(even, chart);
    else
        text = "\nThe machine's own chart could not be worked out: too little memory.\n";
    FreeWeightedTables(machine);
    {
        std::lock_guard<std::mutex> hold(machineChart.lock);
        machineChart.text = text;
    }
    PostMessageA(notify, done, 0, 0);
}

std::string ChartWindowText(HWND notify, UINT done)
{
    if (evenChartText.empty()) {
        if (!EvenChart())
            return evenChartText = "The chart could not be worked out: too little memory.";
        evenChartText = "Hold the first line that your hand matches (Jacks or Better, 5 coins, even deck).\n\n" +
                        HeadedChartText(evenChart);
    }
    if (!machineChartStarted && AdviceTables()) {
        machineChartStarted = true;
        std::thread(DeriveMachineChart, AdviceTables(), evenChart, notify, done).detach();
    }
    std::lock_guard<std::mutex> hold(machineChart.lock);
    const std::string machineText = machineChart.text.empty() ? std::string(MachineChartPending) : machineChart.text;
    // The chart of the dealing in force comes first: it is the one the hints and verdicts follow.
    const bool machineFirst = AdviceDealing(5) != nullptr;
    return std::string("Hints and verdicts value holds by ") +
           (machineFirst ? "this machine's dealing" : "an even deck") + " (Ctrl+E switches).\n" +
           (machineFirst ? machineText + "\n" + evenChartText : "\n" + evenChartText + machineText);
}

