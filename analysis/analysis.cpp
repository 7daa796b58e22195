// analysis.cpp: the superset-count tables, the fast classifier and the exact values of the 32 holds.
#include "analysis/analysis.h"
#include "analysis/analysis_internal.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace {

template <typename Count>
Count (*AllocateCounts(int rows))[HandRankCount]
{
    return static_cast<Count (*)[HandRankCount]>(calloc(rows, sizeof(Count[HandRankCount])));
}

} // namespace

constexpr BitCountTable bitCounts;
constexpr BinomialTable binomial;

static_assert(binomial.value[52][5] == DealCount, "C(52, 5)");
static_assert(DrawScale(5) * binomial.value[47][5] == DrawDenominator && DrawScale(4) * binomial.value[47][4] == DrawDenominator
                  && DrawScale(3) * binomial.value[47][3] == DrawDenominator
                  && DrawScale(2) * binomial.value[47][2] == DrawDenominator && DrawScale(1) * 47 == DrawDenominator,
              "one denominator for every number of cards drawn");

struct AnalysisTables {
    uint8_t (*fours)[HandRankCount];     // C(52, 4) rows; at most 48 hands each
    uint16_t (*threes)[HandRankCount];   // C(52, 3) rows; at most 1,176
    uint16_t (*twos)[HandRankCount];     // C(52, 2) rows; at most 19,600
    uint32_t ones[DeckSize][HandRankCount];
    uint32_t none[HandRankCount];
};

int64_t Choose(int n, int k)
{
    if (n < 0 || n > DeckSize || k < 0 || k > HandSize)
        return 0;
    return binomial.value[n][k];
}

HandRank ClassifyCards(const Card cards[HandSize])
{
    uint64_t key = 0;
    uint32_t ranks = 0;
    for (int i = 0; i < HandSize; ++i) {
        key += RankCounter(cards[i]);
        ranks |= RankBit(cards[i]);
    }
    int suit = SuitOf(cards[0]);
    bool isFlush = SuitOf(cards[1]) == suit && SuitOf(cards[2]) == suit && SuitOf(cards[3]) == suit
                   && SuitOf(cards[4]) == suit;
    return RankFromCounters(key, ranks, isFlush);
}

// Each hand holding a set of `size` cards is reached once through each of the 5 - size cards it adds.
template <typename Larger, typename Smaller>
static void SumRows(const Card *set, int size, const Larger (*larger)[HandRankCount], Smaller *row)
{
    uint32_t sum[HandRankCount] = {};
    ForEachCardAdded(set, size, [&](int index, Card) {
        for (int h = 0; h < HandRankCount; ++h)
            sum[h] += larger[index][h];
    });
    for (int h = 0; h < HandRankCount; ++h)
        row[h] = static_cast<Smaller>(sum[h] / (HandSize - size));
}

static void CountFromLarger(AnalysisTables &tables, const Card *set, int size)
{
    int index = SubsetIndex(set, size);
    switch (size) {
    case 3: SumRows(set, size, tables.fours, tables.threes[index]); break;
    case 2: SumRows(set, size, tables.threes, tables.twos[index]); break;
    case 1: SumRows(set, size, tables.twos, tables.ones[index]); break;
    default: SumRows(set, size, tables.ones, tables.none); break;
    }
}

AnalysisTables *CreateAnalysisTables(int threads)
{
    AnalysisTables *tables = static_cast<AnalysisTables *>(calloc(1, sizeof(AnalysisTables)));
    if (!tables)
        return nullptr;
    tables->fours = AllocateCounts<uint8_t>(static_cast<int>(binomial.value[DeckSize][4]));
    tables->threes = AllocateCounts<uint16_t>(static_cast<int>(binomial.value[DeckSize][3]));
    tables->twos = AllocateCounts<uint16_t>(static_cast<int>(binomial.value[DeckSize][2]));
    if (!tables->fours || !tables->threes || !tables->twos) {
        FreeAnalysisTables(tables);
        return nullptr;
    }

    // A four-card set's row counts the 48 hands that complete it.
    BuildSetTables(
        threads,
        [tables](int highest) {
            uint8_t (*first)[HandRankCount] = tables->fours + binomial.value[highest][4];
            ForEachCompletedFour(highest, [first](int set, Card, HandRank rank) { ++first[set][rank]; });
        },
        [tables](const Card *set, int size) { CountFromLarger(*tables, set, size); });
    return tables;
}

