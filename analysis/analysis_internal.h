// analysis_internal.h: what the analysis files share: tables of counts, the classifier's core, a work splitter.
#pragma once

#include "analysis/analysis.h"

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <thread>

// Cards in a set of up to 13 ranks or positions; a table, since a popcount instruction cannot be
// assumed on every target and the library call it falls back on is slow in the inner loops.
struct BitCountTable {
    uint8_t value[1 << 13];
    constexpr BitCountTable() : value()
    {
        for (int mask = 1; mask < (1 << 13); ++mask)
            value[mask] = static_cast<uint8_t>(value[mask >> 1] + (mask & 1));
    }
};
extern const BitCountTable bitCounts;
inline int BitCount(uint32_t mask) { return bitCounts.value[mask]; }

struct BinomialTable {
    int64_t value[DeckSize + 1][HandSize + 1];
    constexpr BinomialTable() : value()
    {
        for (int n = 0; n <= DeckSize; ++n) {
            value[n][0] = 1;
            for (int k = 1; k <= HandSize; ++k)
                value[n][k] = n == 0 ? 0 : value[n - 1][k - 1] + value[n - 1][k];
        }
    }
};

extern const BinomialTable binomial;

constexpr uint64_t RankOnes = 0x1111111111111ull;           // bit 0 of each rank's 4-bit counter
constexpr uint64_t HighPairBits = 0x2222ull << (4 * Jack);  // counter 2 at jack, queen, king or ace
constexpr uint32_t RoyalRanks = 0x1F00;                     // ten to ace
constexpr uint32_t WheelRanks = 0x100F;                     // ace, two, three, four, five

// A hand summed as 4-bit counters per rank (key), a bit per rank (ranks), and whether one suit has all.
inline HandRank RankFromCounters(uint64_t key, uint32_t ranks, bool isFlush)
{
    switch (BitCount(ranks)) {
    case 5: {
        bool isStraight = (ranks >> __builtin_ctz(ranks)) == 0x1F || ranks == WheelRanks;
        if (isStraight && isFlush)
            return ranks == RoyalRanks ? RoyalFlush : StraightFlush;
        if (isFlush)
            return Flush;
        return isStraight ? Straight : NoHand;
    }
    case 4:
        return (key & HighPairBits) ? JacksOrBetter : NoHand;
    case 3:   // 3-1-1 or 2-2-1: a counter of 3 has its two low bits set
        return (key & (key >> 1) & RankOnes) ? ThreeOfAKind : TwoPair;
    default:  // 4-1 or 3-2
        return (key & (RankOnes << 2)) ? FourOfAKind : FullHouse;
    }
}

inline uint64_t RankCounter(Card card) { return 1ull << (4 * RankOf(card)); }
inline uint32_t RankBit(Card card) { return 1u << RankOf(card); }

// A dealt hand in card order, and where each sorted card was dealt; false unless five different cards.
inline bool SortDeal(const Card cards[HandSize], Card sorted[HandSize], int position[HandSize])
{
    for (int i = 0; i < HandSize; ++i) {
        if (cards[i] >= DeckSize)
            return false;
        position[i] = i;
    }
    std::sort(position, position + HandSize, [cards](int x, int y) { return cards[x] < cards[y]; });
    for (int i = 0; i < HandSize; ++i)
        sorted[i] = cards[position[i]];
    for (int i = 1; i < HandSize; ++i)
        if (sorted[i] == sorted[i - 1])
            return false;
    return true;
}

// Position of a sorted k-subset in the lexicographic order of subsets by their highest card first.
inline int SubsetIndex(const Card *sorted, int k)
{
    int index = 0;
    for (int i = 0; i < k; ++i)
        index += static_cast<int>(binomial.value[sorted[i]][i + 1]);
    return index;
}

// counts[m]: how many draws end in each HandRank when exactly the cards of m (bits over the sorted
// cards) stay; the 32 rows of a hand's holds.
void CountHoldOutcomes(const AnalysisTables &tables, const Card sorted[HandSize],
                       int32_t counts[HoldCount][HandRankCount]);

// The one work splitter: runs work(block, thread) once for every block 0..blocks-1 on `threads` threads
// (thread 0 is the caller's); each thread takes the next block not yet taken, so uneven blocks even out.
template <typename Work>
void RunBlocks(int threads, int blocks, Work work)
{
    std::atomic<int> next(0);
    auto drain = [&next, blocks, &work](int thread) {
        for (int block = next++; block < blocks; block = next++)
            work(block, thread);
    };
    if (threads > 8)
        threads = 8;
    std::thread helpers[8];
    for (int t = 1; t < threads; ++t)
        helpers[t] = std::thread(drain, t);
    drain(0);
    for (int t = 1; t < threads; ++t)
        helpers[t].join();
}

// The 24 orders of the four suits, the identity first, and how they compose: after[a][b] renames as b
// then a.
struct SuitOrders {
    uint8_t map[24][4];
    uint8_t after[24][24];
    constexpr SuitOrders() : map(), after()
    {
        int n = 0;
        for (int a = 0; a < 4; ++a)
            for (int b = 0; b < 4; ++b)
                for (int c = 0; c < 4; ++c)
                    for (int d = 0; d < 4; ++d)
                        if (a != b && a != c && a != d && b != c && b != d && c != d) {
                            map[n][0] = static_cast<uint8_t>(a), map[n][1] = static_cast<uint8_t>(b);
                            map[n][2] = static_cast<uint8_t>(c), map[n][3] = static_cast<uint8_t>(d);
                            ++n;
                        }
        for (int x = 0; x < 24; ++x)
            for (int y = 0; y < 24; ++y)
                for (int z = 0; z < 24; ++z) {
                    bool same = true;
                    for (int suit = 0; suit < 4; ++suit)
                        same = same && map[z][suit] == map[x][map[y][suit]];
                    if (same)
                        after[x][y] = static_cast<uint8_t>(z);
                }
    }
};
extern const SuitOrders suitOrders;

