// strategy_chart.cpp: the chart's vocabulary of holds, and the order that the analysis gives it.
#include "analysis/strategy_chart.h"
#include "analysis/analysis_internal.h"
#include "analysis/cards.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>
#include <cstdlib>
#include <thread>

namespace {

// The vocabulary: every hold a line can name.
enum : int {
    RoyalMade = 0, StraightFlushMade, QuadsMade, FullHouseMade, FlushMade, StraightMade, Trips, TwoPairs,
    HighPair, LowPair, Royal4, StraightFlush4Outside, StraightFlush4Inside, Royal3,
    Royal2First,                                  // two suited cards of T..A: 10 of them
    StraightFlush3First = Royal2First + 10,       // by gaps (0..2) * 3 + high cards (0..2)
    Flush4 = StraightFlush3First + 9,
    Flush3First,                                  // by high cards 0..2
    Straight4OutsideFirst = Flush3First + 3,      // by high cards 0..4
    Straight4InsideFirst = Straight4OutsideFirst + 5,
    HighCardsFirst = Straight4InsideFirst + 5,    // by the set of J, Q, K, A held: bit 0 jack .. bit 3 ace
    StraightFlush3TypeFirst = HighCardsFirst + 16,   // high cards at least gaps; one short; two short
    SuitedHigh2 = StraightFlush3TypeFirst + 3,
    UnsuitedHigh2, HighAlone,                     // the two lowest high cards; the lowest one
    DrawFive,
    PatternCount
};

bool IsHigh(int rank) { return rank >= Jack; }

int Royal2Index(int low, int high)
{
    int index = 0;
    for (int a = Ten; a <= Ace; ++a)
        for (int b = a + 1; b <= Ace; ++b, ++index)
            if (a == low && b == high)
                return index;
    return -1;
}

std::string PatternText(int pattern)
{
    static const char *const fixed[] = {
        "royal flush", "straight flush", "four of a kind", "full house", "flush", "straight",
        "three of a kind", "two pair", "high pair (J-A)", "low pair (2-T)", "4 to a royal flush",
        "4 to a straight flush, outside", "4 to a straight flush, inside", "3 to a royal flush",
    };
    if (pattern < Royal2First)
        return fixed[pattern];
    std::string text;
    if (pattern < StraightFlush3First) {
        int index = pattern - Royal2First;
        for (int a = Ten; a <= Ace; ++a)
            for (int b = a + 1; b <= Ace; ++b)
                if (index-- == 0)
                    text = std::string(1, RankLetters[b]) + RankLetters[a] + " suited";
        return text;
    }
    static const char *const gapNames[] = { "no gap", "1 gap", "2 gaps" };
    static const char *const highNames[] = { "no high card", "1 high card", "2 high cards", "3 high cards",
                                             "4 high cards" };
    if (pattern < Flush4) {
        int index = pattern - StraightFlush3First;
        return std::string("3 to a straight flush, ") + gapNames[index / 3] + ", " + highNames[index % 3];
    }
    if (pattern == Flush4)
        return "4 to a flush";
    if (pattern < Straight4OutsideFirst)
        return std::string("3 to a flush, ") + highNames[pattern - Flush3First];
    if (pattern < Straight4InsideFirst)
        return std::string("4 to an outside straight, ") + highNames[pattern - Straight4OutsideFirst];
    if (pattern < HighCardsFirst)
        return std::string("4 to an inside straight, ") + highNames[pattern - Straight4InsideFirst];
    if (pattern < StraightFlush3TypeFirst) {
        int set = pattern - HighCardsFirst;
        for (int rank = Ace; rank >= Jack; --rank)
            if (set & (1 << (rank - Jack)))
                text += RankLetters[rank];
        return text + (text.size() == 1 ? " alone" : " unsuited");
    }
    if (pattern < SuitedHigh2) {
        static const char *const types[] = { "high cards >= gaps", "gaps = high cards + 1",
                                             "gaps = high cards + 2" };
        return std::string("3 to a straight flush, ") + types[pattern - StraightFlush3TypeFirst];
    }
    if (pattern == SuitedHigh2)
        return "2 suited high cards";
    if (pattern == UnsuitedHigh2)
        return "2 unsuited high cards, the lowest two";
    if (pattern == HighAlone)
        return "1 high card, the lowest";
    return "draw five";
}

// Adds to found the patterns that holding exactly the cards of mask stands for.
int MaskPatterns(const Card cards[HandSize], int mask, HandRank rank, int found[8])
{
    int count = 0, kept = 0, high = 0, rankBits = 0, rankCount[13] = {};
    bool suited = true;
    int firstSuit = -1;
    for (int i = 0; i < HandSize; ++i)
        if (mask & (1 << i)) {
            int r = RankOf(cards[i]);
            ++kept;
            high += IsHigh(r);
            rankBits |= 1 << r;
            ++rankCount[r];
            if (firstSuit < 0)
                firstSuit = SuitOf(cards[i]);
            suited = suited && SuitOf(cards[i]) == firstSuit;
        }
    int distinct = 0, lowest = 13, highest = -1;
    for (int r = 0; r < 13; ++r)
        if (rankBits & (1 << r)) {
            ++distinct;
            lowest = std::min(lowest, r);
            highest = std::max(highest, r);
        }
    // Fits in a straight: ace high, or ace low under a five.
    bool fits = distinct == kept && kept > 0 && highest - lowest <= 4;
    int gaps = highest - lowest + 1 - kept;
    bool aceInvolved = (rankBits & (1 << Ace)) != 0;
    if (!fits && distinct == kept && aceInvolved && kept > 1) {
        int lowBits = (rankBits & ~(1 << Ace));
        int top = 0;
        for (int r = 0; r < 13; ++r)
            if (lowBits & (1 << r))
                top = r;
        if (top <= Five) {
            fits = true;
            gaps = top + 2 - kept;
        }
    }
    bool royal = suited && distinct == kept && lowest >= Ten;
    bool allHigh = distinct == kept && kept > 0 && lowest >= Jack;
    auto add = [&](int pattern) { found[count++] = pattern; };
    switch (kept) {
    case 5:
        if (rank == RoyalFlush) add(RoyalMade);
        else if (rank == StraightFlush) add(StraightFlushMade);
        else if (rank == FourOfAKind) add(QuadsMade);
        else if (rank == FullHouse) add(FullHouseMade);
        else if (rank == Flush) add(FlushMade);
        else if (rank == Straight) add(StraightMade);
        break;
    case 4:
        if (distinct == 2 && rankCount[lowest] == 2)
            add(TwoPairs);
        if (distinct == 4) {
            if (royal) add(Royal4);
            if (suited && fits) add(gaps == 0 && !aceInvolved ? StraightFlush4Outside : StraightFlush4Inside);
            if (suited) add(Flush4);
            if (fits) add((gaps == 0 && !aceInvolved ? Straight4OutsideFirst : Straight4InsideFirst) + high);
            if (allHigh && !suited) add(HighCardsFirst + (rankBits >> Jack));
        }
        break;
    case 3:
        if (distinct == 1)
            add(Trips);
        if (distinct == 3) {
            if (royal) add(Royal3);
            if (suited && fits && high <= 2 && !royal) {
                add(StraightFlush3First + gaps * 3 + high);
                add(StraightFlush3TypeFirst + std::max(0, gaps - high));
            }
            if (suited && high <= 2) add(Flush3First + high);
            if (allHigh && !suited) add(HighCardsFirst + (rankBits >> Jack));
        }
        break;
    case 2:
        if (distinct == 1)
            add(IsHigh(lowest) ? HighPair : LowPair);
        else if (suited && lowest >= Ten) {
            add(Royal2First + Royal2Index(lowest, highest));
            if (lowest >= Jack)
                add(SuitedHigh2);
        }
        else if (allHigh && !suited)
            add(HighCardsFirst + (rankBits >> Jack));
        break;
    case 1:
        if (IsHigh(lowest))
            add(HighCardsFirst + (rankBits >> Jack));
        break;
    default:
        add(DrawFive);
        break;
    }
    return count;
}

// holds[p]: the mask that pattern p keeps on this hand, -1 when the hand has no such hold.
void HandPatterns(const Card cards[HandSize], int8_t holds[PatternCount])
{
    std::fill(holds, holds + PatternCount, int8_t(-1));
    HandRank rank = ClassifyCards(cards);
    for (int mask = 0; mask < HoldCount; ++mask) {
        int found[8];
        int count = MaskPatterns(cards, mask, rank, found);
        for (int i = 0; i < count; ++i)
            if (holds[found[i]] < 0)
                holds[found[i]] = static_cast<int8_t>(mask);
    }
    // The lowest high cards: sets of one and two, tried from the lowest ranks up.
    for (int set = 1; set < 16; set <<= 1)
        if (holds[HighAlone] < 0 && holds[HighCardsFirst + set] >= 0)
            holds[HighAlone] = holds[HighCardsFirst + set];
    static const int lowestPairs[] = { 3, 5, 6, 9, 10, 12 };   // JQ, JK, QK, JA, QA, KA
    int highRanks = 0;
    for (int i = 0; i < HandSize; ++i)
        if (IsHigh(RankOf(cards[i])))
            highRanks |= 1 << (RankOf(cards[i]) - Jack);
    for (int set : lowestPairs)
        if (holds[UnsuitedHigh2] < 0 && (highRanks & set) == set) {
            if (holds[HighCardsFirst + set] >= 0)
                holds[UnsuitedHigh2] = holds[HighCardsFirst + set];
            break;
        }
}

struct Entry {
    double value;         // chance-weighted coins of this hold; derivation only compares them
    uint8_t pattern;
};

struct Sample {
    uint32_t first, count;
};

struct Samples {
    std::vector<Sample> samples;
    std::vector<Entry> entries;
    double optimal = 0;
    double Value(const int position[PatternCount], double *share, const double *weight) const
    {
        double total = 0;
        for (size_t s = 0; s < samples.size(); ++s) {
            const Entry *e = &entries[samples[s].first];
            int best = PatternCount, line = -1;
            double value = 0;
            for (uint32_t i = 0; i < samples[s].count; ++i)
                if (position[e[i].pattern] < best) {
                    best = position[e[i].pattern];
                    line = e[i].pattern;
                    value = e[i].value;
                }
            total += value;
            if (share && line >= 0)
                share[line] += weight[s];
        }
        return total;
    }
};

std::vector<int> PositionsOf(const std::vector<int> &order)
{
    std::vector<int> position(PatternCount, PatternCount);
    for (size_t i = 0; i < order.size(); ++i)
        position[static_cast<size_t>(order[i])] = static_cast<int>(i);
    return position;
}

// Where in order, without p, each hand that p could take would otherwise go, and what it would win there.
// gain[j]: the change in return when p goes in at line j (before order[j]) instead of where it is.
void InsertionGains(const Samples &data, const std::vector<std::vector<uint32_t>> &holders,
                    const std::vector<int> &order, int p, std::vector<double> &gain)
{
    int position[PatternCount];
    std::fill(position, position + PatternCount, PatternCount);
    int n = 0;
    for (int line : order)
        if (line != p)
            position[line] = n++;
    gain.assign(static_cast<size_t>(n) + 1, 0.0);
    int current = PatternCount;
    for (size_t i = 0; i < order.size(); ++i)
        if (order[i] == p)
            current = static_cast<int>(i);
    for (uint32_t s : holders[static_cast<size_t>(p)]) {
        const Entry *e = &data.entries[data.samples[s].first];
        int other = n;
        double otherValue = 0, own = 0;
        for (uint32_t i = 0; i < data.samples[s].count; ++i) {
            if (e[i].pattern == p)
                own = e[i].value;
            else if (position[e[i].pattern] < other) {
                other = position[e[i].pattern];
                otherValue = e[i].value;
            }
        }
        // Now: p takes the hand when it stands before the hand's other first line.
        bool takesNow = current < PatternCount && current <= other;
        double now = takesNow ? own : otherValue;
        // Going in at j <= other, p takes it; beyond, the other line does.
        gain[0] += own - now;
        if (other < n)
            gain[static_cast<size_t>(other) + 1] += otherValue - own;
    }
    for (size_t j = 1; j < gain.size(); ++j)
        gain[j] += gain[j - 1];
}

// Orders the vocabulary: first, greedily, the line that costs least per deal among the hands it takes;
// then moves single lines to where they add most, and drops the lines that cost least to lose.
std::vector<int> OrderLines(const Samples &data, const std::vector<double> &optimum, size_t maxLines,
                            const std::vector<char> &allowed)
{
    std::vector<int> order;
    std::vector<char> covered(data.samples.size(), 0), used(PatternCount, 0);
    std::vector<double> regret(PatternCount), reach(PatternCount);
    std::vector<std::vector<uint32_t>> holders(PatternCount);
    for (size_t s = 0; s < data.samples.size(); ++s)
        for (uint32_t i = 0; i < data.samples[s].count; ++i)
            holders[data.entries[data.samples[s].first + i].pattern].push_back(static_cast<uint32_t>(s));
    for (int p = 0; p < PatternCount; ++p)
        if (!allowed[p]) {
            holders[static_cast<size_t>(p)].clear();
            used[static_cast<size_t>(p)] = 1;
        }
    for (;;) {
        std::fill(regret.begin(), regret.end(), 0.0);
        std::fill(reach.begin(), reach.end(), 0.0);
        for (size_t s = 0; s < data.samples.size(); ++s) {
            if (covered[s])
                continue;
            const Entry *e = &data.entries[data.samples[s].first];
            for (uint32_t i = 0; i < data.samples[s].count; ++i)
                if (!used[e[i].pattern]) {
                    regret[e[i].pattern] += optimum[s] - e[i].value;
                    reach[e[i].pattern] += 1;
                }
        }
        int pick = -1;
        for (int p = 0; p < PatternCount; ++p)
            if (!used[p] && reach[p] > 0 && p != DrawFive
                && (pick < 0 || regret[p] * reach[pick] < regret[pick] * reach[p]))
                pick = p;
        if (pick < 0)
            break;
        used[pick] = 1;
        order.push_back(pick);
        for (uint32_t s : holders[static_cast<size_t>(pick)])
            covered[s] = 1;
    }
    order.push_back(DrawFive);

    std::vector<double> gain;
    auto moveBest = [&](bool mayAdd) {
        for (bool changed = true; changed;) {
            changed = false;
            for (int p = 0; p < PatternCount; ++p) {
                if (p == DrawFive || !allowed[p])
                    continue;
                bool present = std::find(order.begin(), order.end(), p) != order.end();
                if (!present && (!mayAdd || order.size() >= maxLines))
                    continue;
                InsertionGains(data, holders, order, p, gain);
                // The last line stays "draw five": p goes in before it or not at all.
                size_t best = 0;
                for (size_t j = 0; j + 1 < gain.size(); ++j)
                    if (gain[j] > gain[best])
                        best = j;
                double stay = 0;
                int here = -1;
                if (present) {
                    for (size_t i = 0; i < order.size(); ++i)
                        if (order[i] == p)
                            here = static_cast<int>(i);
                    stay = gain[static_cast<size_t>(here)];
                }
                if (gain[best] > stay + 1e-6 * (1 + std::abs(stay))) {
                    if (present)
                        order.erase(order.begin() + here);
                    order.insert(order.begin() + static_cast<long>(best), p);
                    changed = true;
                }
            }
        }
    };
    moveBest(false);
    // Drop the line whose hands lose least by going to their next line, while there are too many.
    while (order.size() > maxLines) {
        int drop = -1;
        double dropLoss = 0;
        for (size_t i = 0; i + 1 < order.size(); ++i) {
            InsertionGains(data, holders, order, order[i], gain);
            double loss = gain[i] - gain.back();
            // On a tie the narrower line goes, so a general line outlives the special cases it covers.
            if (drop < 0 || loss < dropLoss
                || (loss == dropLoss && holders[order[i]].size() < holders[order[drop]].size())) {
                drop = static_cast<int>(i);
                dropLoss = loss;
            }
        }
        order.erase(order.begin() + drop);
        moveBest(false);
    }
    // Trade a line for one left out while that pays.
    for (bool traded = true; traded;) {
        traded = false;
        double value = data.Value(PositionsOf(order).data(), nullptr, nullptr);
        for (int p = 0; p < PatternCount; ++p) {
            if (p == DrawFive || std::find(order.begin(), order.end(), p) != order.end() || holders[p].empty())
                continue;
            std::vector<int> saved = order;
            InsertionGains(data, holders, order, p, gain);
            size_t best = 0;
            for (size_t j = 0; j + 1 < gain.size(); ++j)
                if (gain[j] > gain[best])
                    best = j;
            order.insert(order.begin() + static_cast<long>(best), p);
            int drop = -1;
            double dropLoss = 0;
            for (size_t i = 0; i + 1 < order.size(); ++i) {
                if (order[i] == p)
                    continue;
                InsertionGains(data, holders, order, order[i], gain);
                double loss = gain[i] - gain.back();
                if (drop < 0 || loss < dropLoss) {
                    drop = static_cast<int>(i);
                    dropLoss = loss;
                }
            }
            order.erase(order.begin() + drop);
            moveBest(false);
            double traded_value = data.Value(PositionsOf(order).data(), nullptr, nullptr);
            if (traded_value > value * (1 + 1e-12)) {
                value = traded_value;
                traded = true;
            } else {
                order = saved;
            }
        }
    }
    return order;
}

const size_t MaxLines = 35;

// Hands that match the same lines take the same line under any order, so they are added up into one
// group: the coins of each line's hold, and of the best hold, over all of them.
struct Group {
    int64_t paid[PatternCount];          // even deck: exact, over DrawDenominator
    long double weighted[PatternCount];  // machine dealing: chance times coins
    int64_t bestPaid;
    long double bestWeighted, chance;
    uint32_t deals;
};

struct Signature {
    uint64_t low, high;
    bool operator<(const Signature &other) const
    {
        return low != other.low ? low < other.low : high < other.high;
    }
};

using Groups = std::map<Signature, Group>;

Group &GroupOf(Groups &groups, const int8_t holds[PatternCount])
{
    Signature key = { 0, 0 };
    for (int p = 0; p < PatternCount; ++p)
        if (holds[p] >= 0)
            (p < 64 ? key.low : key.high) |= uint64_t(1) << (p % 64);
    auto found = groups.find(key);
    if (found == groups.end())
        found = groups.emplace(key, Group()).first;   // value-initialised: all zero
    return found->second;
}

void Merge(Groups &into, const Groups &from)
{
    for (const auto &entry : from) {
        Group &group = into[entry.first];
        for (int p = 0; p < PatternCount; ++p) {
            group.paid[p] += entry.second.paid[p];
            group.weighted[p] += entry.second.weighted[p];
        }
        group.bestPaid += entry.second.bestPaid;
        group.bestWeighted += entry.second.bestWeighted;
        group.chance += entry.second.chance;
        group.deals += entry.second.deals;
    }
}

} // namespace

