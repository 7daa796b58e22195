// classify_test.cpp: the fast classifier against the plain rule, over every hand and at the edges.
#include "slow_poker.h"

#include <gtest/gtest.h>

namespace {

TEST(ClassifyCards, AgreesWithThePlainRuleOnEveryHand)
{
    int64_t byRank[HandRankCount] = {};
    int mismatches = 0;
    Card hand[HandSize];
    for (int a = 0; a < DeckSize; ++a)
        for (int b = a + 1; b < DeckSize; ++b)
            for (int c = b + 1; c < DeckSize; ++c)
                for (int d = c + 1; d < DeckSize; ++d)
                    for (int e = d + 1; e < DeckSize; ++e) {
                        // Not sorted, so no rank or suit arrives in a convenient place.
                        hand[0] = Card(d), hand[1] = Card(a), hand[2] = Card(e), hand[3] = Card(c), hand[4] = Card(b);
                        HandRank fast = ClassifyCards(hand);
                        if (fast != SlowEvaluate(hand) && ++mismatches <= 5)
                            ADD_FAILURE() << "cards " << a << ' ' << b << ' ' << c << ' ' << d << ' ' << e
                                          << ": fast " << fast << ", plain " << SlowEvaluate(hand);
                        ++byRank[fast];
                    }
    EXPECT_EQ(mismatches, 0);
    const int64_t expected[HandRankCount] = { 2062860, 4, 36, 624, 3744, 5108, 10200, 54912, 123552, 337920 };
    for (int h = 0; h < HandRankCount; ++h)
        EXPECT_EQ(byRank[h], expected[h]) << "HandRank " << h;
}

TEST(ClassifyCards, EdgesOfStraightsFlushesAndPairs)
{
    struct Case {
        const char *cards[HandSize];
        HandRank expected;
    };
    const Case cases[] = {
        { { "AC", "2D", "3H", "4S", "5C" }, Straight },
        { { "AH", "2H", "3H", "4H", "5H" }, StraightFlush },
        { { "TS", "JS", "QS", "KS", "AS" }, RoyalFlush },
        { { "JC", "QD", "KH", "AS", "2C" }, NoHand },
        { { "QC", "KD", "AH", "2S", "3C" }, NoHand },
        { { "9C", "TD", "JH", "QS", "KC" }, Straight },
        { { "9D", "TD", "JD", "QD", "KD" }, StraightFlush },
        { { "TC", "TD", "2H", "5S", "9C" }, NoHand },
        { { "JC", "JD", "2H", "5S", "9C" }, JacksOrBetter },
        { { "AC", "AD", "2H", "5S", "9C" }, JacksOrBetter },
        { { "2C", "2D", "3H", "3S", "9C" }, TwoPair },
        { { "7C", "7D", "7H", "KS", "KC" }, FullHouse },
        { { "7C", "7D", "7H", "7S", "KC" }, FourOfAKind },
        { { "2S", "5S", "8S", "JS", "KS" }, Flush },
        { { "2C", "2D", "2H", "5S", "9C" }, ThreeOfAKind },
    };
    for (const Case &c : cases) {
        Card hand[HandSize];
        for (int i = 0; i < HandSize; ++i)
            hand[i] = CardOf(c.cards[i]);
        EXPECT_EQ(ClassifyCards(hand), c.expected) << c.cards[0] << ' ' << c.cards[1] << ' ' << c.cards[2]
                                                   << ' ' << c.cards[3] << ' ' << c.cards[4];
    }
}

} // namespace
