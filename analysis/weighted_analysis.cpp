// weighted_analysis.cpp: hold values and optimal play when cards come out by weight, one at a time.
//
// A set of cards dealt this way has a chance that depends only on how many cards of each weight it
// holds and on the weight left in the deck, so the superset sums of the even deck are kept once per
// such composition and priced by it.
#include "analysis/weighted_analysis.h"
#include "analysis/analysis_internal.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>

namespace {

constexpr int MaxWeights = 3;
constexpr int MaxSlots = 21;     // compositions of five cards over three weights

struct Composition {
    int count[MaxWeights];
};

Composition operator+(Composition a, const Composition &b)
{
    for (int t = 0; t < MaxWeights; ++t)
        a.count[t] += b.count[t];
    return a;
}

// Chance that one given set of cards, `counts` of each weight, comes out in the next picks from a deck
// whose weights add up to `left`: the first card is any of them, then the rest from what is left.
long double SetChance(const uint32_t weight[MaxWeights], long double left, Composition counts)
{
    long double chance = 0;
    bool isEmpty = true;
    for (int t = 0; t < MaxWeights; ++t) {
        if (counts.count[t] == 0)
            continue;
        isEmpty = false;
        Composition rest = counts;
        --rest.count[t];
        chance += counts.count[t] * (weight[t] / left) * SetChance(weight, left - weight[t], rest);
    }
    return isEmpty ? 1 : chance;
}

} // namespace

struct WeightedTables {
    int coins;
    int weightCount;
    uint32_t weightOf[MaxWeights];           // the different weights, ascending
    uint8_t kindOf[DeckSize];                // which of them each card has
    int32_t payout[HandRankCount];
    int slotCount[HandSize + 1];             // compositions of m cards
    Composition slotComposition[HandSize + 1][MaxSlots];
    int8_t slotOf[HandSize + 1][HandSize + 1][HandSize + 1];   // [m][count 0][count 1]; -1: none
    // Coins paid, summed over the five-card hands that extend a set, by the composition of the cards
    // added to it: rows of slotCount[5 - size] for sets of 4, 3, 2, 1 and no cards.
    uint32_t *fours;
    uint32_t *threes;
    uint32_t *twos;
    int64_t ones[DeckSize][MaxSlots];
    int64_t none[MaxSlots];
    // drawChance[deal][m][s]: chance of a given set of m replacements of composition s, for a deal of
    // composition `deal`; dealChance[deal]: chance of a given deal.
    long double drawChance[MaxSlots][HandSize + 1][MaxSlots];
    long double dealChance[MaxSlots];
    // The same compositions as small-number arithmetic for the loop over every deal: the slot after
    // adding a card of a weight, and the final hand's slot from the held and the added slots.
    int8_t withCard[HandSize][MaxSlots][MaxWeights];
    int8_t finalSlot[HandSize + 1][MaxSlots][MaxSlots];
};

