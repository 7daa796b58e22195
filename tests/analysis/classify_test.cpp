// classify_test.cpp: hand categories by the engine's rule and the analysis's fast classifier, over every
// hand (the full-deck totals) and at the edges a player checks.
#include "analysis/analysis.h"
#include "tests/common/hands.h"

#include <gtest/gtest.h>

namespace {

TEST(HandCategories, EveryHandGivesTheFullDeckTotalsAndBothClassifiersAgree)
{
    int64_t byRank[HandRankCount] = {}, disagreements = 0;
    Card hand[HandSize];
    for (int a = 0; a < DeckSize; ++a)
        for (int b = a + 1; b < DeckSize; ++b)
            for (int c = b + 1; c < DeckSize; ++c)
                for (int d = c + 1; d < DeckSize; ++d)
                    for (int e = d + 1; e < DeckSize; ++e) {
                        // Not sorted, so no rank or suit arrives in a convenient place.
                        hand[0] = Card(d), hand[1] = Card(a), hand[2] = Card(e), hand[3] = Card(c), hand[4] = Card(b);
                        const HandRank rank = EvaluateCards(hand);
                        disagreements += ClassifyCards(hand) != rank;
                        if (rank >= 0 && rank < HandRankCount)
                            ++byRank[rank];
                    }
    EXPECT_EQ(disagreements, 0);
    const int64_t expected[HandRankCount] = { 2062860, 4, 36, 624, 3744, 5108, 10200, 54912, 123552, 337920 };
    for (int h = 0; h < HandRankCount; ++h)
        EXPECT_EQ(byRank[h], expected[h]) << "HandRank " << h;
}

// The totals catch a wrong rule; these name the edges, so a fault reads plainly.
TEST(HandCategories, EdgesOfStraightsFlushesAndPairs)
{
    struct Case {
        const char *cards[HandSize];
        HandRank expected;
    };
    const Case cases[] = {   // the wheel, no wrap past the ace, tens are no pair to pay, four suited are no flush
        { { "AC", "2D", "3H", "4S", "5C" }, Straight },     { { "AH", "2H", "3H", "4H", "5H" }, StraightFlush },
        { { "TS", "JS", "QS", "KS", "AS" }, RoyalFlush },   { { "QC", "KD", "AH", "2S", "3C" }, NoHand },
        { { "TC", "TD", "2H", "5S", "9C" }, NoHand },       { { "JC", "JD", "2H", "5S", "9C" }, JacksOrBetter },
        { { "7C", "KD", "7H", "KS", "7S" }, FullHouse },    { { "2H", "5H", "9H", "JH", "JC" }, JacksOrBetter },
    };
    for (const Case &c : cases) {
        Card hand[HandSize];
        DealOf(c.cards, hand);
        EXPECT_EQ(EvaluateCards(hand), c.expected) << c.cards[0] << ' ' << c.cards[1] << ' ' << c.cards[2];
        EXPECT_EQ(ClassifyCards(hand), c.expected) << c.cards[0] << ' ' << c.cards[1] << ' ' << c.cards[2];
    }
}

} // namespace
