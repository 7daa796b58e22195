// strategy_chart.cpp: the chart's vocabulary of holds, and the order that the analysis gives it.
#include "analysis/strategy_chart.h"
#include "analysis/analysis_internal.h"
#include "analysis/cards.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <array>
#include <map>
#include <unordered_map>
#include <cstdlib>
#include <cstring>

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
    BaseCount
};

// Lines that name a card: a pattern above, narrowed by the light ace of spades. Pattern number
// variant * BaseCount + base.
enum Variant : int {
    AnyCards = 0,
    OtherAce,          // the hold has an ace other than the ace of spades
    NoOtherAce,        // it has none (no ace, or the ace of spades)
    SpadesNoAce,       // suited in spades, without the ace of spades
    NotSpadesNoAce,    // suited, and not that
    VariantCount
};
constexpr int PatternCount = BaseCount * VariantCount;
constexpr int BaseOf(int pattern) { return pattern % BaseCount; }
constexpr int VariantOf(int pattern) { return pattern / BaseCount; }

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

std::string BaseText(int pattern)
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

bool IsRoyal2WithAce(int base)
{
    return base >= Royal2First && base < Royal2First + 10 && base - Royal2First >= Royal2Index(Ten, Ace)
           && (base - Royal2First == Royal2Index(Ten, Ace) || base - Royal2First == Royal2Index(Jack, Ace)
               || base - Royal2First == Royal2Index(Queen, Ace) || base - Royal2First == Royal2Index(King, Ace));
}

bool IsHighSetWithAce(int base) { return base >= HighCardsFirst && base < HighCardsFirst + 16 && ((base - HighCardsFirst) & 8); }

// The patterns narrowed by the ace held: where an ace other than the ace of spades is worth less.
bool HasAceVariantsRule(int base)
{
    return base == Royal3 || IsRoyal2WithAce(base) || base == SuitedHigh2
           || (base > Flush3First && base < Flush3First + 3)
           || (base >= Straight4InsideFirst + 1 && base < Straight4InsideFirst + 5) || IsHighSetWithAce(base)
           || base == UnsuitedHigh2 || base == HighAlone;
}

// The suited patterns narrowed by spades without the ace: the ace of spades is half as likely to come.
bool HasSpadeVariantsRule(int base)
{
    return base == Royal4 || base == Royal3 || (base >= Royal2First && base < Royal2First + 10 && !IsRoyal2WithAce(base))
           || base == SuitedHigh2 || base == Flush4 || (base >= Flush3First && base < Flush3First + 3);
}

struct VariantTable {
    bool ace[BaseCount], spade[BaseCount];
    VariantTable()
    {
        for (int base = 0; base < BaseCount; ++base) {
            ace[base] = HasAceVariantsRule(base);
            spade[base] = HasSpadeVariantsRule(base);
        }
    }
};
const VariantTable variantTable;
bool HasAceVariants(int base) { return variantTable.ace[base]; }
bool HasSpadeVariants(int base) { return variantTable.spade[base]; }

std::string PatternText(int pattern)
{
    const int base = BaseOf(pattern);
    const bool alwaysAce = IsRoyal2WithAce(base) || IsHighSetWithAce(base);
    const bool neverAce = base >= Royal2First && base < Royal2First + 10 && !alwaysAce;
    switch (VariantOf(pattern)) {
    case OtherAce: return BaseText(base) + (alwaysAce ? ", the ace not the ace of spades" : ", with an ace other than the ace of spades");
    case NoOtherAce: return BaseText(base) + (alwaysAce ? ", the ace of spades" : ", without an ace other than the ace of spades");
    case SpadesNoAce: return BaseText(base) + (neverAce ? " in spades" : " in spades without the ace");
    case NotSpadesNoAce: return BaseText(base) + (neverAce ? ", not in spades" : ", unless in spades without the ace");
    default: return BaseText(base);
    }
}

// What the card-aware patterns ask of a hold, as positions of the hand: the aces other than the ace of
// spades; the cards that are no spade; the ace of spades.
struct CardFacts {
    int otherAces, notSpades, aceOfSpades;
    // spadeSuit: the suit of these cards that is the spades (a renaming of the suits ahead).
    explicit CardFacts(const Card cards[HandSize], int spadeSuit = Spades) : otherAces(0), notSpades(0), aceOfSpades(0)
    {
        for (int i = 0; i < HandSize; ++i) {
            const bool ace = RankOf(cards[i]) == Ace, spade = SuitOf(cards[i]) == spadeSuit;
            otherAces |= (ace && !spade) << i;
            notSpades |= !spade << i;
            aceOfSpades |= (ace && spade) << i;
        }
    }
    bool OtherAce(int mask) const { return (mask & otherAces) != 0; }
    bool SpadesNoAce(int mask) const { return mask != 0 && !(mask & (notSpades | aceOfSpades)); }
};