namespace {

int SlotOf(const WeightedTables &tables, int cards, const Composition &composition)
{
    for (int t = 0; t < MaxWeights; ++t)
        if (composition.count[t] < 0)
            return -1;
    return tables.slotOf[cards][composition.count[0]][composition.count[1]];
}

Composition CompositionOf(const WeightedTables &tables, const Card *cards, int count)
{
    Composition composition = {};
    for (int i = 0; i < count; ++i)
        ++composition.count[tables.kindOf[cards[i]]];
    return composition;
}

void ListCompositions(WeightedTables &tables)
{
    memset(tables.slotOf, -1, sizeof tables.slotOf);
    for (int m = 0; m <= HandSize; ++m) {
        int slots = 0;
        for (int n0 = 0; n0 <= m; ++n0)
            for (int n1 = 0; n0 + n1 <= m; ++n1) {
                int n2 = m - n0 - n1;
                bool isUsed = (tables.weightCount > 1 || n1 == 0) && (tables.weightCount > 2 || n2 == 0);
                if (!isUsed)
                    continue;
                tables.slotComposition[m][slots] = Composition{ { n0, n1, n2 } };
                tables.slotOf[m][n0][n1] = static_cast<int8_t>(slots++);
            }
        tables.slotCount[m] = slots;
    }
}

void PriceCompositions(WeightedTables &tables)
{
    long double total = 0;
    for (int card = 0; card < DeckSize; ++card)
        total += tables.weightOf[tables.kindOf[card]];
    for (int d = 0; d < tables.slotCount[HandSize]; ++d) {
        const Composition &deal = tables.slotComposition[HandSize][d];
        tables.dealChance[d] = SetChance(tables.weightOf, total, deal);
        long double left = total;
        for (int t = 0; t < MaxWeights; ++t)
            left -= static_cast<long double>(deal.count[t]) * tables.weightOf[t];
        for (int m = 0; m <= HandSize; ++m)
            for (int s = 0; s < tables.slotCount[m]; ++s)
                tables.drawChance[d][m][s] = SetChance(tables.weightOf, left, tables.slotComposition[m][s]);
    }
}

void ListSlotArithmetic(WeightedTables &tables)
{
    memset(tables.withCard, -1, sizeof tables.withCard);
    memset(tables.finalSlot, -1, sizeof tables.finalSlot);
    for (int m = 0; m <= HandSize; ++m)
        for (int s = 0; s < tables.slotCount[m]; ++s) {
            const Composition &held = tables.slotComposition[m][s];
            for (int t = 0; m < HandSize && t < tables.weightCount; ++t) {
                Composition one = {};
                one.count[t] = 1;
                tables.withCard[m][s][t] = static_cast<int8_t>(SlotOf(tables, m + 1, held + one));
            }
            for (int a = 0; a < tables.slotCount[HandSize - m]; ++a)
                tables.finalSlot[m][s][a] =
                    static_cast<int8_t>(SlotOf(tables, HandSize, held + tables.slotComposition[HandSize - m][a]));
        }
}

// A set of `size` cards from the sets one card larger: each hand that extends it is reached once
// through each of its 5 - size added cards.
template <typename Smaller, typename Larger>
void SumFromLarger(const WeightedTables &tables, const Card *set, int size, const Larger *larger, int largerStride,
                   Smaller *row)
{
    const int added = HandSize - size;
    int64_t sum[MaxSlots] = {};
    ForEachCardAdded(set, size, [&](int index, Card x) {
        const Larger *from = larger + static_cast<int64_t>(index) * largerStride;
        Composition withX = {};
        withX.count[tables.kindOf[x]] = 1;
        for (int s = 0; s < tables.slotCount[added - 1]; ++s)
            sum[SlotOf(tables, added, tables.slotComposition[added - 1][s] + withX)] += from[s];
    });
    for (int s = 0; s < tables.slotCount[added]; ++s)
        row[s] = static_cast<Smaller>(sum[s] / added);
}

void SumFours(WeightedTables &tables, int highest)
{
    const int slots = tables.slotCount[1];
    uint32_t *first = tables.fours + binomial.value[highest][4] * slots;
    ForEachCompletedFour(highest, [&](int set, Card extra, HandRank rank) {
        Composition added = {};
        added.count[tables.kindOf[extra]] = 1;
        first[set * slots + SlotOf(tables, 1, added)] += static_cast<uint32_t>(tables.payout[rank]);
    });
}

void FillFromLarger(WeightedTables &tables, const Card *set, int size)
{
    switch (size) {
    case 3:
        SumFromLarger(tables, set, 3, tables.fours, tables.slotCount[1], tables.threes + SubsetIndex(set, 3) * tables.slotCount[2]);
        break;
    case 2:
        SumFromLarger(tables, set, 2, tables.threes, tables.slotCount[2], tables.twos + SubsetIndex(set, 2) * tables.slotCount[3]);
        break;
    case 1: SumFromLarger(tables, set, 1, tables.twos, tables.slotCount[3], tables.ones[set[0]]); break;
    default: SumFromLarger(tables, set, 0, &tables.ones[0][0], MaxSlots, tables.none); break;
    }
}

// expected[m]: coins paid on average when exactly the cards of m (bits over the sorted cards) stay;
// evenPaid[m]: the coins paid summed over every draw, the even deck's numerator over C(47, drawn).
// Per composition of the final hand, the hands that hold each subset of the deal are read from the
// tables and the ones that also hold a thrown-away card taken out by inclusion-exclusion.
void ValueHolds(const WeightedTables &tables, const Card sorted[HandSize], long double expected[HoldCount],
                int64_t evenPaid[HoldCount])
{
    const int finalSlots = tables.slotCount[HandSize];
    int heldSlot[HoldCount], subsetIndex[HoldCount];
    heldSlot[0] = 0;
    subsetIndex[0] = 0;
    int64_t value[HoldCount][MaxSlots];
    for (int mask = 0; mask < HoldCount; ++mask) {
        int size = BitCount(mask);
        if (mask != 0) {
            int top = 31 - __builtin_clz(mask);
            int rest = mask ^ (1 << top);
            heldSlot[mask] = tables.withCard[size - 1][heldSlot[rest]][tables.kindOf[sorted[top]]];
            subsetIndex[mask] = subsetIndex[rest] + static_cast<int>(binomial.value[sorted[top]][size]);
        }
        int64_t *out = value[mask];
        std::fill(out, out + finalSlots, 0);
        if (size == HandSize) {
            out[heldSlot[mask]] = tables.payout[ClassifyCards(sorted)];
            continue;
        }
        const int added = HandSize - size;
        const int index = subsetIndex[mask];
        const int8_t *toFinal = tables.finalSlot[size][heldSlot[mask]];
        for (int s = 0; s < tables.slotCount[added]; ++s) {
            int64_t paid = size == 4   ? tables.fours[index * tables.slotCount[1] + s]
                           : size == 3 ? tables.threes[index * tables.slotCount[2] + s]
                           : size == 2 ? tables.twos[index * tables.slotCount[3] + s]
                           : size == 1 ? tables.ones[index][s]
                                       : tables.none[s];
            out[toFinal[s]] = paid;
        }
    }
    for (int bit = 1; bit < HoldCount; bit <<= 1)
        for (int mask = 0; mask < HoldCount; ++mask)
            if (!(mask & bit))
                for (int s = 0; s < finalSlots; ++s)
                    value[mask][s] -= value[mask | bit][s];

    // Only the final compositions a hold can reach, with two sums so the additions can overlap.
    const int deal = heldSlot[HoldCount - 1];
    for (int mask = 0; mask < HoldCount; ++mask) {
        const int size = BitCount(mask);
        const int drawn = HandSize - size;
        const long double *chance = tables.drawChance[deal][drawn];
        const int8_t *toFinal = tables.finalSlot[size][heldSlot[mask]];
        const int slots = tables.slotCount[drawn];
        long double even = 0, odd = 0;
        int64_t paid = 0;
        int a = 0;
        for (; a + 1 < slots; a += 2) {
            int64_t first = value[mask][toFinal[a]], second = value[mask][toFinal[a + 1]];
            even += chance[a] * first;
            odd += chance[a + 1] * second;
            paid += first + second;
        }
        if (a < slots) {
            even += chance[a] * value[mask][toFinal[a]];
            paid += value[mask][toFinal[a]];
        }
        expected[mask] = even + odd;
        evenPaid[mask] = paid;
    }
}

// A sum of millions of small terms, with the rounding of each addition carried along (Neumaier).
struct CarefulSum {
    long double sum;
    long double carried;
    void Add(long double term)
    {
        long double next = sum + term;
        if (fabsl(sum) >= fabsl(term))
            carried += (sum - next) + term;
        else
            carried += (term - next) + sum;
        sum = next;
    }
    long double Value() const { return sum + carried; }
};

struct WeightedTally {
    CarefulSum dealChance;
    CarefulSum optimal;
    CarefulSum evenDeckPlay;
    uint64_t evenDeckScaled;
    uint32_t heldDifferently;
};

} // namespace

