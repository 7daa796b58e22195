// analysis_benchmark.cpp: timed runs of the whole-game analysis and of the hold analysis of every deal.
#include "analysis/analysis.h"
#include "analysis/strategy_chart.h"
#include "analysis/weighted_analysis.h"

#include <algorithm>
#include <chrono>
#include <ctime>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

double Seconds(Clock::time_point from, Clock::time_point to)
{
    return std::chrono::duration<double>(to - from).count();
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// Timed runs of work(), from nothing each time: the median and best wall time, the median processor time.
struct Timing {
    double median, best, cpu;
};

template <typename Work>
Timing TimeRuns(int runs, Work work)
{
    std::vector<double> wall, cpu;
    for (int run = 0; run < runs; ++run) {
        std::clock_t cpuStart = std::clock();
        Clock::time_point start = Clock::now();
        if (!work()) {
            fprintf(stderr, "analysis failed\n");
            exit(1);
        }
        wall.push_back(Seconds(start, Clock::now()));
        cpu.push_back(static_cast<double>(std::clock() - cpuStart) / CLOCKS_PER_SEC);
    }
    return { Median(wall), *std::min_element(wall.begin(), wall.end()), Median(cpu) };
}

// The 5-coin analysis from nothing (tables built, every deal played best), as a player of the tool would
// wait for it: on an even deck, and on the machine's dealing.
Timing TimeWholeGame(int threads, int runs, bool machine)
{
    uint32_t weight[DeckSize];
    MachineCardWeights(weight);
    return TimeRuns(runs, [&] {
        if (!machine) {
            AnalysisTables *tables = CreateAnalysisTables(threads);
            GameAnalysis game;
            bool ok = tables && AnalyzeGame(*tables, MaxWager, threads, game);
            FreeAnalysisTables(tables);
            return ok;
        }
        WeightedTables *tables = CreateWeightedTables(weight, MaxWager, threads);
        WeightedGameAnalysis game;
        bool ok = tables && AnalyzeWeightedGame(*tables, threads, game);
        FreeWeightedTables(tables);
        return ok;
    });
}

// A 5-coin chart from nothing, as the host derives it: the even deck's from its tables up, the machine's
// from the machine's tables up (it reads no other; the call takes the even tables, built here untimed).
Timing TimeChart(int threads, int runs, bool machine, StrategyChart &chart)
{
    uint32_t weight[DeckSize];
    MachineCardWeights(weight);
    AnalysisTables *unread = machine ? CreateAnalysisTables(threads) : nullptr;
    Timing timing = TimeRuns(runs, [&] {
        AnalysisTables *tables = machine ? unread : CreateAnalysisTables(threads);
        WeightedTables *weighted = machine ? CreateWeightedTables(weight, MaxWager, threads) : nullptr;
        bool ok = tables && (!machine || weighted) && DeriveStrategyChart(*tables, weighted, MaxWager, threads, chart);
        FreeWeightedTables(weighted);
        if (!machine)
            FreeAnalysisTables(tables);
        return ok;
    });
    FreeAnalysisTables(unread);
    return timing;
}

void PrintTiming(const char *what, int threads, int runs, const Timing &timing)
{
    printf("%-44s %d thread%s, %d runs: median %.3f s, best %.3f s; processor time median %.3f s\n", what,
           threads, threads == 1 ? "" : "s", runs, timing.median, timing.best, timing.cpu);
}

// Packs a dealt hand into 30 bits, so the slowest deals can be timed again.
uint32_t Pack(const Card deal[HandSize])
{
    uint32_t code = 0;
    for (int i = 0; i < HandSize; ++i)
        code = code << 6 | deal[i];
    return code;
}

void Unpack(uint32_t code, Card deal[HandSize])
{
    for (int i = HandSize - 1; i >= 0; --i, code >>= 6)
        deal[i] = static_cast<Card>(code & 63);
}

// Every deal once, each timed on its own. A single time can include the machine running someone
// else, so the slowest deals are timed again, best of several, to show the analysis's own worst.
void TimeEveryHand()
{
    AnalysisTables *tables = CreateAnalysisTables(2);
    if (!tables) {
        fprintf(stderr, "out of memory\n");
        exit(1);
    }
    std::vector<float> micros;
    std::vector<uint32_t> codes;
    micros.reserve(DealCount);
    codes.reserve(DealCount);
    HoldValue ranked[HoldCount];
    uint64_t checksum = 0;
    Card deal[HandSize];
    Clock::time_point all = Clock::now();
    for (int a = 0; a < DeckSize; ++a)
        for (int b = a + 1; b < DeckSize; ++b)
            for (int c = b + 1; c < DeckSize; ++c)
                for (int d = c + 1; d < DeckSize; ++d)
                    for (int e = d + 1; e < DeckSize; ++e) {
                        // Dealt in an order that is not sorted, as the machine deals.
                        deal[0] = Card(c), deal[1] = Card(e), deal[2] = Card(a), deal[3] = Card(d), deal[4] = Card(b);
                        Clock::time_point start = Clock::now();
                        AnalyzeHolds(*tables, deal, MaxWager, ranked);
                        Clock::time_point end = Clock::now();
                        micros.push_back(static_cast<float>(Seconds(start, end) * 1e6));
                        codes.push_back(Pack(deal));
                        checksum += ranked[0].heldMask;
                    }
    double total = Seconds(all, Clock::now());

    std::vector<uint32_t> order(micros.size());
    for (size_t i = 0; i < order.size(); ++i)
        order[i] = static_cast<uint32_t>(i);
    const size_t slowest = 200;
    std::partial_sort(order.begin(), order.begin() + slowest, order.end(),
                      [&micros](uint32_t x, uint32_t y) { return micros[x] > micros[y]; });
    double retimedWorst = 0;
    for (size_t i = 0; i < slowest; ++i) {
        Unpack(codes[order[i]], deal);
        double best = 1e9;
        for (int repeat = 0; repeat < 20; ++repeat) {
            Clock::time_point start = Clock::now();
            AnalyzeHolds(*tables, deal, MaxWager, ranked);
            best = std::min(best, Seconds(start, Clock::now()) * 1e6);
        }
        retimedWorst = std::max(retimedWorst, best);
    }

    std::sort(micros.begin(), micros.end());
    size_t n = micros.size();
    printf("hold analysis of every deal (%zu deals, 5 coins, 1 thread, tables built): median %.2f us, "
           "99.9%% %.2f us, worst %.1f us as timed, %.2f us when the %zu slowest are timed again; %.2f s in all\n",
           n, micros[n / 2], micros[n - n / 1000], micros[n - 1], retimedWorst, slowest, total);
    printf("(best-hold checksum %llu)\n", static_cast<unsigned long long>(checksum));
    FreeAnalysisTables(tables);
}

} // namespace