bool DeriveStrategyChart(const AnalysisTables &tables, const WeightedTables *machine, int coins,
                         int threads, StrategyChart &chart)
{
    if (coins < 1 || coins > MaxWager || threads < 1)
        return false;
    std::vector<Groups> parts(static_cast<size_t>(threads));
    if (!machine) {
        std::vector<DealClass> classes(DealClassCount);
        int classCount = ListDealClasses(classes.data());
        constexpr int BlockSize = 1024;
        RunBlocks(threads, (classCount + BlockSize - 1) / BlockSize, [&](int block, int t) {
            Groups &groups = parts[static_cast<size_t>(t)];
            for (int c = block * BlockSize; c < std::min(classCount, (block + 1) * BlockSize); ++c) {
                const DealClass &deal = classes[static_cast<size_t>(c)];
                HoldValue ranked[HoldCount];
                AnalyzeHolds(tables, deal.cards, coins, ranked);
                int8_t holds[PatternCount];
                HandPatterns(deal.cards, holds);
                Group &group = GroupOf(groups, holds);
                for (int p = 0; p < PatternCount; ++p)
                    if (holds[p] >= 0) {
                        const HoldValue *hold = FindHold(ranked, holds[p]);
                        group.paid[p] += hold->numerator * DrawScale(hold->cardsDrawn) * deal.deals;
                    }
                group.bestPaid += ranked[0].numerator * DrawScale(ranked[0].cardsDrawn) * deal.deals;
                group.deals += deal.deals;
            }
        });
    } else {
        // Suits are not alike here, so every deal counts; split by the highest card.
        RunBlocks(threads, DeckSize - 4, [&](int block, int t) {
            Groups &groups = parts[static_cast<size_t>(t)];
            ForEachDealWithHighest(DeckSize - 1 - block, [&](const Card deal[HandSize]) {
                long double value[HoldCount];
                WeightedHoldValues(*machine, deal, value);
                long double chance = DealChance(*machine, deal);
                int8_t holds[PatternCount];
                HandPatterns(deal, holds);
                Group &group = GroupOf(groups, holds);
                for (int p = 0; p < PatternCount; ++p)
                    if (holds[p] >= 0)
                        group.weighted[p] += chance * value[holds[p]];
                group.bestWeighted += chance * *std::max_element(value, value + HoldCount);
                group.chance += chance;
                group.deals += 1;
            });
        });
    }
    Groups groups;
    for (const Groups &part : parts)
        Merge(groups, part);

    Samples data;
    std::vector<double> optimum, weight;
    for (const auto &entry : groups) {
        const Group &group = entry.second;
        Sample sample = { static_cast<uint32_t>(data.entries.size()), 0 };
        for (int p = 0; p < PatternCount; ++p)
            if ((p < 64 ? entry.first.low >> p : entry.first.high >> (p - 64)) & 1) {
                double v = machine ? static_cast<double>(group.weighted[p]) : static_cast<double>(group.paid[p]);
                data.entries.push_back({ v, static_cast<uint8_t>(p) });
                ++sample.count;
            }
        data.samples.push_back(sample);
        optimum.push_back(machine ? static_cast<double>(group.bestWeighted) : static_cast<double>(group.bestPaid));
        weight.push_back(machine ? static_cast<double>(group.chance) : static_cast<double>(group.deals) / DealCount);
    }

    std::vector<char> everything(PatternCount, 1), general(PatternCount, 1);
    // Two more vocabularies, where pairs and single high cards, then also three to a straight flush, are
    // named only in general: the search keeps special cases a general line would cover, so all are tried.
    for (int p = Royal2First; p < Royal2First + 10; ++p)
        general[static_cast<size_t>(p)] = p == Royal2First + Royal2Index(Ten, Jack) || p == Royal2First + Royal2Index(Ten, Queen)
                         || p == Royal2First + Royal2Index(Ten, King) || p == Royal2First + Royal2Index(Ten, Ace);
    for (int set = 1; set < 16; ++set)
        if (__builtin_popcount(static_cast<unsigned>(set)) <= 2)
            general[static_cast<size_t>(HighCardsFirst + set)] = 0;
    std::vector<char> types = general;
    for (int p = StraightFlush3First; p < Flush4; ++p)
        types[static_cast<size_t>(p)] = 0;
    std::vector<int> order = OrderLines(data, optimum, MaxLines, everything);
    for (const std::vector<char> *allowed : { &general, &types }) {
        std::vector<int> tried = OrderLines(data, optimum, MaxLines, *allowed);
        if (data.Value(PositionsOf(tried).data(), nullptr, nullptr) > data.Value(PositionsOf(order).data(), nullptr, nullptr))
            order = tried;
    }
    std::vector<int> position = PositionsOf(order);
    double share[PatternCount] = {};
    data.Value(position.data(), share, weight.data());

    // The exact return: each group's first line, in the order found.
    uint64_t paid = 0, optimal = 0;
    long double weightedPaid = 0, weightedOptimal = 0;
    for (const auto &entry : groups) {
        int first = -1;
        for (int p = 0; p < PatternCount; ++p)
            if (((p < 64 ? entry.first.low >> p : entry.first.high >> (p - 64)) & 1)
                && (first < 0 || position[static_cast<size_t>(p)] < position[static_cast<size_t>(first)]))
                first = p;
        paid += static_cast<uint64_t>(entry.second.paid[first]);
        optimal += static_cast<uint64_t>(entry.second.bestPaid);
        weightedPaid += entry.second.weighted[first];
        weightedOptimal += entry.second.bestWeighted;
    }
    chart = StrategyChart();
    chart.coins = coins;
    chart.machineDealing = machine != nullptr;
    for (int p : order)
        chart.lines.push_back({ PatternText(p), share[p], p });
    if (!machine) {
        uint64_t denominator = static_cast<uint64_t>(DealCount) * DrawDenominator * static_cast<uint64_t>(coins);
        uint64_t divisor = GreatestCommonDivisor(paid, denominator);
        chart.returnNumerator = paid / divisor;
        chart.returnDenominator = denominator / divisor;
        chart.chartReturn = static_cast<double>(paid) / static_cast<double>(denominator);
        chart.optimalReturn = static_cast<double>(optimal) / static_cast<double>(denominator);
    } else {
        // As a fraction over 10^18: the weighted sums are long doubles, good to about 18 digits.
        long double rate = weightedPaid / coins;
        chart.returnDenominator = 1000000000000000000ULL;
        chart.returnNumerator = static_cast<uint64_t>(rate * 1e18L + 0.5L);
        chart.chartReturn = static_cast<double>(rate);
        chart.optimalReturn = static_cast<double>(weightedOptimal / coins);
    }
    return true;
}