void MachineCardWeights(uint32_t weight[DeckSize])
{
    for (int card = 0; card < DeckSize; ++card)
        weight[card] = 0;
    for (int value = 0; value <= 32767; ++value)
        ++weight[ScaleRandom(value, 51)];
}

WeightedTables *CreateWeightedTables(const uint32_t weight[DeckSize], int coins, int threads)
{
    if (coins < 1 || coins > MaxWager)
        return nullptr;
    uint32_t distinct[DeckSize];
    int distinctCount = 0;
    for (int card = 0; card < DeckSize; ++card) {
        if (weight[card] == 0)
            return nullptr;
        if (std::find(distinct, distinct + distinctCount, weight[card]) == distinct + distinctCount)
            distinct[distinctCount++] = weight[card];
    }
    if (distinctCount > MaxWeights)
        return nullptr;

    WeightedTables *tables = static_cast<WeightedTables *>(calloc(1, sizeof(WeightedTables)));
    if (!tables)
        return nullptr;
    std::sort(distinct, distinct + distinctCount);
    tables->coins = coins;
    tables->weightCount = distinctCount;
    for (int t = 0; t < distinctCount; ++t)
        tables->weightOf[t] = distinct[t];
    for (int card = 0; card < DeckSize; ++card)
        tables->kindOf[card] = static_cast<uint8_t>(std::find(distinct, distinct + distinctCount, weight[card]) - distinct);
    for (int h = 0; h < HandRankCount; ++h)
        tables->payout[h] = PayoutFor(h, coins);
    ListCompositions(*tables);
    PriceCompositions(*tables);
    ListSlotArithmetic(*tables);

    tables->fours = static_cast<uint32_t *>(calloc(binomial.value[DeckSize][4] * tables->slotCount[1], sizeof(uint32_t)));
    tables->threes = static_cast<uint32_t *>(calloc(binomial.value[DeckSize][3] * tables->slotCount[2], sizeof(uint32_t)));
    tables->twos = static_cast<uint32_t *>(calloc(binomial.value[DeckSize][2] * tables->slotCount[3], sizeof(uint32_t)));
    if (!tables->fours || !tables->threes || !tables->twos) {
        FreeWeightedTables(tables);
        return nullptr;
    }
    BuildSetTables(
        threads, [tables](int highest) { SumFours(*tables, highest); },
        [tables](const Card *set, int size) { FillFromLarger(*tables, set, size); });
    return tables;
}

