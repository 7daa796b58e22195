// vp_analyze.cpp: prints the exact return of optimal play, or the ranked holds of five given cards.
#include "analysis/analysis.h"
#include "analysis/cards.h"
#include "analysis/strategy_chart.h"
#include "analysis/weighted_analysis.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

const char *const rankNames[HandRankCount] = {
    "Nothing", "Royal Flush", "Straight Flush", "Four of a Kind", "Full House", "Flush", "Straight",
    "Three of a Kind", "Two Pair", "Jacks or Better",
};
// Best hand first, as pay tables are read.
const int tableOrder[HandRankCount] = { 1, 2, 3, 4, 5, 6, 7, 8, 9, 0 };

double SecondsSince(std::chrono::steady_clock::time_point start)
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// 1234567 -> "1,234,567"
const char *Grouped(uint64_t value, char *text)
{
    char digits[24];
    int length = snprintf(digits, sizeof digits, "%llu", static_cast<unsigned long long>(value));
    char *out = text;
    for (int i = 0; i < length; ++i) {
        *out++ = digits[i];
        if ((length - i - 1) % 3 == 0 && i != length - 1)
            *out++ = ',';
    }
    *out = '\0';
    return text;
}

void PrintGame(const GameAnalysis &game, double seconds)
{
    uint64_t bet = game.denominator * static_cast<uint64_t>(game.coins);
    uint64_t divisor = GreatestCommonDivisor(game.paidNumerator, bet);
    char numerator[32], denominator[32];
    printf("Optimal play, %d coin%s bet: return %s / %s = %.12f  (%.3f s)\n", game.coins,
           game.coins == 1 ? "" : "s", Grouped(game.paidNumerator / divisor, numerator),
           Grouped(bet / divisor, denominator), game.returnRate, seconds);
    printf("  %-16s %26s %14s %14s\n", "Final hand", "weight", "probability", "return/coin");
    for (int h : tableOrder) {
        double probability = static_cast<double>(game.finalHands[h]) / static_cast<double>(game.denominator);
        printf("  %-16s %26s %14.10f %14.10f\n", rankNames[h], Grouped(game.finalHands[h], numerator),
               probability, probability * PayoutFor(h, game.coins) / game.coins);
    }
    printf("  %-16s %26s\n", "Total", Grouped(game.denominator, denominator));
}

int PrintFullAnalysis(int threads)
{
    auto start = std::chrono::steady_clock::now();
    AnalysisTables *tables = CreateAnalysisTables(threads);
    if (!tables) {
        fprintf(stderr, "vp-analyze: out of memory\n");
        return 1;
    }
    printf("Tables built in %.3f s on %d thread%s\n", SecondsSince(start), threads, threads == 1 ? "" : "s");
    const int coinCounts[2] = { 5, 1 };
    for (int coins : coinCounts) {
        auto analysisStart = std::chrono::steady_clock::now();
        GameAnalysis game;
        if (!AnalyzeGame(*tables, coins, threads, game)) {
            fprintf(stderr, "vp-analyze: out of memory\n");
            FreeAnalysisTables(tables);
            return 1;
        }
        PrintGame(game, SecondsSince(analysisStart));
        if (coins == 1)
            printf("  (2, 3 and 4 coins: the same return and final hands; the pay is proportional)\n");
    }
    printf("Total time %.3f s\n", SecondsSince(start));
    FreeAnalysisTables(tables);
    return 0;
}

// The line of the even deck's chart that a dealt hand takes, and the hold it names.
void PrintChartLine(const AnalysisTables &tables, const Card cards[HandSize], int coins, int threads)
{
    StrategyChart chart;
    if (!DeriveStrategyChart(tables, nullptr, coins, threads, chart))
        return;
    int heldMask = 0;
    const int line = FollowChart(chart, cards, &heldMask);
    if (line >= 0)
        printf("The chart's line %d, %s: %s\n", line + 1, chart.lines[static_cast<size_t>(line)].text.c_str(),
               HoldRow(cards, heldMask).c_str());
}