void FreeAnalysisTables(AnalysisTables *tables)
{
    if (!tables)
        return;
    free(tables->fours);
    free(tables->threes);
    free(tables->twos);
    free(tables);
}

// counts[m]: how many draws end in each HandRank when exactly the cards of m (bits over the sorted
// cards) stay. Read for each subset the hands that contain it, then take away by inclusion-exclusion
// the hands that also contain a card that was thrown away.
void CountHoldOutcomes(const AnalysisTables &tables, const Card sorted[HandSize],
                       int32_t counts[HoldCount][HandRankCount])
{
    for (int mask = 0; mask < HoldCount; ++mask) {
        Card subset[HandSize];
        int size = 0;
        for (int i = 0; i < HandSize; ++i)
            if (mask & (1 << i))
                subset[size++] = sorted[i];
        int32_t *row = counts[mask];
        int index = SubsetIndex(subset, size);
        switch (size) {
        case 5:
            std::fill(row, row + HandRankCount, 0);
            row[ClassifyCards(sorted)] = 1;
            break;
        case 4: std::copy(tables.fours[index], tables.fours[index] + HandRankCount, row); break;
        case 3: std::copy(tables.threes[index], tables.threes[index] + HandRankCount, row); break;
        case 2: std::copy(tables.twos[index], tables.twos[index] + HandRankCount, row); break;
        case 1: std::copy(tables.ones[index], tables.ones[index] + HandRankCount, row); break;
        default: std::copy(tables.none, tables.none + HandRankCount, row); break;
        }
    }
    for (int bit = 1; bit < HoldCount; bit <<= 1)
        for (int mask = 0; mask < HoldCount; ++mask)
            if (!(mask & bit))
                for (int h = 0; h < HandRankCount; ++h)
                    counts[mask][h] -= counts[mask | bit][h];
}

bool RanksBefore(const HoldValue &a, const HoldValue &b)
{
    // Both sides stay below 2^63: 4000 * C(47, 5) * C(47, 5) is about 9.4e15.
    int64_t left = a.numerator * b.denominator;
    int64_t right = b.numerator * a.denominator;
    if (left != right)
        return left > right;
    if (a.cardsDrawn != b.cardsDrawn)
        return a.cardsDrawn < b.cardsDrawn;
    return a.heldMask < b.heldMask;
}

bool AnalyzeHolds(const AnalysisTables &tables, const Card cards[HandSize], int coins,
                  HoldValue ranked[HoldCount])
{
    if (coins < 1 || coins > MaxWager)
        return false;
    int position[HandSize];
    Card sorted[HandSize];
    if (!SortDeal(cards, sorted, position))
        return false;

    int32_t payout[HandRankCount];
    for (int h = 0; h < HandRankCount; ++h)
        payout[h] = PayoutFor(h, coins);
    int32_t counts[HoldCount][HandRankCount];
    CountHoldOutcomes(tables, sorted, counts);

    for (int mask = 0; mask < HoldCount; ++mask) {
        HoldValue &hold = ranked[mask];
        int heldMask = 0;
        for (int i = 0; i < HandSize; ++i)
            if (mask & (1 << i))
                heldMask |= 1 << position[i];
        hold.heldMask = static_cast<uint8_t>(heldMask);
        hold.cardsDrawn = static_cast<uint8_t>(HandSize - BitCount(mask));
        hold.numerator = 0;
        for (int h = 0; h < HandRankCount; ++h) {
            hold.numerator += static_cast<int64_t>(payout[h]) * counts[mask][h];
            hold.finalHands[h] = static_cast<uint32_t>(counts[mask][h]);
        }
        hold.denominator = binomial.value[DeckSize - HandSize][hold.cardsDrawn];
        hold.expectedReturn = static_cast<double>(hold.numerator) / static_cast<double>(hold.denominator);
    }
    std::sort(ranked, ranked + HoldCount, RanksBefore);
    return true;
}

const HoldValue *FindHold(const HoldValue ranked[HoldCount], int heldMask)
{
    for (int i = 0; i < HoldCount; ++i)
        if (ranked[i].heldMask == heldMask)
            return &ranked[i];
    return nullptr;
}

uint64_t GreatestCommonDivisor(uint64_t a, uint64_t b)
{
    while (b != 0) {
        uint64_t rest = a % b;
        a = b;
        b = rest;
    }
    return a;
}