// A deal as the ranks of each suit, 13 bits a suit, renamed by a map of suits.
inline uint64_t RenameSuits(uint64_t key, const uint8_t map[4])
{
    uint64_t renamed = 0;
    for (int suit = 0; suit < 4; ++suit)
        renamed |= ((key >> (13 * suit)) & 0x1FFF) << (13 * map[suit]);
    return renamed;
}

// The one enumeration of deals, for both analyses: the deals of a class, one for each set of them that
// the symmetry carries into each other; the first is the class's own cards. Returns how many (1..24).
inline int ListClassDeals(const DealClass &deal, const SuitSymmetry &symmetry, ClassDeal list[24])
{
    uint64_t key = 0;
    for (Card card : deal.cards)
        key |= uint64_t(1) << card;
    // Each order of the suits gives a deal; where suits hold the same ranks, orders give the same one.
    uint64_t keys[24];
    int same[24];
    for (int o = 0; o < 24; ++o) {
        keys[o] = RenameSuits(key, suitOrders.map[o]);
        same[o] = o;
        if (deal.deals < 24)
            same[o] = static_cast<int>(std::find(keys, keys + o, keys[o]) - keys);
    }
    bool taken[24] = {};
    int count = 0;
    for (int o = 0; o < 24; ++o) {
        if (taken[same[o]])
            continue;
        ClassDeal &entry = list[count++];
        entry.deals = 0;
        for (int g = 0; g < symmetry.count; ++g) {
            const int other = same[suitOrders.after[symmetry.order[g]][o]];
            if (!taken[other]) {
                taken[other] = true;
                ++entry.deals;
            }
        }
        uint8_t position[DeckSize];   // of each card of the deal among them
        int size = 0;
        for (uint64_t rest = keys[o]; rest; rest &= rest - 1, ++size) {
            entry.sorted[size] = static_cast<Card>(__builtin_ctzll(rest));
            position[entry.sorted[size]] = static_cast<uint8_t>(size);
        }
        for (int c = 0; c < HandSize; ++c)
            entry.toSorted[c] = position[suitOrders.map[o][SuitOf(deal.cards[c])] * 13 + RankOf(deal.cards[c])];
    }
    return count;
}

// The hold of a deal that stands for the class's hold mask: the same cards, over the deal's sorted cards.
inline int MapHold(const ClassDeal &deal, int mask)
{
    int over = 0;
    for (; mask; mask &= mask - 1)
        over |= 1 << deal.toSorted[__builtin_ctz(mask)];
    return over;
}

// Every four-card set whose highest card is `highest`, in SubsetIndex order counted from the first
// of them, with each card that completes it to a hand and that hand's rank: visit(set, extra, rank).
template <typename Visit>
void ForEachCompletedFour(int highest, Visit visit)
{
    int set = 0;
    for (int c = 2; c < highest; ++c)
        for (int b = 1; b < c; ++b)
            for (int a = 0; a < b; ++a, ++set) {
                const Card four[4] = { Card(a), Card(b), Card(c), Card(highest) };
                uint64_t key = 0;
                uint32_t ranks = 0;
                for (Card card : four) {
                    key += RankCounter(card);
                    ranks |= RankBit(card);
                }
                int suit = SuitOf(four[0]);
                bool isSuited = SuitOf(four[1]) == suit && SuitOf(four[2]) == suit && SuitOf(four[3]) == suit;
                for (int x = 0; x < DeckSize; ++x) {
                    if (x == a || x == b || x == c || x == highest)
                        continue;
                    Card extra = Card(x);
                    bool isFlush = isSuited && SuitOf(extra) == suit;
                    visit(set, extra, RankFromCounters(key + RankCounter(extra), ranks | RankBit(extra), isFlush));
                }
            }
}

// visit(index, added) for each card not in the sorted set: index is the SubsetIndex of the set with it.
template <typename Visit>
void ForEachCardAdded(const Card *sorted, int size, Visit visit)
{
    for (int x = 0; x < DeckSize; ++x) {
        if (std::find(sorted, sorted + size, x) != sorted + size)
            continue;
        Card bigger[HandSize - 1];
        std::copy(sorted, sorted + size, bigger);
        bigger[size] = Card(x);
        std::sort(bigger, bigger + size + 1);
        visit(SubsetIndex(bigger, size + 1), Card(x));
    }
}

// Both analyses build their tables the same way: fours(highest) fills the rows of the four-card sets
// with that highest card; fromLarger(set, size) fills a smaller set's row from the rows of the sets one
// card larger. The two largest levels split over threads by highest card, the largest block first.
template <typename Fours, typename FromLarger>
void BuildSetTables(int threads, Fours fours, FromLarger fromLarger)
{
    RunBlocks(threads, DeckSize - 3, [&](int block, int) { fours(DeckSize - 1 - block); });
    RunBlocks(threads, DeckSize - 2, [&](int block, int) {
        const int highest = DeckSize - 1 - block;
        for (int b = 1; b < highest; ++b)
            for (int a = 0; a < b; ++a) {
                const Card three[3] = { Card(a), Card(b), Card(highest) };
                fromLarger(three, 3);
            }
    });
    for (int b = 1; b < DeckSize; ++b)
        for (int a = 0; a < b; ++a) {
            const Card two[2] = { Card(a), Card(b) };
            fromLarger(two, 2);
        }
    for (int a = 0; a < DeckSize; ++a) {
        const Card one[1] = { Card(a) };
        fromLarger(one, 1);
    }
    fromLarger(nullptr, 0);
}
