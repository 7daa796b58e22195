// strategy_chart_patterns.cpp: the chart's vocabulary of holds: their names, which of them a hand has,
// and the line a hand takes.
#include "analysis/strategy_chart_patterns.h"
#include "analysis/strategy_chart.h"
#include "analysis/cards.h"

#include <algorithm>

namespace {

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

// The card-aware patterns of base, which keeps mask on this hand.
void AddVariants(const CardFacts &facts, int base, int mask, HandHolds &holds)
{
    if (HasAceVariants(base))
        holds.Set((facts.OtherAce(mask) ? OtherAce : NoOtherAce) * BaseCount + base, mask);
    if (HasSpadeVariants(base))
        holds.Set((facts.SpadesNoAce(mask) ? SpadesNoAce : NotSpadesNoAce) * BaseCount + base, mask);
}

// The cards a hold keeps, as the patterns ask about them.
struct KeptCards {
    int kept, high, rankBits, rankCount[13];
    bool suited;
    int distinct, lowest, highest;
    bool fits;            // distinct ranks that fit in a straight: ace high, or ace low under a five
    int gaps;             // the ranks missing inside that straight
    bool aceInvolved, royal, allHigh;
};

KeptCards KeptCardsOf(const Card cards[HandSize], int mask)
{
    KeptCards k;   // each field set below, not all zeroed first: this runs for every hold of every class
    k.kept = k.high = k.rankBits = k.distinct = 0;
    std::fill(k.rankCount, k.rankCount + 13, 0);
    k.suited = true;
    int firstSuit = -1;
    for (int i = 0; i < HandSize; ++i)
        if (mask & (1 << i)) {
            int r = RankOf(cards[i]);
            ++k.kept;
            k.high += IsHigh(r);
            k.rankBits |= 1 << r;
            ++k.rankCount[r];
            if (firstSuit < 0)
                firstSuit = SuitOf(cards[i]);
            k.suited = k.suited && SuitOf(cards[i]) == firstSuit;
        }
    k.lowest = 13;
    k.highest = -1;
    for (int r = 0; r < 13; ++r)
        if (k.rankBits & (1 << r)) {
            ++k.distinct;
            k.lowest = std::min(k.lowest, r);
            k.highest = std::max(k.highest, r);
        }
    k.fits = k.distinct == k.kept && k.kept > 0 && k.highest - k.lowest <= 4;
    k.gaps = k.highest - k.lowest + 1 - k.kept;
    k.aceInvolved = (k.rankBits & (1 << Ace)) != 0;
    if (!k.fits && k.distinct == k.kept && k.aceInvolved && k.kept > 1) {
        int lowBits = (k.rankBits & ~(1 << Ace));
        int top = 0;
        for (int r = 0; r < 13; ++r)
            if (lowBits & (1 << r))
                top = r;
        if (top <= Five) {
            k.fits = true;
            k.gaps = top + 2 - k.kept;
        }
    }
    k.royal = k.suited && k.distinct == k.kept && k.lowest >= Ten;
    k.allHigh = k.distinct == k.kept && k.kept > 0 && k.lowest >= Jack;
    return k;
}

struct FoundPatterns {
    int pattern[8];
    int count;
    void Add(int p) { pattern[count++] = p; }
};

void AddMadeHand(HandRank rank, FoundPatterns &found)
{
    if (rank == RoyalFlush) found.Add(RoyalMade);
    else if (rank == StraightFlush) found.Add(StraightFlushMade);
    else if (rank == FourOfAKind) found.Add(QuadsMade);
    else if (rank == FullHouse) found.Add(FullHouseMade);
    else if (rank == Flush) found.Add(FlushMade);
    else if (rank == Straight) found.Add(StraightMade);
}

void AddFourCards(const KeptCards &k, FoundPatterns &found)
{
    if (k.distinct == 2 && k.rankCount[k.lowest] == 2)
        found.Add(TwoPairs);
    if (k.distinct == 4) {
        const bool outside = k.gaps == 0 && !k.aceInvolved;
        if (k.royal) found.Add(Royal4);
        if (k.suited && k.fits) found.Add(outside ? StraightFlush4Outside : StraightFlush4Inside);
        if (k.suited) found.Add(Flush4);
        if (k.fits) found.Add((outside ? Straight4OutsideFirst : Straight4InsideFirst) + k.high);
        if (k.allHigh && !k.suited) found.Add(HighCardsFirst + (k.rankBits >> Jack));
    }
}

void AddThreeCards(const KeptCards &k, FoundPatterns &found)
{
    if (k.distinct == 1)
        found.Add(Trips);
    if (k.distinct == 3) {
        if (k.royal) found.Add(Royal3);
        if (k.suited && k.fits && k.high <= 2 && !k.royal) {
            found.Add(StraightFlush3First + k.gaps * 3 + k.high);
            found.Add(StraightFlush3TypeFirst + std::max(0, k.gaps - k.high));
        }
        if (k.suited && k.high <= 2) found.Add(Flush3First + k.high);
        if (k.allHigh && !k.suited) found.Add(HighCardsFirst + (k.rankBits >> Jack));
    }
}

void AddTwoCards(const KeptCards &k, FoundPatterns &found)
{
    if (k.distinct == 1) {
        found.Add(IsHigh(k.lowest) ? HighPair : LowPair);
    } else if (k.suited && k.lowest >= Ten) {
        found.Add(Royal2First + Royal2Index(k.lowest, k.highest));
        if (k.lowest >= Jack)
            found.Add(SuitedHigh2);
    } else if (k.allHigh && !k.suited) {
        found.Add(HighCardsFirst + (k.rankBits >> Jack));
    }
}

// The patterns that holding exactly the cards of mask stands for.
void MaskPatterns(const Card cards[HandSize], int mask, HandRank rank, FoundPatterns &found)
{
    const KeptCards k = KeptCardsOf(cards, mask);
    found.count = 0;   // and no more, for the same reason
    switch (k.kept) {
    case 5: AddMadeHand(rank, found); break;
    case 4: AddFourCards(k, found); break;
    case 3: AddThreeCards(k, found); break;
    case 2: AddTwoCards(k, found); break;
    case 1:
        if (IsHigh(k.lowest))
            found.Add(HighCardsFirst + (k.rankBits >> Jack));
        break;
    default: found.Add(DrawFive); break;
    }
}

} // namespace

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

