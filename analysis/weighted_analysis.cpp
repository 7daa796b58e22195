// weighted_analysis.cpp: hold values and optimal play when cards come out by weight, one at a time.
//
// A set of cards dealt this way has a chance that depends only on how many cards of each weight it
// holds and on the weight left in the deck, so the superset sums of the even deck are kept once per
// such composition and priced by it. Deals that a renaming of suits keeps every weight of (diamonds and
// hearts, on the machine) are worth the same and are valued once.
#include "analysis/weighted_analysis.h"
#include "analysis/analysis_internal.h"
#include "analysis/class_blocks.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>

namespace {

constexpr int MaxWeights = 3;
constexpr int MaxSlots = 21;     // compositions of five cards over three weights
constexpr int WeightPatterns = 243;   // ways to give five cards one of three weights each

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

struct PriceTerm {
    double chance;           // of one given set of draws of this composition
    int32_t final;           // the final hand's composition
};

} // namespace

struct WeightedTables {
    int coins;
    int weightCount;
    uint32_t weightOf[MaxWeights];           // the different weights, ascending
    int deckCount[MaxWeights];               // cards of each
    uint8_t kindOf[DeckSize];                // which of them each card has
    int32_t payout[HandRankCount];
    int slotCount[HandSize + 1];             // compositions of m cards that a deck can hold
    Composition slotComposition[HandSize + 1][MaxSlots];
    int8_t slotOf[HandSize + 1][HandSize + 1][HandSize + 1];   // [m][count 0][count 1]; -1: none
    // Coins paid, summed over the five-card hands that extend a set, by the composition of the cards
    // added to it: rows of slotCount[5 - size] for sets of 4, 3, 2, 1 and no cards.
    uint16_t *fours;                         // at most 4000 + 47 * 250 coins over a set's completions
    uint16_t *threes;                        // checked when built
    bool tooLarge;                           // a row of threes above what 16 bits hold
    // The rows of the sets of up to two cards laid out by the final hand's composition: lanes of them, the
    // last a spare for what no deck holds (16; MaxAllLanes when there are more than 15 compositions),
    // added whole where a deal's holds are worked out. (Those of three would be too: it saves work, but the
    // larger table costs more in waiting for memory than it saves.)
    int lanes;
    int32_t *twosByFinal;
    int32_t onesByFinal[DeckSize][MaxAllLanes];
    int32_t noneByFinal[MaxAllLanes];
    int64_t twosTotal[1326], onesTotal[DeckSize], noneTotal;   // the same rows added up
    int32_t *twos;
    int32_t ones[DeckSize][MaxSlots];
    int32_t none[MaxSlots];
    long double dealChance[MaxSlots];        // of a given deal of each composition
    // The arithmetic of the loop over deals: the slot after adding a card of a weight; the slot of k1
    // cards of slot s1 and k2 more of slot s2 (-1: no deck holds that many of a weight); and, for a deal
    // of each composition, the draws of a hold of m cards of slot s: their compositions and chances.
    int8_t withCard[HandSize][MaxSlots][MaxWeights];
    int8_t joined[HandSize + 1][MaxSlots][HandSize + 1][MaxSlots];
    int8_t lane[HandSize + 1][MaxSlots][MaxSlots];   // [m][s][a]: joined with the 5 - m added, or the spare lane
    int8_t setSlots[WeightPatterns][HoldCount];   // a deal's sets' slots, by its cards' weights (base 3)
    uint8_t priceCount[MaxSlots][HandSize + 1][MaxSlots];
    PriceTerm price[MaxSlots][HandSize + 1][MaxSlots][MaxSlots];
    double likeliest[MaxSlots][HandSize + 1];   // the largest chance of one given draw, by cards held
    double mostLikely[HandSize + 1], leastLikely[HandSize + 1];   // of any deal
    SuitSymmetry symmetry;
};

namespace {

int SlotOf(const WeightedTables &tables, int cards, const Composition &composition)
{
    for (int t = 0; t < MaxWeights; ++t)
        if (composition.count[t] < 0 || composition.count[t] > tables.deckCount[t])
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
                if (n0 > tables.deckCount[0] || n1 > tables.deckCount[1] || n2 > tables.deckCount[2])
                    continue;
                tables.slotComposition[m][slots] = Composition{ { n0, n1, n2 } };
                tables.slotOf[m][n0][n1] = static_cast<int8_t>(slots++);
            }
        tables.slotCount[m] = slots;
    }
}