int PrintHolds(const Card cards[HandSize], int coins, int threads, bool withChart)
{
    AnalysisTables *tables = CreateAnalysisTables(threads);
    if (!tables) {
        fprintf(stderr, "vp-analyze: out of memory\n");
        return 1;
    }
    HoldValue ranked[HoldCount];
    auto start = std::chrono::steady_clock::now();
    if (!AnalyzeHolds(*tables, cards, coins, ranked)) {
        fprintf(stderr, "vp-analyze: the five cards must be different\n");
        FreeAnalysisTables(tables);
        return 1;
    }
    double seconds = SecondsSince(start);
    printf("Holds for %d coin%s, best first (analysed in %.1f us):\n", coins, coins == 1 ? "" : "s", seconds * 1e6);
    for (int i = 0; i < HoldCount; ++i) {
        const HoldValue &hold = ranked[i];
        printf("%3d  %s ", i + 1, HoldRow(cards, hold.heldMask).c_str());
        printf(" %12.6f  %10.6f/coin  %lld / %lld\n", hold.expectedReturn, hold.expectedReturn / coins,
               static_cast<long long>(hold.numerator), static_cast<long long>(hold.denominator));
    }
    if (withChart)
        PrintChartLine(*tables, cards, coins, threads);
    FreeAnalysisTables(tables);
    return 0;
}

// The machine's own dealing: the card pick favours no card but two, which come out half as often.
int PrintMachineAnalysis(int threads, bool isEvenDeck)
{
    uint32_t weight[DeckSize];
    MachineCardWeights(weight);
    if (isEvenDeck)
        for (uint32_t &w : weight)
            w = 1;
    else
        printf("Card weights out of 32768: two of clubs %u, ace of spades %u, others %u or %u\n", weight[0],
               weight[51], weight[1], weight[2]);
    const int coinCounts[2] = { 5, 1 };
    for (int coins : coinCounts) {
        auto start = std::chrono::steady_clock::now();
        WeightedTables *tables = CreateWeightedTables(weight, coins, threads);
        WeightedGameAnalysis game;
        if (!tables || !AnalyzeWeightedGame(*tables, threads, game)) {
            fprintf(stderr, "vp-analyze: out of memory\n");
            FreeWeightedTables(tables);
            return 1;
        }
        FreeWeightedTables(tables);
        printf("%s, %d coin%s bet  (%.3f s)\n", isEvenDeck ? "Even deck, weighted arithmetic" : "Machine dealing",
               coins, coins == 1 ? "" : "s", SecondsSince(start));
        printf("  return, holding what is best for this dealing:   %.16Lf\n", game.optimalReturn);
        printf("  return, holding what is best for an even deck:   %.16Lf\n", game.evenDeckPlayReturn);
        printf("  return of an even deck, for comparison:          %.16Lf\n", game.evenDeckReturn);
        printf("  deals whose best hold changes:                   %u of %d\n", game.dealsHeldDifferently, DealCount);
        printf("  chances of all deals, added up, less 1:          %+.1Le\n", game.dealChance - 1);
    }
    return 0;
}

