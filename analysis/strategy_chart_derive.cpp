// strategy_chart_derive.cpp: a chart derived from every deal: the deals tallied into groups by the lines
// they match, the lines ordered, and the chart played over the groups.
#include "analysis/strategy_chart.h"
#include "analysis/analysis_internal.h"
#include "analysis/class_blocks.h"
#include "analysis/strategy_chart_order.h"
#include "analysis/strategy_chart_patterns.h"

#include <algorithm>
#include <array>
#include <map>
#include <unordered_map>

namespace {

const size_t EvenMaxLines = 35, MachineMaxLines = 40;

// Hands that match the same lines take the same line under any order, so they are added up into one
// group: the coins of each line's hold, and of the best hold, over all of them. Values are by present
// pattern, in pattern order.
struct Group {
    std::vector<int64_t> paid;           // even deck: exact, over DrawDenominator
    std::vector<double> weighted;        // machine dealing: chance times coins
    int64_t bestPaid = 0;
    double bestWeighted = 0, chance = 0;   // the same sums, so a line that is best has no regret
    uint32_t deals = 0;
};

constexpr int SignatureWords = (PatternCount + 63) / 64;
using Signature = std::array<uint64_t, SignatureWords>;
struct SignatureHash {
    size_t operator()(const Signature &key) const
    {
        uint64_t hash = 0xcbf29ce484222325ull;
        for (uint64_t word : key)
            hash = (hash ^ word) * 0x100000001b3ull ^ (word >> 29);
        return static_cast<size_t>(hash);
    }
};
// Groups in a stable order, so every run (and every number of threads) adds them up the same way.
using Groups = std::map<Signature, Group>;
using GroupHash = std::unordered_map<Signature, Group, SignatureHash>;

bool Has(const Signature &key, int p) { return (key[static_cast<size_t>(p / 64)] >> (p % 64)) & 1; }

Group &GroupOf(GroupHash &groups, const HandHolds &holds)
{
    Signature key = {};
    for (int k = 0; k < holds.count; ++k)
        key[static_cast<size_t>(holds.present[k] / 64)] |= uint64_t(1) << (holds.present[k] % 64);
    auto found = groups.find(key);
    if (found == groups.end()) {
        found = groups.emplace(key, Group()).first;
        found->second.paid.assign(static_cast<size_t>(holds.count), 0);
        found->second.weighted.assign(static_cast<size_t>(holds.count), 0);
    }
    return found->second;
}

void Merge(Groups &into, const GroupHash &from)
{
    for (const auto &entry : from) {
        auto found = into.find(entry.first);
        if (found == into.end()) {
            into.emplace(entry.first, entry.second);
            continue;
        }
        Group &group = found->second;
        for (size_t k = 0; k < group.paid.size(); ++k) {
            group.paid[k] += entry.second.paid[k];
            group.weighted[k] += entry.second.weighted[k];
        }
        group.bestPaid += entry.second.bestPaid;
        group.bestWeighted += entry.second.bestWeighted;
        group.chance += entry.second.chance;
        group.deals += entry.second.deals;
    }
}

// Plays an order of lines over the groups: the return, and each line's share of the deals and what its
// deals give up against the best hold, per coin bet.
struct Played {
    uint64_t paid = 0, optimal = 0;
    long double weightedPaid = 0, weightedOptimal = 0;
    std::vector<double> share, loss;   // by pattern
};

Played PlayOrder(const Groups &groups, const std::vector<int> &order, bool machine, int coins)
{
    std::vector<int> position(PatternCount, PatternCount);
    for (size_t i = 0; i < order.size(); ++i)
        position[static_cast<size_t>(order[i])] = static_cast<int>(i);
    Played played;
    played.share.assign(PatternCount, 0);
    played.loss.assign(PatternCount, 0);
    const long double evenScale = 1.0L / (static_cast<long double>(DealCount) * DrawDenominator * coins);
    for (const auto &entry : groups) {
        const Group &group = entry.second;
        int first = -1;
        size_t at = 0;
        for (int p = 0, k = 0; p < PatternCount; ++p)
            if (Has(entry.first, p)) {
                if (first < 0 || position[static_cast<size_t>(p)] < position[static_cast<size_t>(first)]) {
                    first = p;
                    at = static_cast<size_t>(k);
                }
                ++k;
            }
        if (first < 0 || position[static_cast<size_t>(first)] == PatternCount)
            continue;
        played.paid += static_cast<uint64_t>(group.paid[at]);
        played.optimal += static_cast<uint64_t>(group.bestPaid);
        played.weightedPaid += group.weighted[at];
        played.weightedOptimal += group.bestWeighted;
        played.share[static_cast<size_t>(first)] += machine ? static_cast<double>(group.chance)
                                                            : static_cast<double>(group.deals) / DealCount;
        played.loss[static_cast<size_t>(first)] +=
            machine ? static_cast<double>((group.bestWeighted - group.weighted[at]) / coins)
                    : static_cast<double>((group.bestPaid - group.paid[at]) * evenScale);
    }
    return played;
}

void FillChart(StrategyChart &chart, const Played &played, const std::vector<int> &order, bool machine, int coins)
{
    chart.lines.clear();
    for (int p : order)
        chart.lines.push_back({ PatternText(p), played.share[static_cast<size_t>(p)], p,
                                played.loss[static_cast<size_t>(p)], 0.0, p >= BaseCount });
    if (!machine) {
        uint64_t denominator = static_cast<uint64_t>(DealCount) * DrawDenominator * static_cast<uint64_t>(coins);
        uint64_t divisor = GreatestCommonDivisor(played.paid, denominator);
        chart.returnNumerator = played.paid / divisor;
        chart.returnDenominator = denominator / divisor;
        chart.chartReturn = static_cast<double>(played.paid) / static_cast<double>(denominator);
        chart.optimalReturn = static_cast<double>(played.optimal) / static_cast<double>(denominator);
    } else {
        // As a fraction over 10^18: the weighted sums are long doubles, good to about 18 digits.
        long double rate = played.weightedPaid / coins;
        chart.returnDenominator = 1000000000000000000ULL;
        chart.returnNumerator = static_cast<uint64_t>(rate * 1e18L + 0.5L);
        chart.chartReturn = static_cast<double>(rate);
        chart.optimalReturn = static_cast<double>(played.weightedOptimal / coins);
    }
}

bool PlayCompared(const Groups &groups, const StrategyChart *compared, StrategyChart *comparedHere, bool machine,
                  int coins)
{
    if (!compared || !comparedHere)
        return false;
    std::vector<int> theirs;
    for (const ChartLine &line : compared->lines)
        theirs.push_back(line.pattern);
    *comparedHere = StrategyChart();
    comparedHere->coins = coins;
    comparedHere->machineDealing = machine;
    FillChart(*comparedHere, PlayOrder(groups, theirs, machine, coins), theirs, machine, coins);
    return true;
}

// The even deck's deals of a block: exact coins over DrawDenominator, each class's value the same for
// every deal of it.
void TallyEvenBlock(const AnalysisTables &tables, int coins, const ClassBlock &block, GroupHash &groups)
{
    for (int c = 0; c < block.count; ++c) {
        const DealClass &deal = block.classes[c];
        HoldValue ranked[HoldCount];
        AnalyzeHolds(tables, deal.cards, coins, ranked);
        HandHolds holds;
        HandPatterns(deal.cards, false, holds);
        Group &group = GroupOf(groups, holds);
        for (int k = 0; k < holds.count; ++k) {
            const HoldValue *hold = FindHold(ranked, holds.hold[holds.present[k]]);
            group.paid[static_cast<size_t>(k)] += hold->numerator * DrawScale(hold->cardsDrawn) * deal.deals;
        }
        group.bestPaid += ranked[0].numerator * DrawScale(ranked[0].cardsDrawn) * deal.deals;
        group.deals += deal.deals;
    }
}

// The lines of a class's deals where one of the class's suits becomes the spades: worked out once, over
// the class's order of its cards. Each of their holds is one of a few masks of the class's cards, priced
// once a deal.
struct SpadeLines {
    HandHolds holds;
    Group *group;
    int maskCount;
    uint8_t classMask[HoldCount];   // the masks
    uint8_t maskOf[PatternCount];   // by present pattern: which of them it holds
};

// What the deals of one class on the machine share.
struct MachineClass {
    const DealClass *cards;
    PatternHold list[MaxPatternHolds];
    int count;
    int64_t classPaid[HoldCount];   // each hold's even deck numerator
    Rival rivals[HoldCount];        // holds that might be best on some deal
    int rivalCount;
    bool known[5];                  // by the class's suit that is the spades, 4 for none
    SpadeLines lines[5];
};

void StartMachineClass(const WeightedTables &machine, const DealClass &dealClass, DealSets &first, MachineClass &c)
{
    c.cards = &dealClass;
    c.count = ListBaseHolds(dealClass.cards, c.list);
    EvenHoldsPaid(machine, first, c.classPaid);   // the first deal is the class's own cards
    // Every deal prices the holds its lines name; other holds only where they might be best: the best is
    // worth at least what any of these is on any deal.
    double floor = 0;
    for (int i = 0; i < c.count; ++i)
        floor = std::max(floor, LeastWorth(machine, BitCount(c.list[i].mask), c.classPaid[c.list[i].mask]));
    c.rivalCount = ListRivals(machine, c.classPaid, 0, floor * (1 - 1e-9), c.rivals);
    std::fill(c.known, c.known + 5, false);
}

SpadeLines &LinesWhereSpadesAre(MachineClass &c, int spadeSuit, GroupHash &groups)
{
    SpadeLines &lines = c.lines[spadeSuit];
    if (c.known[spadeSuit])
        return lines;
    c.known[spadeSuit] = true;
    HandPatterns(CardFacts(c.cards->cards, spadeSuit), c.list, c.count, nullptr, true, lines.holds);
    lines.group = &GroupOf(groups, lines.holds);
    lines.maskCount = 0;
    for (int k = 0; k < lines.holds.count; ++k) {
        const uint8_t mask = static_cast<uint8_t>(lines.holds.hold[lines.holds.present[k]]);
        uint8_t *last = lines.classMask + lines.maskCount;
        const uint8_t *at = std::find(lines.classMask, last, mask);
        if (at == last)
            *last = mask, ++lines.maskCount;
        lines.maskOf[k] = static_cast<uint8_t>(at - lines.classMask);
    }
    return lines;
}

void TallyMachineDeal(const WeightedTables &machine, MachineClass &c, const ClassDeal &deal, DealSets &dealSets,
                      GroupHash &groups)
{
    const double chance = static_cast<double>(DealChance(machine, dealSets)) * deal.deals;
    int spadeSuit = 4;
    for (int i = 0; i < HandSize; ++i)
        if (SuitOf(deal.sorted[deal.toSorted[i]]) == Spades)
            spadeSuit = SuitOf(c.cards->cards[i]);
    const SpadeLines &lines = LinesWhereSpadesAre(c, spadeSuit, groups);
    Group &group = *lines.group;
    alignas(64) int32_t byFinal[HoldCount][MaxAllLanes];
    ValueAllHolds(machine, dealSets, byFinal);
    double worth[HoldCount], bestWorth = 0;
    uint32_t priced = 0;
    for (int i = 0; i < lines.maskCount; ++i) {
        const int mask = MapHold(deal, lines.classMask[i]);
        worth[i] = PricedWorth(machine, dealSets, byFinal, mask);
        priced |= 1u << mask;
        bestWorth = std::max(bestWorth, worth[i]);
    }
    for (int k = 0; k < lines.holds.count; ++k)
        group.weighted[static_cast<size_t>(k)] += chance * worth[lines.maskOf[k]];
    for (int r = 0; r < c.rivalCount && c.rivals[r].bound >= bestWorth * (1 - 1e-9); ++r) {
        const int mask = MapHold(deal, c.rivals[r].mask);
        if (!(priced >> mask & 1)
            && HoldBound(machine, dealSets, mask, c.classPaid[c.rivals[r].mask]) >= bestWorth * (1 - 1e-9))
            bestWorth = std::max(bestWorth, PricedWorth(machine, dealSets, byFinal, mask));
    }
    group.bestWeighted += chance * bestWorth;
    group.chance += chance;
    group.deals += deal.deals;
}

// The machine's deals of a block. Deals of a class are alike but for the lines that name a card, and
// worth the same only where renaming suits keeps every weight: alike, the renamings that keep both, the
// weights and the spades.
void TallyMachineBlock(const WeightedTables &machine, const SuitSymmetry &alike, const ClassBlock &block,
                       GroupHash &groups)
{
    MachineClass now;
    ClassDealSets ahead[2];   // the class's deals listed with the class before
    ListClassDealSets(machine, block.classes[0], alike, ahead[0]);
    for (int c = 0; c < block.count; ++c) {
        ClassDealSets &deals = ahead[c & 1];
        if (c + 1 < block.count)
            ListClassDealSets(machine, block.classes[c + 1], alike, ahead[(c + 1) & 1]);
        StartMachineClass(machine, block.classes[c], deals.sets[0], now);
        for (int d = 0; d < deals.count; ++d)
            TallyMachineDeal(machine, now, deals.deals[d], deals.sets[d], groups);
    }
}

// Every deal into groups, on the even deck (machine null) or the machine's dealing. False when memory
// runs out.
bool TallyGroups(const AnalysisTables &tables, const WeightedTables *machine, int coins, int threads, Groups &groups)
{
    std::vector<GroupHash> parts(static_cast<size_t>(threads));
    bool tallied;
    if (!machine) {
        tallied = RunClassBlocks(threads, ClassBlockSize, [&](const ClassBlock &block) {
            TallyEvenBlock(tables, coins, block, parts[static_cast<size_t>(block.thread)]);
        });
    } else {
        SuitSymmetry alike = {};
        const SuitSymmetry &weights = WeightedSymmetry(*machine);
        for (int g = 0; g < weights.count; ++g)
            if (suitOrders.map[weights.order[g]][Spades] == Spades)
                alike.order[alike.count++] = weights.order[g];
        // Half blocks: a machine class costs far more than an even one.
        tallied = RunClassBlocks(threads, ClassBlockSize / 2, [&](const ClassBlock &block) {
            TallyMachineBlock(*machine, alike, block, parts[static_cast<size_t>(block.thread)]);
        });
    }
    if (!tallied)
        return false;
    for (const GroupHash &part : parts)
        Merge(groups, part);
    return true;
}

// The groups as the search sees them, in the groups' order.
Samples SamplesOf(const Groups &groups, bool machine)
{
    Samples data;
    for (const auto &entry : groups) {
        const Group &group = entry.second;
        Sample sample = { static_cast<uint32_t>(data.entries.size()), 0 };
        for (int p = 0; p < PatternCount; ++p)
            if (Has(entry.first, p)) {
                double v = machine ? static_cast<double>(group.weighted[sample.count])
                                   : static_cast<double>(group.paid[sample.count]);
                data.entries.push_back({ v, static_cast<uint16_t>(p) });
                ++sample.count;
            }
        data.samples.push_back(sample);
        data.optimum.push_back(machine ? static_cast<double>(group.bestWeighted) : static_cast<double>(group.bestPaid));
    }
    return data;
}

void DeriveFromGroups(const Groups &groups, bool machine, int coins, int threads, StrategyChart &chart)
{
    const Samples data = SamplesOf(groups, machine);
    std::vector<char> vocabularies[VocabularyCount];
    ChartVocabularies(machine, vocabularies);
    std::vector<int> order = OrderLines(data, machine ? MachineMaxLines : EvenMaxLines, vocabularies, threads);
    // Lines that take no deal go, and lines whose deals the lines below them hold as well: they change
    // nothing.
    Played played = PlayOrder(groups, order, machine, coins);
    order.erase(std::remove_if(order.begin(), order.end(),
                               [&](int p) { return played.share[static_cast<size_t>(p)] == 0; }),
                order.end());
    const std::vector<double> adds = KeepLinesThatAdd(data, order);
    chart = StrategyChart();
    chart.coins = coins;
    chart.machineDealing = machine;
    FillChart(chart, PlayOrder(groups, order, machine, coins), order, machine, coins);
    const double valueScale = machine ? 1.0 / coins : 1.0 / (static_cast<double>(DealCount) * DrawDenominator * coins);
    for (size_t i = 0; i + 1 < order.size(); ++i)
        chart.lines[i].gain = adds[i] * valueScale;
}

// Derives a chart, or (chart null) only plays compared on this dealing into comparedHere.
bool DeriveOrPlay(const AnalysisTables &tables, const WeightedTables *machine, int coins, int threads,
                  StrategyChart *derivedChart, const StrategyChart *compared, StrategyChart *comparedHere)
{
    if (coins < 1 || coins > MaxWager || threads < 1)
        return false;
    Groups groups;
    if (!TallyGroups(tables, machine, coins, threads, groups))
        return false;
    if (!derivedChart) {
        PlayCompared(groups, compared, comparedHere, machine != nullptr, coins);
        return true;
    }
    DeriveFromGroups(groups, machine != nullptr, coins, threads, *derivedChart);
    // Another chart's lines played on this dealing: the even deck's chart on the machine.
    if (PlayCompared(groups, compared, comparedHere, machine != nullptr, coins))
        derivedChart->comparedReturn = comparedHere->chartReturn;
    return true;
}

} // namespace

bool DeriveStrategyChart(const AnalysisTables &tables, const WeightedTables *machine, int coins,
                         int threads, StrategyChart &chart, const StrategyChart *compared,
                         StrategyChart *comparedHere)
{
    return DeriveOrPlay(tables, machine, coins, threads, &chart, compared, comparedHere);
}

bool PlayChart(const AnalysisTables &tables, const WeightedTables &dealing, int coins, int threads,
               const StrategyChart &chart, StrategyChart &played)
{
    return DeriveOrPlay(tables, &dealing, coins, threads, nullptr, &chart, &played);
}