// The holds a hand has: hold[p], the mask that pattern p keeps (-1: none); present, the patterns it has.
struct HandHolds {
    int8_t hold[PatternCount];
    uint16_t present[PatternCount];
    int count;
    void Clear()
    {
        memset(hold, -1, sizeof hold);
        count = 0;
    }
    void Set(int pattern, int mask)
    {
        if (hold[pattern] < 0) {
            hold[pattern] = static_cast<int8_t>(mask);
            present[count++] = static_cast<uint16_t>(pattern);
        }
    }
};

// The card-aware patterns of base, which keeps mask on this hand.
void AddVariants(const CardFacts &facts, int base, int mask, HandHolds &holds)
{
    if (HasAceVariants(base))
        holds.Set((facts.OtherAce(mask) ? OtherAce : NoOtherAce) * BaseCount + base, mask);
    if (HasSpadeVariants(base))
        holds.Set((facts.SpadesNoAce(mask) ? SpadesNoAce : NotSpadesNoAce) * BaseCount + base, mask);
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

struct PatternHold {
    uint16_t pattern;
    uint8_t mask;
};
constexpr int MaxPatternHolds = HoldCount * 8 + 2;

// Every hold of a general pattern the hand has, masks ascending, then the lowest high cards. It names
// no suit, so one list serves every deal of a class.
int ListBaseHolds(const Card cards[HandSize], PatternHold list[MaxPatternHolds])
{
    int count = 0;
    int8_t first[BaseCount];
    std::fill(first, first + BaseCount, int8_t(-1));
    HandRank rank = ClassifyCards(cards);
    for (int mask = 0; mask < HoldCount; ++mask) {
        int found[8];
        int n = MaskPatterns(cards, mask, rank, found);
        for (int i = 0; i < n; ++i) {
            list[count++] = { static_cast<uint16_t>(found[i]), static_cast<uint8_t>(mask) };
            if (first[found[i]] < 0)
                first[found[i]] = static_cast<int8_t>(mask);
        }
    }
    // The lowest high cards: sets of one and two, tried from the lowest ranks up.
    for (int set = 1; set < 16; set <<= 1)
        if (first[HighCardsFirst + set] >= 0) {
            list[count++] = { HighAlone, static_cast<uint8_t>(first[HighCardsFirst + set]) };
            break;
        }
    static const int lowestPairs[] = { 3, 5, 6, 9, 10, 12 };   // JQ, JK, QK, JA, QA, KA
    int highRanks = 0;
    for (int i = 0; i < HandSize; ++i)
        if (IsHigh(RankOf(cards[i])))
            highRanks |= 1 << (RankOf(cards[i]) - Jack);
    for (int set : lowestPairs)
        if ((highRanks & set) == set) {
            if (first[HighCardsFirst + set] >= 0)
                list[count++] = { UnsuitedHigh2, static_cast<uint8_t>(first[HighCardsFirst + set]) };
            break;
        }
    return count;
}

// The holds of these cards from a list of another order of them: mapping[m] is list mask m over these
// cards (null: the same order). cardAware: the lines that name a card too. present comes out ascending.
void HandPatterns(const CardFacts &facts, const PatternHold *list, int count, const uint8_t *mapping,
                  bool cardAware, HandHolds &holds)
{
    holds.Clear();
    for (int i = 0; i < count; ++i) {
        const int mask = mapping ? mapping[list[i].mask] : list[i].mask;
        holds.Set(list[i].pattern, mask);
        if (cardAware)
            AddVariants(facts, list[i].pattern, mask, holds);
    }
    std::sort(holds.present, holds.present + holds.count);
}

void HandPatterns(const Card cards[HandSize], bool cardAware, HandHolds &holds)
{
    PatternHold list[MaxPatternHolds];
    HandPatterns(CardFacts(cards), list, ListBaseHolds(cards, list), nullptr, cardAware, holds);
}

struct Entry {
    double value;         // chance-weighted coins of this hold; derivation only compares them
    uint16_t pattern;
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

// The groups that each pattern could take, with what its hold is worth in each; and, for the order last
// asked about, each group's first two lines: where they stand, what they are worth, which the first is.
struct Holder {
    uint32_t sample;
    double value;
};

struct Holders {
    std::vector<std::vector<Holder>> of;
    std::vector<int> order, firstPos, secondPos, firstPattern;
    std::vector<double> firstValue, secondValue;
    // Each pattern's insertion gains as last worked out, and the order they were for: the search asks
    // again for the same order more often than not.
    std::vector<std::vector<int>> gainsOrder;
    std::vector<std::vector<double>> gains;
    const std::vector<Holder> &operator[](size_t p) const { return of[p]; }

    explicit Holders(const Samples &data) : of(PatternCount), gainsOrder(PatternCount), gains(PatternCount)
    {
        for (size_t s = 0; s < data.samples.size(); ++s)
            for (uint32_t i = 0; i < data.samples[s].count; ++i) {
                const Entry &entry = data.entries[data.samples[s].first + i];
                of[entry.pattern].push_back({ static_cast<uint32_t>(s), entry.value });
            }
    }

    void FirstLinesOf(const Samples &data, const std::vector<int> &now)
    {
        if (now == order && !firstPos.empty())
            return;
        order = now;
        const int none = static_cast<int>(order.size());
        std::vector<int> position(PatternCount, none);
        for (size_t i = 0; i < order.size(); ++i)
            position[static_cast<size_t>(order[i])] = static_cast<int>(i);
        const size_t samples = data.samples.size();
        firstPos.assign(samples, none);
        secondPos.assign(samples, none);
        firstPattern.assign(samples, -1);
        firstValue.assign(samples, 0);
        secondValue.assign(samples, 0);
        for (size_t s = 0; s < samples; ++s) {
            const Entry *e = &data.entries[data.samples[s].first];
            for (uint32_t i = 0; i < data.samples[s].count; ++i) {
                const int at = position[e[i].pattern];
                if (at < firstPos[s]) {
                    secondPos[s] = firstPos[s];
                    secondValue[s] = firstValue[s];
                    firstPos[s] = at;
                    firstValue[s] = e[i].value;
                    firstPattern[s] = e[i].pattern;
                } else if (at < secondPos[s]) {
                    secondPos[s] = at;
                    secondValue[s] = e[i].value;
                }
            }
        }
    }
};

// Where in order, without p, each hand that p could take would otherwise go, and what it would win there.
// gain[j]: the change in return when p goes in at line j (before order[j]) instead of where it is.
void InsertionGains(const Samples &data, Holders &holders, const std::vector<int> &order, int p,
                    std::vector<double> &gain)
{
    if (holders.gainsOrder[static_cast<size_t>(p)] == order && !holders.gainsOrder[static_cast<size_t>(p)].empty()) {
        gain = holders.gains[static_cast<size_t>(p)];
        return;
    }
    holders.FirstLinesOf(data, order);
    int current = PatternCount;
    for (size_t i = 0; i < order.size(); ++i)
        if (order[i] == p)
            current = static_cast<int>(i);
    const bool present = current < PatternCount;
    const int n = static_cast<int>(order.size()) - (present ? 1 : 0);
    gain.assign(static_cast<size_t>(n) + 1, 0.0);
    for (const Holder &h : holders[static_cast<size_t>(p)]) {
        const size_t s = h.sample;
        const bool firstIsP = holders.firstPattern[s] == p;
        int at = firstIsP ? holders.secondPos[s] : holders.firstPos[s];
        const double otherValue = at >= static_cast<int>(order.size()) ? 0 : firstIsP ? holders.secondValue[s] : holders.firstValue[s];
        // at, counted in order without p
        const int other = at >= static_cast<int>(order.size()) ? n : present && at > current ? at - 1 : at;
        const double own = h.value;
        // Now: p takes the hand when it stands before the hand's other first line.
        bool takesNow = present && current <= other;
        double now = takesNow ? own : otherValue;
        // Going in at j <= other, p takes it; beyond, the other line does.
        gain[0] += own - now;
        if (other < n)
            gain[static_cast<size_t>(other) + 1] += otherValue - own;
    }
    for (size_t j = 1; j < gain.size(); ++j)
        gain[j] += gain[j - 1];
    holders.gainsOrder[static_cast<size_t>(p)] = order;
    holders.gains[static_cast<size_t>(p)] = gain;
}

// Orders the vocabulary: first, greedily, the line that costs least per deal among the hands it takes;
// then moves single lines to where they add most, and drops the lines that cost least to lose.
std::vector<int> OrderLines(const Samples &data, const std::vector<double> &optimum, size_t maxLines,
                            const std::vector<char> &allowed)
{
    std::vector<int> order;
    std::vector<char> covered(data.samples.size(), 0), used(PatternCount, 0);
    std::vector<double> regret(PatternCount), reach(PatternCount);
    Holders holders(data);
    for (int p = 0; p < PatternCount; ++p)
        if (!allowed[p]) {
            holders.of[static_cast<size_t>(p)].clear();
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
        for (const Holder &h : holders[static_cast<size_t>(pick)])
            covered[h.sample] = 1;
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
    // Trade a line for one left out while that pays: tried for the lines left out that would add more
    // by themselves than the line that adds least loses.
    for (bool traded = true; traded;) {
        traded = false;
        double value = data.Value(PositionsOf(order).data(), nullptr, nullptr);
        double leastLoss = -1;
        for (size_t i = 0; i + 1 < order.size(); ++i) {
            InsertionGains(data, holders, order, order[i], gain);
            if (leastLoss < 0 || gain[i] - gain.back() < leastLoss)
                leastLoss = gain[i] - gain.back();
        }
        for (int p = 0; p < PatternCount; ++p) {
            if (p == DrawFive || std::find(order.begin(), order.end(), p) != order.end() || holders[p].empty())
                continue;
            std::vector<int> saved = order;
            InsertionGains(data, holders, order, p, gain);
            size_t best = 0;
            for (size_t j = 0; j + 1 < gain.size(); ++j)
                if (gain[j] > gain[best])
                    best = j;
            if (gain[best] <= leastLoss)
                continue;
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

// Derives a chart, or (chart null) only plays compared on this dealing into comparedHere.
bool DeriveOrPlay(const AnalysisTables &tables, const WeightedTables *machine, int coins, int threads,
                  StrategyChart *derivedChart, const StrategyChart *compared, StrategyChart *comparedHere)
{
    if (coins < 1 || coins > MaxWager || threads < 1)
        return false;
    const bool cardAware = machine != nullptr;
    std::vector<GroupHash> parts(static_cast<size_t>(threads));
    bool tallied;
    if (!machine) {
        tallied = RunClassBlocks(threads, ClassBlockSize, [&](const ClassBlock &block) {
            GroupHash &groups = parts[static_cast<size_t>(block.thread)];
            for (int c = 0; c < block.count; ++c) {
                const DealClass &deal = block.classes[c];
                HoldValue ranked[HoldCount];
                AnalyzeHolds(tables, deal.cards, coins, ranked);
                HandHolds holds;
                HandPatterns(deal.cards, cardAware, holds);
                Group &group = GroupOf(groups, holds);
                for (int k = 0; k < holds.count; ++k) {
                    const HoldValue *hold = FindHold(ranked, holds.hold[holds.present[k]]);
                    group.paid[static_cast<size_t>(k)] += hold->numerator * DrawScale(hold->cardsDrawn) * deal.deals;
                }
                group.bestPaid += ranked[0].numerator * DrawScale(ranked[0].cardsDrawn) * deal.deals;
                group.deals += deal.deals;
            }
        });
    } else {
        // Deals of a class are alike but for the lines that name a card, and worth the same only where
        // renaming suits keeps every weight: deals are taken as one where a renaming keeps both, the
        // weights and the spades.
        SuitSymmetry alike = {};
        for (int g = 0; g < WeightedSymmetry(*machine).count; ++g)
            if (suitOrders.map[WeightedSymmetry(*machine).order[g]][Spades] == Spades)
                alike.order[alike.count++] = WeightedSymmetry(*machine).order[g];
        // Half blocks: a machine class costs far more than an even one.
        tallied = RunClassBlocks(threads, ClassBlockSize / 2, [&](const ClassBlock &block) {
            GroupHash &groups = parts[static_cast<size_t>(block.thread)];
            static thread_local HandHolds classHolds[5];
            ClassDealSets ahead[2];   // the class's deals listed with the class before
            ListClassDealSets(*machine, block.classes[0], alike, ahead[0]);
            for (int c = 0; c < block.count; ++c) {
                const DealClass &dealClass = block.classes[c];
                ClassDealSets &now = ahead[c & 1];
                if (c + 1 < block.count)
                    ListClassDealSets(*machine, block.classes[c + 1], alike, ahead[(c + 1) & 1]);
                const ClassDeal *deals = now.deals;
                DealSets *sets = now.sets;
                const int dealCount = now.count;
                PatternHold list[MaxPatternHolds];
                const int count = ListBaseHolds(dealClass.cards, list);
                int64_t classPaid[HoldCount];
                EvenHoldsPaid(*machine, sets[0], classPaid);   // the first deal is the class's own cards
                // Every deal prices the holds its lines name; other holds only where they might be best: the
                // best is worth at least what any of these is on any deal.
                double floor = 0;
                for (int i = 0; i < count; ++i)
                    floor = std::max(floor, LeastWorth(*machine, BitCount(list[i].mask), classPaid[list[i].mask]));
                Rival rivals[HoldCount];
                const int rivalCount = ListRivals(*machine, classPaid, 0, floor * (1 - 1e-9), rivals);
                // The lines a deal of the class has depend only on which of the class's suits becomes
                // the spades (or none): worked out once for each, over the class's order of its cards.
                // Each of those holds names one of a few masks of the class's cards: priced once a deal.
                bool known[5] = {};
                Group *groupOf[5];
                int maskCount[5];
                uint8_t classMask[5][HoldCount], maskOf[5][PatternCount];
                for (int d = 0; d < dealCount; ++d) {
                    const Card *deal = deals[d].sorted;
                    const uint8_t *toSorted = deals[d].toSorted;
                    DealSets &dealSets = sets[d];
                    const double chance = static_cast<double>(DealChance(*machine, dealSets)) * deals[d].deals;
                    int spadeSuit = 4;
                    for (int i = 0; i < HandSize; ++i)
                        if (SuitOf(deal[toSorted[i]]) == Spades)
                            spadeSuit = SuitOf(dealClass.cards[i]);
                    HandHolds &holds = classHolds[spadeSuit];
                    if (!known[spadeSuit]) {
                        HandPatterns(CardFacts(dealClass.cards, spadeSuit), list, count, nullptr, true, holds);
                        groupOf[spadeSuit] = &GroupOf(groups, holds);
                        known[spadeSuit] = true;
                        maskCount[spadeSuit] = 0;
                        for (int k = 0; k < holds.count; ++k) {
                            const uint8_t mask = static_cast<uint8_t>(holds.hold[holds.present[k]]);
                            uint8_t *last = classMask[spadeSuit] + maskCount[spadeSuit];
                            const uint8_t *at = std::find(classMask[spadeSuit], last, mask);
                            if (at == last)
                                *last = mask, ++maskCount[spadeSuit];
                            maskOf[spadeSuit][k] = static_cast<uint8_t>(at - classMask[spadeSuit]);
                        }
                    }
                    Group &group = *groupOf[spadeSuit];
                    alignas(64) int32_t byFinal[HoldCount][MaxAllLanes];
                    ValueAllHolds(*machine, dealSets, byFinal);
                    double worth[HoldCount], bestWorth = 0;
                    uint32_t priced = 0;
                    for (int i = 0; i < maskCount[spadeSuit]; ++i) {
                        const int mask = MapHold(deals[d], classMask[spadeSuit][i]);
                        worth[i] = PricedWorth(*machine, dealSets, byFinal, mask);
                        priced |= 1u << mask;
                        bestWorth = std::max(bestWorth, worth[i]);
                    }
                    for (int k = 0; k < holds.count; ++k)
                        group.weighted[static_cast<size_t>(k)] += chance * worth[maskOf[spadeSuit][k]];
                    for (int r = 0; r < rivalCount && rivals[r].bound >= bestWorth * (1 - 1e-9); ++r) {
                        const int mask = MapHold(deals[d], rivals[r].mask);
                        if (!(priced >> mask & 1)
                            && HoldBound(*machine, dealSets, mask, classPaid[rivals[r].mask]) >= bestWorth * (1 - 1e-9))
                            bestWorth = std::max(bestWorth, PricedWorth(*machine, dealSets, byFinal, mask));
                    }
                    group.bestWeighted += chance * bestWorth;
                    group.chance += chance;
                    group.deals += deals[d].deals;
                }
            }
        });
    }
    if (!tallied)
        return false;
    Groups groups;
    for (const GroupHash &part : parts)
        Merge(groups, part);

    if (!derivedChart) {
        PlayCompared(groups, compared, comparedHere, machine != nullptr, coins);
        return true;
    }
    StrategyChart &chart = *derivedChart;
    Samples data;
    std::vector<double> optimum, weight;
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
    // A card-aware line goes with its general line.
    for (std::vector<char> *allowed : { &everything, &general, &types })
        for (int p = BaseCount; p < PatternCount; ++p)
            (*allowed)[static_cast<size_t>(p)] = cardAware && (*allowed)[static_cast<size_t>(BaseOf(p))];
    const size_t maxLines = machine ? MachineMaxLines : EvenMaxLines;
    // The three searches at once; the first of them that does best wins.
    const std::vector<char> *vocabularies[3] = { &everything, &general, &types };
    std::vector<int> tried[3];
    RunBlocks(threads, 3, [&](int v, int) { tried[v] = OrderLines(data, optimum, maxLines, *vocabularies[v]); });
    std::vector<int> order = tried[0];
    for (int v = 1; v < 3; ++v)
        if (data.Value(PositionsOf(tried[v]).data(), nullptr, nullptr) > data.Value(PositionsOf(order).data(), nullptr, nullptr))
            order = tried[v];
    // Lines that take no deal go, and lines whose deals the lines below them hold as well: they change
    // nothing. What each line adds: the return lost if its deals went to the lines below it instead.
    Played played = PlayOrder(groups, order, machine != nullptr, coins);
    order.erase(std::remove_if(order.begin(), order.end(),
                               [&](int p) { return played.share[static_cast<size_t>(p)] == 0; }),
                order.end());
    Holders holders(data);
    std::vector<double> gain, adds(order.size());
    for (size_t i = 0; i + 1 < order.size(); ++i) {
        InsertionGains(data, holders, order, order[i], gain);
        adds[i] = gain[i] - gain.back();
        if (adds[i] <= 0) {
            order.erase(order.begin() + static_cast<long>(i));
            adds.assign(order.size(), 0);
            i = static_cast<size_t>(-1);   // again from the top
        }
    }
    chart = StrategyChart();
    chart.coins = coins;
    chart.machineDealing = machine != nullptr;
    FillChart(chart, PlayOrder(groups, order, machine != nullptr, coins), order, machine != nullptr, coins);
    const double valueScale = machine ? 1.0 / coins : 1.0 / (static_cast<double>(DealCount) * DrawDenominator * coins);
    for (size_t i = 0; i + 1 < order.size(); ++i)
        chart.lines[i].gain = adds[i] * valueScale;

    // Another chart's lines played on this dealing: the even deck's chart on the machine.
    if (PlayCompared(groups, compared, comparedHere, machine != nullptr, coins))
        chart.comparedReturn = comparedHere->chartReturn;
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

int FollowChart(const StrategyChart &chart, const Card cards[HandSize], int *heldMask)
{
    HandHolds holds;
    HandPatterns(cards, true, holds);
    for (size_t i = 0; i < chart.lines.size(); ++i) {
        int p = chart.lines[i].pattern;
        if (p >= 0 && p < PatternCount && holds.hold[p] >= 0) {
            if (heldMask)
                *heldMask = holds.hold[p];
            return static_cast<int>(i);
        }
    }
    if (heldMask)
        *heldMask = 0;
    return -1;
}

std::string Percent(double fraction)
{
    // Enough digits that a share above zero never reads as zero.
    int digits = 4;
    while (digits < 9 && fraction > 0 && fraction * 100 < 0.5 * std::pow(10.0, -digits))
        ++digits;
    char text[32];
    snprintf(text, sizeof text, "%.*f%%", digits, fraction * 100);
    return text;
}

std::string ChartText(const StrategyChart &chart)
{
    std::string text;
    char line[200];
    int width = 0;
    for (const ChartLine &chartLine : chart.lines)
        width = std::max(width, static_cast<int>(chartLine.text.size()));
    for (size_t i = 0; i < chart.lines.size(); ++i) {
        snprintf(line, sizeof line, "%2zu. %-*s %9s\n", i + 1, width, chart.lines[i].text.c_str(),
                 Percent(chart.lines[i].share).c_str());
        text += line;
    }
    snprintf(line, sizeof line, "Chart return:   %.6f%%\nOptimal return: %.6f%%\n", chart.chartReturn * 100,
             chart.optimalReturn * 100);
    text += line;
    if (chart.machineDealing && chart.comparedReturn > 0) {
        snprintf(line, sizeof line, "The even deck's chart on this dealing: %.6f%%\n", chart.comparedReturn * 100);
        text += line;
    }
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