int ListBaseHolds(const Card cards[HandSize], PatternHold list[MaxPatternHolds])
{
    int count = 0;
    int8_t first[BaseCount];
    std::fill(first, first + BaseCount, int8_t(-1));
    HandRank rank = ClassifyCards(cards);
    for (int mask = 0; mask < HoldCount; ++mask) {
        FoundPatterns found;
        MaskPatterns(cards, mask, rank, found);
        for (int i = 0; i < found.count; ++i) {
            const int pattern = found.pattern[i];
            list[count++] = { static_cast<uint16_t>(pattern), static_cast<uint8_t>(mask) };
            if (first[pattern] < 0)
                first[pattern] = static_cast<int8_t>(mask);
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

void ChartVocabularies(bool cardAware, std::vector<char> allowed[VocabularyCount])
{
    std::vector<char> &everything = allowed[0], &general = allowed[1], &types = allowed[2];
    everything.assign(PatternCount, 1);
    general.assign(PatternCount, 1);
    // The search keeps special cases a general line would cover, so the vocabularies without them are
    // tried too.
    for (int p = Royal2First; p < Royal2First + 10; ++p)
        general[static_cast<size_t>(p)] = p == Royal2First + Royal2Index(Ten, Jack) || p == Royal2First + Royal2Index(Ten, Queen)
                         || p == Royal2First + Royal2Index(Ten, King) || p == Royal2First + Royal2Index(Ten, Ace);
    for (int set = 1; set < 16; ++set)
        if (__builtin_popcount(static_cast<unsigned>(set)) <= 2)
            general[static_cast<size_t>(HighCardsFirst + set)] = 0;
    types = general;
    for (int p = StraightFlush3First; p < Flush4; ++p)
        types[static_cast<size_t>(p)] = 0;
    for (int v = 0; v < VocabularyCount; ++v)
        for (int p = BaseCount; p < PatternCount; ++p)
            allowed[v][static_cast<size_t>(p)] = cardAware && allowed[v][static_cast<size_t>(BaseOf(p))];
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