int PrintChart(int coins, int threads, bool isMachine)
{
    auto start = std::chrono::steady_clock::now();
    AnalysisTables *tables = CreateAnalysisTables(threads);
    StrategyChart even;
    if (!tables || !DeriveStrategyChart(*tables, nullptr, coins, threads, even)) {
        fprintf(stderr, "vp-analyze: out of memory\n");
        FreeAnalysisTables(tables);
        return 1;
    }
    printf("Strategy chart, even deck, %d coin%s bet  (%.3f s)\n", coins, coins == 1 ? "" : "s",
           SecondsSince(start));
    if (!isMachine) {
        fputs(ChartText(even).c_str(), stdout);
        printf("Chart return as a fraction: %llu / %llu\n", static_cast<unsigned long long>(even.returnNumerator),
               static_cast<unsigned long long>(even.returnDenominator));
        FreeAnalysisTables(tables);
        return 0;
    }
    uint32_t weight[DeckSize];
    MachineCardWeights(weight);
    WeightedTables *machine = CreateWeightedTables(weight, coins, threads);
    StrategyChart chart, evenHere;
    bool ok = machine && DeriveStrategyChart(*tables, machine, coins, threads, chart, &even, &evenHere);
    FreeWeightedTables(machine);
    FreeAnalysisTables(tables);
    if (!ok) {
        fprintf(stderr, "vp-analyze: out of memory\n");
        return 1;
    }
    printf("Strategy chart, machine dealing, %d coin%s bet  (%.3f s)\n", coins, coins == 1 ? "" : "s",
           SecondsSince(start));
    fputs(ChartText(chart).c_str(), stdout);
    printf("Chart return as a fraction: %llu / %llu\n", static_cast<unsigned long long>(chart.returnNumerator),
           static_cast<unsigned long long>(chart.returnDenominator));
    printf("Lines that differ from the even-deck chart:\n%s", ChartDifferences(even, chart).c_str());
    printf("The even deck's chart on this dealing: return %.6f%% (%llu / %llu), %.6f points below the best\n"
           "hold of every deal; what the deals of each line give up, in points:\n",
           evenHere.chartReturn * 100, static_cast<unsigned long long>(evenHere.returnNumerator),
           static_cast<unsigned long long>(evenHere.returnDenominator),
           (evenHere.optimalReturn - evenHere.chartReturn) * 100);
    for (size_t i = 0; i < evenHere.lines.size(); ++i)
        if (evenHere.lines[i].loss > 0.0000005e-2)
            printf("  %2zu. %-52s %9s of deals  %.6f\n", i + 1, evenHere.lines[i].text.c_str(),
                   Percent(evenHere.lines[i].share).c_str(), evenHere.lines[i].loss * 100);
    // The machine's chart on an even deck, where its lines that name a card apply too.
    uint32_t even1[DeckSize];
    std::fill(even1, even1 + DeckSize, 1u);
    WeightedTables *evenDealing = CreateWeightedTables(even1, coins, threads);
    AnalysisTables *evenTables = CreateAnalysisTables(threads);
    StrategyChart ourOnEven;
    if (evenDealing && evenTables && PlayChart(*evenTables, *evenDealing, coins, threads, chart, ourOnEven))
        printf("The machine's chart on an even deck: return %.6f%% (%llu / %llu)\n", ourOnEven.chartReturn * 100,
               static_cast<unsigned long long>(ourOnEven.returnNumerator),
               static_cast<unsigned long long>(ourOnEven.returnDenominator));
    FreeWeightedTables(evenDealing);
    FreeAnalysisTables(evenTables);
    printf("What each line that names a card adds to the machine's chart, in points (its deals sent to the\n"
           "lines below it instead):\n");
    for (size_t i = 0; i < chart.lines.size(); ++i)
        if (chart.lines[i].namesCard)
            printf(chart.lines[i].gain * 100 < 0.0000005 ? "  %2zu. %-70s %.1e\n" : "  %2zu. %-70s %.6f\n", i + 1,
                   chart.lines[i].text.c_str(), chart.lines[i].gain * 100);
    return 0;
}

void PrintUsage()
{
    fprintf(stderr,
            "usage: vp-analyze [--threads N]                 exact return of optimal play\n"
            "       vp-analyze [--coins N] [--chart] CARD x5  ranked holds, e.g. AS KS QS JS 9D; with\n"
            "                                                the even chart's line for the hand\n"
            "       vp-analyze --machine [--threads N]       return under the machine's own card pick\n"
            "       vp-analyze --chart [--machine] [--coins N]  a strategy chart and what it returns\n");
}

} // namespace

int main(int argc, char **argv)
{
    int coins = MaxWager;
    int threads = 2;
    Card cards[HandSize];
    int cardCount = 0;
    bool isMachine = false, isEvenCheck = false, isChart = false;
    for (int i = 1; i < argc; ++i) {
        if (strcmp(argv[i], "--chart") == 0) {
            isChart = true;
            continue;
        }
        if (strcmp(argv[i], "--machine") == 0 || strcmp(argv[i], "--even-weights") == 0) {
            isMachine = true;
            isEvenCheck = strcmp(argv[i], "--even-weights") == 0;
            continue;
        }
        if ((strcmp(argv[i], "--coins") == 0 || strcmp(argv[i], "--threads") == 0) && i + 1 < argc) {
            int value = atoi(argv[i + 1]);
            if (strcmp(argv[i], "--coins") == 0)
                coins = value;
            else
                threads = value;
            ++i;
            continue;
        }
        int card = ParseCard(argv[i]);
        if (card < 0 || cardCount == HandSize) {
            PrintUsage();
            return 2;
        }
        cards[cardCount++] = static_cast<Card>(card);
    }
    if (coins < 1 || coins > MaxWager || threads < 1 || threads > 8 || (cardCount != 0 && cardCount != HandSize)) {
        PrintUsage();
        return 2;
    }
    if (isChart && cardCount == 0 && !isEvenCheck)
        return PrintChart(coins, threads, isMachine);
    if (isMachine)
        return PrintMachineAnalysis(threads, isEvenCheck);
    return cardCount == 0 ? PrintFullAnalysis(threads) : PrintHolds(cards, coins, threads, isChart);
}