void FreeWeightedTables(WeightedTables *tables)
{
    if (!tables)
        return;
    free(tables->fours);
    free(tables->threes);
    free(tables->twos);
    free(tables);
}

long double DealChance(const WeightedTables &tables, const Card cards[HandSize])
{
    return tables.dealChance[SlotOf(tables, HandSize, CompositionOf(tables, cards, HandSize))];
}

bool WeightedHoldValues(const WeightedTables &tables, const Card cards[HandSize], long double value[HoldCount])
{
    int position[HandSize] = { 0, 1, 2, 3, 4 };
    for (int i = 0; i < HandSize; ++i)
        if (cards[i] >= DeckSize)
            return false;
    std::sort(position, position + HandSize, [cards](int x, int y) { return cards[x] < cards[y]; });
    Card sorted[HandSize];
    for (int i = 0; i < HandSize; ++i)
        sorted[i] = cards[position[i]];
    for (int i = 1; i < HandSize; ++i)
        if (sorted[i] == sorted[i - 1])
            return false;
    long double expected[HoldCount];
    int64_t evenPaid[HoldCount];
    ValueHolds(tables, sorted, expected, evenPaid);
    for (int mask = 0; mask < HoldCount; ++mask) {
        int heldMask = 0;
        for (int i = 0; i < HandSize; ++i)
            if (mask & (1 << i))
                heldMask |= 1 << position[i];
        value[heldMask] = expected[mask];
    }
    return true;
}

bool AnalyzeWeightedGame(const WeightedTables &tables, int threads, WeightedGameAnalysis &result)
{
    constexpr int Blocks = DeckSize - 4;   // deals by their highest card, 4 to 51
    WeightedTally *tallies = static_cast<WeightedTally *>(calloc(Blocks, sizeof(WeightedTally)));
    if (!tallies)
        return false;
    auto tallyBlock = [&](int block, int) {
        WeightedTally &tally = tallies[block];
        ForEachDealWithHighest(DeckSize - 1 - block, [&](const Card deal[HandSize]) {
            long double expected[HoldCount];
            int64_t evenPaid[HoldCount];
            ValueHolds(tables, deal, expected, evenPaid);
            // Best here, and best for an even deck, ranked as AnalyzeHolds ranks them.
            int best = 0;
            HoldValue evenBest = {};
            for (int mask = 0; mask < HoldCount; ++mask) {
                int kept = BitCount(mask);
                if (expected[mask] > expected[best]
                    || (expected[mask] == expected[best] && kept > BitCount(best)))
                    best = mask;
                HoldValue even = {};
                even.heldMask = static_cast<uint8_t>(mask);
                even.cardsDrawn = static_cast<uint8_t>(HandSize - kept);
                even.numerator = evenPaid[mask];
                even.denominator = binomial.value[DeckSize - HandSize][even.cardsDrawn];
                if (mask == 0 || RanksBefore(even, evenBest))
                    evenBest = even;
            }
            long double chance = DealChance(tables, deal);
            tally.dealChance.Add(chance);
            tally.optimal.Add(chance * expected[best]);
            tally.evenDeckPlay.Add(chance * expected[evenBest.heldMask]);
            tally.evenDeckScaled += static_cast<uint64_t>(evenBest.numerator * DrawScale(evenBest.cardsDrawn));
            // Rounding aside, a strictly better hold here than the even deck's.
            if (expected[best] > expected[evenBest.heldMask] * (1 + 1e-15L))
                ++tally.heldDifferently;
        });
    };
    RunBlocks(threads, Blocks, tallyBlock);

    result = WeightedGameAnalysis();
    result.coins = tables.coins;
    uint64_t evenDeckScaled = 0;
    CarefulSum dealChance = {}, optimal = {}, evenDeckPlay = {};
    for (int block = 0; block < Blocks; ++block) {
        dealChance.Add(tallies[block].dealChance.Value());
        optimal.Add(tallies[block].optimal.Value());
        evenDeckPlay.Add(tallies[block].evenDeckPlay.Value());
        evenDeckScaled += tallies[block].evenDeckScaled;
        result.dealsHeldDifferently += tallies[block].heldDifferently;
    }
    result.dealChance = dealChance.Value();
    result.optimalReturn = optimal.Value() / tables.coins;
    result.evenDeckPlayReturn = evenDeckPlay.Value() / tables.coins;
    result.evenDeckReturn = static_cast<long double>(evenDeckScaled)
                            / (static_cast<long double>(DealCount) * DrawDenominator * tables.coins);
    free(tallies);
    return true;
}