void ListSlotArithmetic(WeightedTables &tables)
{
    memset(tables.withCard, -1, sizeof tables.withCard);
    for (int m = 0; m <= HandSize; ++m)
        for (int s = 0; s < tables.slotCount[m]; ++s) {
            const Composition &held = tables.slotComposition[m][s];
            for (int t = 0; m < HandSize && t < tables.weightCount; ++t) {
                Composition one = {};
                one.count[t] = 1;
                tables.withCard[m][s][t] = static_cast<int8_t>(SlotOf(tables, m + 1, held + one));
            }
            for (int k = 0; m + k <= HandSize; ++k)
                for (int a = 0; a < tables.slotCount[k]; ++a)
                    tables.joined[m][s][k][a] = static_cast<int8_t>(SlotOf(tables, m + k, held + tables.slotComposition[k][a]));
            for (int a = 0; a < tables.slotCount[HandSize - m]; ++a) {
                const int8_t joined = tables.joined[m][s][HandSize - m][a];
                tables.lane[m][s][a] = joined < 0 ? static_cast<int8_t>(tables.slotCount[HandSize]) : joined;
            }
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
        // The chance of one given set of draws of each composition, whatever is held.
        double drawChance[HandSize + 1][MaxSlots];
        for (int k = 0; k <= HandSize; ++k)
            for (int a = 0; a < tables.slotCount[k]; ++a)
                drawChance[k][a] = static_cast<double>(SetChance(tables.weightOf, left, tables.slotComposition[k][a]));
        for (int m = 0; m <= HandSize; ++m)
            for (int s = 0; s < tables.slotCount[m]; ++s) {
                const Composition &held = tables.slotComposition[m][s];
                int count = 0;
                for (int a = 0; a < tables.slotCount[HandSize - m]; ++a) {
                    const Composition &drawn = tables.slotComposition[HandSize - m][a];
                    bool isPossible = true;   // the held cards are of the deal, the drawn ones of the rest
                    for (int t = 0; t < MaxWeights; ++t)
                        isPossible = isPossible && held.count[t] <= deal.count[t]
                                     && drawn.count[t] <= tables.deckCount[t] - deal.count[t];
                    if (!isPossible)
                        continue;
                    tables.price[d][m][s][count].chance = drawChance[HandSize - m][a];
                    tables.price[d][m][s][count].final = SlotOf(tables, HandSize, held + drawn);
                    const double chance = tables.price[d][m][s][count].chance;
                    tables.likeliest[d][m] = std::max(tables.likeliest[d][m], chance);
                    tables.mostLikely[m] = std::max(tables.mostLikely[m], chance);
                    tables.leastLikely[m] = tables.leastLikely[m] == 0 ? chance : std::min(tables.leastLikely[m], chance);
                    ++count;
                }
                tables.priceCount[d][m][s] = static_cast<uint8_t>(count);
            }
    }
}

// A set of `size` cards from the sets one card larger: each hand that extends it is reached once
// through each of its 5 - size added cards.
template <typename Smaller, typename Larger>
void SumFromLarger(WeightedTables &tables, const Card *set, int size, const Larger *larger, int largerStride,
                   Smaller *row)
{
    const int added = HandSize - size;
    int64_t sum[MaxSlots] = {};
    ForEachCardAdded(set, size, [&](int index, Card x) {
        const Larger *from = larger + static_cast<int64_t>(index) * largerStride;
        const int8_t *withCard = &tables.withCard[added - 1][0][tables.kindOf[x]];
        for (int s = 0; s < tables.slotCount[added - 1]; ++s) {
            int slot = withCard[s * MaxWeights];
            if (slot >= 0)   // else no hand: a deck has no more cards of that weight
                sum[slot] += from[s];
        }
    });
    for (int s = 0; s < tables.slotCount[added]; ++s) {
        row[s] = static_cast<Smaller>(sum[s] / added);
        if (static_cast<int64_t>(row[s]) != sum[s] / added)
            tables.tooLarge = true;
    }
}

