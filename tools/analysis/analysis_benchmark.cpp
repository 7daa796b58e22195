// analysis_benchmark.cpp: timed runs of the whole-game analysis and of the hold analysis of every deal.
#include "analysis/analysis.h"
#include "analysis/strategy_chart.h"

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

// Tables and the 5-coin analysis from nothing, as a player of the tool would wait for them.
void TimeWholeGame(int threads, int runs)
{
    std::vector<double> tableTimes, totalTimes, cpuTimes;
    for (int run = 0; run < runs; ++run) {
        std::clock_t cpuStart = std::clock();
        Clock::time_point start = Clock::now();
        AnalysisTables *tables = CreateAnalysisTables(threads);
        Clock::time_point built = Clock::now();
        GameAnalysis game;
        if (!tables || !AnalyzeGame(*tables, MaxWager, threads, game)) {
            fprintf(stderr, "analysis failed\n");
            exit(1);
        }
        Clock::time_point done = Clock::now();
        FreeAnalysisTables(tables);
        tableTimes.push_back(Seconds(start, built));
        totalTimes.push_back(Seconds(start, done));
        cpuTimes.push_back(static_cast<double>(std::clock() - cpuStart) / CLOCKS_PER_SEC);
    }
    printf("whole 5-coin analysis, %d thread%s, %d runs: median %.3f s, best %.3f s (tables: median %.3f s); "
           "processor time median %.3f s\n",
           threads, threads == 1 ? "" : "s", runs, Median(totalTimes),
           *std::min_element(totalTimes.begin(), totalTimes.end()), Median(tableTimes), Median(cpuTimes));
}

// The even-deck chart at 5 coins, from tables already built, as the host derives it.
void TimeChart(int threads, int runs)
{
    AnalysisTables *tables = CreateAnalysisTables(threads);
    std::vector<double> times;
    StrategyChart chart;
    for (int run = 0; run < runs && tables; ++run) {
        Clock::time_point start = Clock::now();
        if (!DeriveStrategyChart(*tables, nullptr, MaxWager, threads, chart)) {
            fprintf(stderr, "chart failed\n");
            exit(1);
        }
        times.push_back(Seconds(start, Clock::now()));
    }
    FreeAnalysisTables(tables);
    if (times.empty()) {
        fprintf(stderr, "out of memory\n");
        exit(1);
    }
    printf("strategy chart (even deck, 5 coins), %d thread%s, %d runs: median %.3f s, best %.3f s; "
           "%zu lines, return %.6f%%\n",
           threads, threads == 1 ? "" : "s", runs, Median(times), *std::min_element(times.begin(), times.end()),
           chart.lines.size(), chart.chartReturn * 100);
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
    TimeWholeGame(2, runs);
    TimeWholeGame(1, runs);
    TimeChart(2, runs);
    TimeEveryHand();
    return 0;
}