int FollowChart(const StrategyChart &chart, const Card cards[HandSize], int *heldMask)
{
    int8_t holds[PatternCount];
    HandPatterns(cards, holds);
    for (size_t i = 0; i < chart.lines.size(); ++i) {
        int p = chart.lines[i].pattern;
        if (p >= 0 && p < PatternCount && holds[p] >= 0) {
            if (heldMask)
                *heldMask = holds[p];
            return static_cast<int>(i);
        }
    }
    if (heldMask)
        *heldMask = 0;
    return -1;
}

std::string ChartText(const StrategyChart &chart)
{
    std::string text;
    char line[128];
    for (size_t i = 0; i < chart.lines.size(); ++i) {
        snprintf(line, sizeof line, "%2zu. %-44s %8.4f%%\n", i + 1, chart.lines[i].text.c_str(),
                 chart.lines[i].share * 100);
        text += line;
    }
    snprintf(line, sizeof line, "Chart return:   %.6f%%\nOptimal return: %.6f%%\n", chart.chartReturn * 100,
             chart.optimalReturn * 100);
    text += line;
    return text;
}

std::string ChartDifferences(const StrategyChart &even, const StrategyChart &machine)
{
    // A line differs when only one chart has it, or when a line both have stands above it in one chart
    // and below it in the other.
    auto indexOf = [](const StrategyChart &chart, int pattern) {
        for (size_t i = 0; i < chart.lines.size(); ++i)
            if (chart.lines[i].pattern == pattern)
                return static_cast<int>(i);
        return -1;
    };
    std::string text;
    char line[160];
    for (size_t i = 0; i < machine.lines.size(); ++i) {
        int there = indexOf(even, machine.lines[i].pattern);
        const char *what = nullptr;
        if (there < 0)
            what = "new";
        for (size_t j = 0; j < machine.lines.size() && !what; ++j) {
            int other = indexOf(even, machine.lines[j].pattern);
            if (other >= 0 && (j < i) != (other < there))
                what = "moved";
        }
        if (what) {
            if (there < 0)
                snprintf(line, sizeof line, "%2zu %s: %s\n", i + 1, machine.lines[i].text.c_str(), what);
            else
                snprintf(line, sizeof line, "%2zu (even %d) %s: %s\n", i + 1, there + 1,
                         machine.lines[i].text.c_str(), what);
            text += line;
        }
    }
    for (const ChartLine &evenLine : even.lines)
        if (indexOf(machine, evenLine.pattern) < 0)
            text += "   even deck only: " + evenLine.text + "\n";
    return text;
}