void SumFours(WeightedTables &tables, int highest)
{
    const int slots = tables.slotCount[1];
    uint16_t *first = tables.fours + binomial.value[highest][4] * slots;
    ForEachCompletedFour(highest, [&](int set, Card extra, HandRank rank) {
        first[set * slots + tables.withCard[0][0][tables.kindOf[extra]]] += static_cast<uint16_t>(tables.payout[rank]);
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

// The composition of every set of a deal's cards, for each way of giving its five cards weights.
void ListSetSlots(WeightedTables &tables)
{
    for (int weights = 0; weights < WeightPatterns; ++weights)
        for (int mask = 0; mask < HoldCount; ++mask) {
            Composition composition = {};
            for (int i = 0, rest = weights; i < HandSize; ++i, rest /= MaxWeights)
                composition.count[rest % MaxWeights] += mask >> i & 1;
            tables.setSlots[weights][mask] = static_cast<int8_t>(SlotOf(tables, BitCount(mask), composition));
        }
}

template <typename Row>
int64_t Total(const Row *row, int count)
{
    int64_t total = 0;
    for (int a = 0; a < count; ++a)
        total += row[a];
    return total;
}

// A set's row laid out by the final hand's composition.
template <typename Row>
void LayOutRow(const WeightedTables &tables, const Card *set, int size, const Row *row, int32_t *into)
{
    const int8_t *lane = tables.lane[size][SlotOf(tables, size, CompositionOf(tables, set, size))];
    for (int added = 0; added < tables.slotCount[HandSize - size]; ++added)
        into[lane[added]] = row[added];
}

// The rows of the sets of up to two cards laid out by the final hand's composition.
bool LayOutByFinal(WeightedTables &tables)
{
    tables.lanes = tables.slotCount[HandSize] < 16 ? 16 : MaxAllLanes;
    tables.twosByFinal = static_cast<int32_t *>(calloc(binomial.value[DeckSize][2] * tables.lanes, sizeof(int32_t)));
    if (!tables.twosByFinal)
        return false;
    for (int b = 0; b < DeckSize; ++b) {
        const Card one[1] = { Card(b) };
        LayOutRow(tables, one, 1, tables.ones[b], tables.onesByFinal[b]);
        tables.onesTotal[b] = Total(tables.ones[b], tables.slotCount[4]);
        for (int a = 0; a < b; ++a) {
            const Card two[2] = { Card(a), Card(b) };
            const int64_t index = SubsetIndex(two, 2);
            LayOutRow(tables, two, 2, tables.twos + index * tables.slotCount[3], tables.twosByFinal + index * tables.lanes);
            tables.twosTotal[index] = Total(tables.twos + index * tables.slotCount[3], tables.slotCount[3]);
        }
    }
    LayOutRow(tables, nullptr, 0, tables.none, tables.noneByFinal);
    tables.noneTotal = Total(tables.none, tables.slotCount[5]);
    return true;
}

// The sets of three and four of a deal's cards, whose rows are in the tables too big to stay in the cache.
struct LargeSets {
    uint8_t mask[15];
    constexpr LargeSets() : mask()
    {
        for (int m = 0, n = 0; m < HoldCount; ++m)
            if (BitCountTable().value[m] == 3 || BitCountTable().value[m] == 4)
                mask[n++] = static_cast<uint8_t>(m);
    }
};
constexpr LargeSets largeSets;

} // namespace

void ListDealSets(const WeightedTables &tables, const Card sorted[HandSize], DealSets &sets)
{
    std::copy(sorted, sorted + HandSize, sets.cards);
    // Each set's composition follows from its cards' weights; its row's index adds C(card, place) over
    // its cards ascending, so a set's is the index of the set without its highest card and one term.
    int weights = 0;
    for (int i = HandSize - 1; i >= 0; --i)
        weights = weights * MaxWeights + tables.kindOf[sorted[i]];
    memcpy(sets.slot, tables.setSlots[weights], sizeof sets.slot);
    sets.index[0] = 0;
    for (int top = 0; top < HandSize; ++top) {
        int32_t place[HandSize];   // C(card, place) for the places the card can take
        for (int k = 0; k <= top; ++k)
            place[k] = static_cast<int32_t>(binomial.value[sorted[top]][k + 1]);
        for (int below = 0; below < (1 << top); ++below)
            sets.index[below | 1 << top] = sets.index[below] + place[BitCount(below)];
    }
    sets.dealSlot = sets.slot[HoldCount - 1];
    sets.made = -1;
}

void ListClassDealSets(const WeightedTables &tables, const DealClass &dealClass, const SuitSymmetry &symmetry,
                       ClassDealSets &list)
{
    list.count = ListClassDeals(dealClass, symmetry, list.deals);
    const int32_t made = tables.payout[ClassifyCards(dealClass.cards)];   // renaming suits keeps the hand
    for (int d = 0; d < list.count; ++d) {
        DealSets &sets = list.sets[d];
        ListDealSets(tables, list.deals[d].sorted, sets);
        sets.made = made;
        for (int mask : largeSets.mask) {
            if (BitCount(mask) == 4)
                __builtin_prefetch(tables.fours + sets.index[mask] * tables.slotCount[1]);
            else
                __builtin_prefetch(tables.threes + sets.index[mask] * tables.slotCount[2]);
        }
    }
}

long double DealChance(const WeightedTables &tables, const DealSets &sets) { return tables.dealChance[sets.dealSlot]; }

namespace {

int32_t MadePaid(const WeightedTables &tables, DealSets &sets)
{
    if (sets.made < 0)
        sets.made = tables.payout[ClassifyCards(sets.cards)];
    return sets.made;
}

// The row of a set of up to two cards, laid out by the final hand's composition.
template <int Lanes>
const int32_t *RowByFinal(const WeightedTables &tables, int size, int index)
{
    switch (size) {
    case 2: return tables.twosByFinal + index * Lanes;
    case 1: return tables.onesByFinal[index];
    default: return tables.noneByFinal;
    }
}

// A set's row added into (Sign 1) or taken from (Sign -1) lanes by the final hand's composition.
template <int Lanes, int Sign>
inline __attribute__((always_inline)) void AddSetRow(const WeightedTables &tables, DealSets &sets, int set, int32_t out[Lanes])
{
    const int size = BitCount(set), index = sets.index[set];
    if (size <= 2) {
        const int32_t *row = RowByFinal<Lanes>(tables, size, index);
        for (int f = 0; f < Lanes; ++f)
            out[f] += Sign * row[f];
        return;
    }
    const int8_t *lane = tables.lane[size][sets.slot[set]];
    const int count = tables.slotCount[HandSize - size];
    if (size == 5)
        out[lane[0]] += Sign * MadePaid(tables, sets);
    else if (size == 4)
        for (int a = 0; a < count; ++a)
            out[lane[a]] += Sign * tables.fours[index * count + a];
    else
        for (int a = 0; a < count; ++a)
            out[lane[a]] += Sign * tables.threes[index * count + a];
}

// A row of a set of three or four cards, Count long, added into lanes by the final hand's composition.
template <int Count>
inline __attribute__((always_inline)) void SpreadRow(const int8_t *lane, const uint16_t *row, int32_t *into)
{
    for (int a = 0; a < Count; ++a)
        into[lane[a]] += row[a];
}

// The coins of a hold's draws by the final hand's composition, priced by their chances on this deal.
double Price(const WeightedTables &tables, const DealSets &sets, int mask, const int32_t paid[])
{
    const int slot = sets.slot[mask], kept = BitCount(mask);
    const PriceTerm *term = tables.price[sets.dealSlot][kept][slot];
    const int count = tables.priceCount[sets.dealSlot][kept][slot];
    double even = 0, odd = 0;   // two sums, so that the additions need not wait for each other
    int i = 0;
    for (; i + 1 < count; i += 2) {
        even += term[i].chance * static_cast<double>(paid[term[i].final]);
        odd += term[i + 1].chance * static_cast<double>(paid[term[i + 1].final]);
    }
    if (i < count)
        even += term[i].chance * static_cast<double>(paid[term[i].final]);
    return even + odd;
}

template <int Lanes>
double HoldWorth(const WeightedTables &tables, DealSets &sets, int mask)
{
    // The hands that hold the kept cards and more of the deal's, taken in and out by inclusion-exclusion,
    // so only hands whose draws miss the thrown-away cards stay.
    alignas(16) int32_t paid[Lanes] = {};
    const int thrown = (HoldCount - 1) & ~mask;
    for (int extra = thrown;; extra = (extra - 1) & thrown) {
        if (BitCount(extra) & 1)
            AddSetRow<Lanes, -1>(tables, sets, mask | extra, paid);
        else
            AddSetRow<Lanes, 1>(tables, sets, mask | extra, paid);
        if (extra == 0)
            break;
    }
    return Price(tables, sets, mask, paid);
}

template <int Lanes>
void ValueAllHolds(const WeightedTables &tables, DealSets &sets, int32_t paid[HoldCount][MaxAllLanes])
{
    // Each set's row by the final hand's composition: those of up to two cards as the tables hold them,
    // the larger ones spread out here.
    alignas(16) int32_t spread[HoldCount / 2][Lanes];
    const int32_t *row[HoldCount];
    for (int mask = 0, larger = 0; mask < HoldCount; ++mask) {
        const int size = BitCount(mask);
        if (size <= 2) {
            row[mask] = RowByFinal<Lanes>(tables, size, sets.index[mask]);
            continue;
        }
        int32_t *into = spread[larger++];
        std::fill(into, into + Lanes, 0);
        // Three weights (the machine's): rows of a known length, spread with no loop to run.
        const int8_t *lane = tables.lane[size][sets.slot[mask]];
        if (size == 3 && tables.slotCount[2] == 6)
            SpreadRow<6>(lane, tables.threes + sets.index[mask] * 6, into);
        else if (size == 4 && tables.slotCount[1] == 3)
            SpreadRow<3>(lane, tables.fours + sets.index[mask] * 3, into);
        else
            AddSetRow<Lanes, 1>(tables, sets, mask, into);
        row[mask] = into;
    }
    // Each hold from the sets that contain it, one thrown-away card at a time: four lanes of every set at
    // once, kept in registers as far as they go.
    typedef int32_t Four __attribute__((vector_size(16)));
    for (int f = 0; f < Lanes; f += 4) {
        Four lanes[HoldCount];
#pragma GCC unroll 32
        for (int mask = 0; mask < HoldCount; ++mask)
            memcpy(&lanes[mask], row[mask] + f, sizeof(Four));
#pragma GCC unroll 32
        for (int bit = 1; bit < HoldCount; bit <<= 1)
#pragma GCC unroll 32
            for (int mask = 0; mask < HoldCount; ++mask)
                if (!(mask & bit))
                    lanes[mask] -= lanes[mask | bit];
#pragma GCC unroll 32
        for (int mask = 0; mask < HoldCount; ++mask)
            memcpy(&paid[mask][f], &lanes[mask], sizeof(Four));
    }
}

} // namespace

double HoldWorth(const WeightedTables &tables, DealSets &sets, int mask)
{
    return tables.lanes == 16 ? HoldWorth<16>(tables, sets, mask) : HoldWorth<MaxAllLanes>(tables, sets, mask);
}

void ValueAllHolds(const WeightedTables &tables, DealSets &sets, int32_t paid[HoldCount][MaxAllLanes])
{
    if (tables.lanes == 16)
        ValueAllHolds<16>(tables, sets, paid);
    else
        ValueAllHolds<MaxAllLanes>(tables, sets, paid);
}

double PricedWorth(const WeightedTables &tables, const DealSets &sets, const int32_t paid[HoldCount][MaxAllLanes], int mask)
{
    return Price(tables, sets, mask, paid[mask]);
}

void EvenHoldsPaid(const WeightedTables &tables, DealSets &sets, int64_t paid[HoldCount])
{
    // Each set's row added up, then each hold from the sets that contain it.
    const int fourSlots = tables.slotCount[1], threeSlots = tables.slotCount[2];
    for (int mask = 0; mask < HoldCount; ++mask) {
        const int index = sets.index[mask];
        switch (BitCount(mask)) {
        case 5: paid[mask] = MadePaid(tables, sets); break;
        case 4: paid[mask] = Total(tables.fours + index * fourSlots, fourSlots); break;
        case 3: paid[mask] = Total(tables.threes + index * threeSlots, threeSlots); break;
        case 2: paid[mask] = tables.twosTotal[index]; break;
        case 1: paid[mask] = tables.onesTotal[index]; break;
        default: paid[mask] = tables.noneTotal; break;
        }
    }
    for (int bit = 1; bit < HoldCount; bit <<= 1)
        for (int high = 0; high < HoldCount; high += 2 * bit)
            for (int mask = high; mask < high + bit; ++mask)
                paid[mask] -= paid[mask | bit];
}

double HoldBound(const WeightedTables &tables, const DealSets &sets, int mask, int64_t paid)
{
    return static_cast<double>(paid) * tables.likeliest[sets.dealSlot][BitCount(mask)];
}

double LeastWorth(const WeightedTables &tables, int kept, int64_t paid)
{
    return static_cast<double>(paid) * tables.leastLikely[kept];
}

int ListRivals(const WeightedTables &tables, const int64_t classPaid[HoldCount], uint32_t skip, double floor,
               Rival rivals[HoldCount])
{
    int count = 0;
    for (int mask = 0; mask < HoldCount; ++mask) {
        const double bound = static_cast<double>(classPaid[mask]) * tables.mostLikely[BitCount(mask)];
        if (!(skip >> mask & 1) && bound >= floor)
            rivals[count++] = { mask, bound };
    }
    std::sort(rivals, rivals + count, [](const Rival &a, const Rival &b) { return a.bound > b.bound; });
    return count;
}

namespace {

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
    for (int card = 0; card < DeckSize; ++card) {
        tables->kindOf[card] = static_cast<uint8_t>(std::find(distinct, distinct + distinctCount, weight[card]) - distinct);
        ++tables->deckCount[tables->kindOf[card]];
    }
    for (int h = 0; h < HandRankCount; ++h)
        tables->payout[h] = PayoutFor(h, coins);
    ListCompositions(*tables);
    ListSlotArithmetic(*tables);
    ListSetSlots(*tables);
    PriceCompositions(*tables);
    for (int o = 0; o < 24; ++o) {
        bool keepsWeights = true;
        for (int card = 0; card < DeckSize; ++card)
            keepsWeights = keepsWeights && weight[card] == weight[suitOrders.map[o][SuitOf(Card(card))] * 13 + RankOf(Card(card))];
        if (keepsWeights)
            tables->symmetry.order[tables->symmetry.count++] = static_cast<uint8_t>(o);
    }

    tables->fours = static_cast<uint16_t *>(calloc(binomial.value[DeckSize][4] * tables->slotCount[1], sizeof(uint16_t)));
    tables->threes = static_cast<uint16_t *>(calloc(binomial.value[DeckSize][3] * tables->slotCount[2], sizeof(uint16_t)));
    tables->twos = static_cast<int32_t *>(calloc(binomial.value[DeckSize][2] * tables->slotCount[3], sizeof(int32_t)));
    if (!tables->fours || !tables->threes || !tables->twos) {
        FreeWeightedTables(tables);
        return nullptr;
    }
    BuildSetTables(
        threads, [tables](int highest) { SumFours(*tables, highest); },
        [tables](const Card *set, int size) { FillFromLarger(*tables, set, size); });
    if (tables->tooLarge) {
        FreeWeightedTables(tables);
        return nullptr;
    }
    if (!LayOutByFinal(*tables)) {
        FreeWeightedTables(tables);
        return nullptr;
    }
    return tables;
}

void FreeWeightedTables(WeightedTables *tables)
{
    if (!tables)
        return;
    free(tables->fours);
    free(tables->threes);
    free(tables->twos);
    free(tables->twosByFinal);
    free(tables);
}

long double DealChance(const WeightedTables &tables, const Card cards[HandSize])
{
    return tables.dealChance[SlotOf(tables, HandSize, CompositionOf(tables, cards, HandSize))];
}

bool WeightedHoldValues(const WeightedTables &tables, const Card cards[HandSize], long double value[HoldCount])
{
    int position[HandSize];
    Card sorted[HandSize];
    if (!SortDeal(cards, sorted, position))
        return false;
    DealSets sets;
    ListDealSets(tables, sorted, sets);
    for (int mask = 0; mask < HoldCount; ++mask) {
        int heldMask = 0;
        for (int i = 0; i < HandSize; ++i)
            if (mask & (1 << i))
                heldMask |= 1 << position[i];
        value[heldMask] = HoldWorth(tables, sets, mask);
    }
    return true;
}

const SuitSymmetry &WeightedSymmetry(const WeightedTables &tables) { return tables.symmetry; }

bool AnalyzeWeightedGame(const WeightedTables &tables, int threads, WeightedGameAnalysis &result)
{
    constexpr int Blocks = ClassBlockCount(ClassBlockSize);
    WeightedTally *tallies = static_cast<WeightedTally *>(calloc(Blocks, sizeof(WeightedTally)));
    if (!tallies)
        return false;
    auto tallyBlock = [&](const ClassBlock &block) {
        WeightedTally &tally = tallies[block.index];
        ClassDealSets ahead[2];
        ListClassDealSets(tables, block.classes[0], tables.symmetry, ahead[0]);
        for (int c = 0; c < block.count; ++c) {
            // The class's deals, listed with the class before; the next class's now.
            ClassDealSets &now = ahead[c & 1];
            if (c + 1 < block.count)
                ListClassDealSets(tables, block.classes[c + 1], tables.symmetry, ahead[(c + 1) & 1]);
            const ClassDeal *deals = now.deals;
            DealSets *sets = now.sets;
            const int dealCount = now.count;
            // What each hold pays over its draws is the same for every deal of the class: the even
            // deck's numerators, from the first deal (the class's own cards).
            int64_t classPaid[HoldCount];
            EvenHoldsPaid(tables, sets[0], classPaid);
            // Best for an even deck, ranked as AnalyzeHolds ranks them: the higher value over one
            // denominator, then more cards kept, then (below, deal by deal) the lower mask.
            int64_t evenBestValue = -1;
            int tied[HoldCount], tiedCount = 0;
            for (int mask = 0; mask < HoldCount; ++mask) {
                const int64_t value = classPaid[mask] * DrawScale(HandSize - BitCount(mask));
                if (value > evenBestValue || (value == evenBestValue && BitCount(mask) > BitCount(tied[0]))) {
                    evenBestValue = value;
                    tiedCount = 0;
                }
                if (value == evenBestValue && (tiedCount == 0 || BitCount(mask) == BitCount(tied[0])))
                    tied[tiedCount++] = mask;
            }
            // Holds that might do better here: none of the even best hold's draws is less likely than the
            // least likely of any deal.
            Rival rivals[HoldCount];
            const double floor = LeastWorth(tables, BitCount(tied[0]), classPaid[tied[0]]) * (1 - 1e-9);
            const int rivalCount = ListRivals(tables, classPaid, 1u << tied[0], floor, rivals);
            // The class's few terms added plainly, then the class's sums carefully.
            long double classChance = 0, classOptimal = 0, classEvenDeckPlay = 0;
            for (int d = 0; d < dealCount; ++d) {
                DealSets &dealSets = sets[d];
                int evenBest = MapHold(deals[d], tied[0]);
                for (int t = 1; t < tiedCount; ++t)
                    evenBest = std::min(evenBest, MapHold(deals[d], tied[t]));
                const double evenBestWorth = HoldWorth(tables, dealSets, evenBest);
                double bestWorth = evenBestWorth;
                for (int r = 0; r < rivalCount && rivals[r].bound >= bestWorth * (1 - 1e-9); ++r) {
                    const int mask = MapHold(deals[d], rivals[r].mask);
                    if (mask != evenBest
                        && HoldBound(tables, dealSets, mask, classPaid[rivals[r].mask]) >= bestWorth * (1 - 1e-9))
                        bestWorth = std::max(bestWorth, HoldWorth(tables, dealSets, mask));
                }
                const long double chance = DealChance(tables, dealSets) * deals[d].deals;
                classChance += chance;
                classOptimal += chance * bestWorth;
                classEvenDeckPlay += chance * evenBestWorth;
                tally.evenDeckScaled += static_cast<uint64_t>(evenBestValue * deals[d].deals);
                // Rounding aside, a strictly better hold here than the even deck's.
                if (bestWorth > evenBestWorth * (1 + 1e-12))
                    tally.heldDifferently += deals[d].deals;
            }
            tally.dealChance.Add(classChance);
            tally.optimal.Add(classOptimal);
            tally.evenDeckPlay.Add(classEvenDeckPlay);
        }
    };
    if (!RunClassBlocks(threads, ClassBlockSize, tallyBlock)) {
        free(tallies);
        return false;
    }

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