int main(int argc, char **argv)
{
    int runs = argc > 1 ? atoi(argv[1]) : 5;
    if (runs < 1)
        runs = 1;
    const Timing even = TimeWholeGame(2, runs, false), machine = TimeWholeGame(2, runs, true);
    PrintTiming("whole 5-coin analysis, even deck,", 2, runs, even);
    PrintTiming("whole 5-coin analysis, machine's dealing,", 2, runs, machine);
    PrintTiming("whole 5-coin analysis, even deck,", 1, runs, TimeWholeGame(1, runs, false));
    StrategyChart evenChart, machineChart;
    const Timing evenChartTime = TimeChart(2, runs, false, evenChart);
    const Timing machineChartTime = TimeChart(2, runs, true, machineChart);
    PrintTiming("strategy chart, even deck,", 2, runs, evenChartTime);
    printf("    %zu lines, return %.6f%%\n", evenChart.lines.size(), evenChart.chartReturn * 100);
    PrintTiming("strategy chart, machine's dealing,", 2, runs, machineChartTime);
    printf("    %zu lines, return %.6f%%\n", machineChart.lines.size(), machineChart.chartReturn * 100);
    // Processor time as well as wall time: on a shared machine the wall time is at the mercy of the load.
    printf("machine's dealing against the even deck (medians): analysis %.2fx wall, %.2fx processor; "
           "chart %.2fx wall, %.2fx processor\n",
           machine.median / even.median, machine.cpu / even.cpu, machineChartTime.median / evenChartTime.median,
           machineChartTime.cpu / evenChartTime.cpu);
    TimeEveryHand();
    return 0;
}
