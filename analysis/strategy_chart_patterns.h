// strategy_chart_patterns.h: the chart's vocabulary of holds, and which of them a hand has.
#pragma once

#include "analysis/analysis.h"

#include <cstring>
#include <string>
#include <vector>

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

std::string PatternText(int pattern);

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

struct PatternHold {
    uint16_t pattern;
    uint8_t mask;
};
constexpr int MaxPatternHolds = HoldCount * 8 + 2;

// Every hold of a general pattern the hand has, masks ascending, then the lowest high cards. It names
// no suit, so one list serves every deal of a class.
int ListBaseHolds(const Card cards[HandSize], PatternHold list[MaxPatternHolds]);

// The holds of these cards from a list of another order of them: mapping[m] is list mask m over these
// cards (null: the same order). cardAware: the lines that name a card too. present comes out ascending.
void HandPatterns(const CardFacts &facts, const PatternHold *list, int count, const uint8_t *mapping,
                  bool cardAware, HandHolds &holds);
void HandPatterns(const Card cards[HandSize], bool cardAware, HandHolds &holds);

// The three vocabularies a chart is searched in: every pattern; pairs and single high cards named only in
// general; and then three to a straight flush too. cardAware: lines that name a card go with their
// general line.
constexpr int VocabularyCount = 3;
void ChartVocabularies(bool cardAware, std::vector<char> allowed[VocabularyCount]);
