// holds_test.cpp: the values and ranking of the 32 holds, with known values for every hold of one deal.
#include "analysis/analysis.h"
#include "tests/common/hands.h"

#include <gtest/gtest.h>

namespace {

class HoldsTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { tables = CreateAnalysisTables(2); }
    static void TearDownTestSuite() { FreeAnalysisTables(tables); }

    static int MaskOf(const char *pattern)   // "xx.x." : x held
    {
        int mask = 0;
        for (int i = 0; i < HandSize; ++i)
            mask |= (pattern[i] == 'x') << i;
        return mask;
    }

    static AnalysisTables *tables;
};

AnalysisTables *HoldsTest::tables = nullptr;

// What each of the 32 holds of four to a royal with a made flush pays over all its draws at 5 coins, found
// once by dealing every draw: four to a royal (mask 29) is 4000 once, 7 flushes, 3 straights and 12 high pairs.
const int64_t royalDrawPaid[HoldCount] = {
    2252890, 372425, 237130, 27940, 375585, 38815, 27220, 2415, 379145, 39535, 30380, 2655, 38815, 3210, 2415, 285,
    375305, 39535, 28900, 2655, 38815, 3210, 2415, 285, 40495, 3450, 3175, 565, 3210, 4330, 285, 30};

TEST_F(HoldsTest, WellKnownHandsTakeTheTextbookHold)
{
    struct Case {
        const char *why;
        const char *cards[HandSize];
        const char *bestHold;      // x: held
        const char *runnerUp;      // the tempting hold it beats
        const int64_t *paid;       // coins paid over every draw of each hold, by mask, at 5 coins
    };
    const Case cases[] = {
        { "a dealt royal stands", { "QH", "AH", "TH", "KH", "JH" }, "xxxxx", "xxx.x", nullptr },
        { "four to a royal over a made flush", { "KS", "9S", "AS", "JS", "QS" }, "x.xxx", "xxxxx", royalDrawPaid },
        { "a low pair over four to an outside straight", { "5H", "8D", "6S", "7C", "8C" }, ".x..x", "xxxx.", nullptr },
        { "a high pair over four to a flush", { "QD", "3D", "QS", "7D", "9D" }, "x.x..", "xx.xx", nullptr },
        { "three of a kind, drawing two", { "4C", "9H", "4D", "KS", "4S" }, "x.x.x", "xxxxx", nullptr },
        { "a made straight stands", { "8C", "9D", "TH", "JS", "QC" }, "xxxxx", "...xx", nullptr },
        { "garbage: draw five", { "2C", "5D", "7H", "9S", "3D" }, ".....", "...x.", nullptr },
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.why);
        Card deal[HandSize];
        DealOf(c.cards, deal);
        HoldValue ranked[HoldCount];
        ASSERT_TRUE(AnalyzeHolds(*tables, deal, 5, ranked));
        EXPECT_EQ(ranked[0].heldMask, MaskOf(c.bestHold));
        EXPECT_TRUE(RanksBefore(ranked[0], *FindHold(ranked, MaskOf(c.runnerUp))));
        for (int mask = 0; c.paid && mask < HoldCount; ++mask)
            EXPECT_EQ(FindHold(ranked, mask)->numerator, c.paid[mask]) << "mask " << mask;
    }
}

TEST_F(HoldsTest, RankingIsOrderedCompleteAndInProportionToTheWager)
{
    const Card deal[HandSize] = { CardOf("JH"), CardOf("TH"), CardOf("2C"), CardOf("QH"), CardOf("JD") };
    HoldValue one[HoldCount];
    ASSERT_TRUE(AnalyzeHolds(*tables, deal, 1, one));
    for (int coins = 1; coins <= 5; ++coins) {
        HoldValue ranked[HoldCount];
        ASSERT_TRUE(AnalyzeHolds(*tables, deal, coins, ranked));
        int seen = 0;
        for (int i = 0; i < HoldCount; ++i) {
            const HoldValue &hold = ranked[i];
            seen |= 1 << hold.heldMask;
            EXPECT_FALSE(i > 0 && RanksBefore(hold, ranked[i - 1])) << "place " << i;
            EXPECT_EQ(hold.cardsDrawn, HandSize - __builtin_popcount(hold.heldMask));
            EXPECT_EQ(hold.denominator, Choose(47, hold.cardsDrawn));
            EXPECT_DOUBLE_EQ(hold.expectedReturn, static_cast<double>(hold.numerator) / hold.denominator);
            if (coins < 5) {
                EXPECT_EQ(hold.heldMask, one[i].heldMask);
                EXPECT_EQ(hold.numerator, coins * one[i].numerator);
            }
        }
        EXPECT_EQ(seen, -1) << "every one of the 32 holds once";
    }
}

TEST_F(HoldsTest, EqualValuesRankTheHoldThatKeepsMoreCardsThenTheLowerMask)
{
    // Four sevens: drawing to them or standing both pay four of a kind, and nothing else can come.
    const Card deal[HandSize] = { CardOf("7C"), CardOf("7D"), CardOf("KC"), CardOf("7H"), CardOf("7S") };
    HoldValue ranked[HoldCount];
    ASSERT_TRUE(AnalyzeHolds(*tables, deal, 5, ranked));
    EXPECT_EQ(ranked[0].heldMask, 31);
    EXPECT_EQ(ranked[1].heldMask, MaskOf("xx.xx"));
    HoldValue a = ranked[2], b = ranked[2];
    b.heldMask = static_cast<uint8_t>(a.heldMask + 1);
    EXPECT_TRUE(RanksBefore(a, b));
    EXPECT_FALSE(RanksBefore(b, a));
}

TEST_F(HoldsTest, RejectsWhatIsNoHandOrNoWager)
{
    const Card good[HandSize] = { 1, 2, 3, 4, 5 };
    const Card repeated[HandSize] = { 1, 2, 3, 4, 1 };
    const Card offDeck[HandSize] = { 1, 2, 3, 4, 52 };
    HoldValue ranked[HoldCount];
    ranked[0].heldMask = 99;
    EXPECT_FALSE(AnalyzeHolds(*tables, repeated, 5, ranked));
    EXPECT_FALSE(AnalyzeHolds(*tables, offDeck, 5, ranked));
    EXPECT_FALSE(AnalyzeHolds(*tables, good, 0, ranked));
    EXPECT_FALSE(AnalyzeHolds(*tables, good, 6, ranked));
    EXPECT_EQ(ranked[0].heldMask, 99) << "nothing written";
    EXPECT_TRUE(AnalyzeHolds(*tables, good, 5, ranked));
    EXPECT_EQ(FindHold(ranked, 32), nullptr);
    EXPECT_EQ(FindHold(ranked, 17)->heldMask, 17);
}

} // namespace
