// holds_test.cpp: the values and ranking of the 32 holds, against dealing every draw by hand.
#include "slow_poker.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

namespace {

class HoldsTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { tables = CreateAnalysisTables(2); }
    static void TearDownTestSuite()
    {
        FreeAnalysisTables(tables);
        tables = nullptr;
    }

    static void Deal(const char *const names[HandSize], Card deal[HandSize])
    {
        for (int i = 0; i < HandSize; ++i)
            deal[i] = CardOf(names[i]);
    }

    static int MaskOf(const char *pattern)   // "xx.x." : x held
    {
        int mask = 0;
        for (int i = 0; i < HandSize; ++i)
            if (pattern[i] == 'x')
                mask |= 1 << i;
        return mask;
    }

    static std::string Describe(const Card deal[HandSize])
    {
        std::string text;
        for (int i = 0; i < HandSize; ++i)
            text += std::to_string(deal[i]) + ' ';
        return text;
    }

    // Every hold of the deal against dealing each of its draws, for the 5-coin and 1-coin tables.
    static void ExpectEveryHoldMatchesEveryDraw(const Card deal[HandSize])
    {
        HoldValue five[HoldCount], one[HoldCount];
        ASSERT_TRUE(AnalyzeHolds(*tables, deal, 5, five));
        ASSERT_TRUE(AnalyzeHolds(*tables, deal, 1, one));
        for (int mask = 0; mask < HoldCount; ++mask) {
            int64_t counts[HandRankCount];
            int64_t draws = CountEveryDraw(deal, mask, counts);
            int64_t paidFive = 0, paidOne = 0;
            for (int h = 0; h < HandRankCount; ++h) {
                paidFive += counts[h] * PayoutFor(h, 5);
                paidOne += counts[h] * PayoutFor(h, 1);
            }
            const HoldValue *hold = FindHold(five, mask);
            ASSERT_NE(hold, nullptr);
            SCOPED_TRACE("deal " + Describe(deal) + "hold mask " + std::to_string(mask));
            EXPECT_EQ(hold->denominator, draws);
            EXPECT_EQ(hold->numerator, paidFive);
            for (int h = 0; h < HandRankCount; ++h)
                EXPECT_EQ(hold->finalHands[h], counts[h]) << "HandRank " << h;
            EXPECT_EQ(FindHold(one, mask)->numerator, paidOne);
        }
    }

    static AnalysisTables *tables;
};

AnalysisTables *HoldsTest::tables = nullptr;

TEST_F(HoldsTest, WellKnownHandsTakeTheTextbookHold)
{
    struct Case {
        const char *why;
        const char *cards[HandSize];
        const char *bestHold;      // x: held
        const char *runnerUp;      // the tempting hold it beats
    };
    const Case cases[] = {
        { "a dealt royal stands", { "QH", "AH", "TH", "KH", "JH" }, "xxxxx", "xxx.x" },
        { "four to a royal over a made flush", { "KS", "9S", "AS", "JS", "QS" }, "x.xxx", "xxxxx" },
        { "a low pair over four to an outside straight", { "5H", "8D", "6S", "7C", "8C" }, ".x..x", "xxxx." },
        { "a high pair over four to a flush", { "QD", "3D", "QS", "7D", "9D" }, "x.x..", "xx.xx" },
        { "three of a kind, drawing two", { "4C", "9H", "4D", "KS", "4S" }, "x.x.x", "xxxxx" },
        { "a made straight stands", { "8C", "9D", "TH", "JS", "QC" }, "xxxxx", "...xx" },
        { "garbage: draw five", { "2C", "5D", "7H", "9S", "3D" }, ".....", "...x." },
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.why);
        Card deal[HandSize];
        Deal(c.cards, deal);
        HoldValue ranked[HoldCount];
        ASSERT_TRUE(AnalyzeHolds(*tables, deal, 5, ranked));
        EXPECT_EQ(ranked[0].heldMask, MaskOf(c.bestHold));
        EXPECT_TRUE(RanksBefore(ranked[0], *FindHold(ranked, MaskOf(c.runnerUp))));
        ExpectEveryHoldMatchesEveryDraw(deal);
    }
}

TEST_F(HoldsTest, DealtRoyalPaysTheRoyalForEveryWager)
{
    const char *const names[HandSize] = { "TS", "JS", "QS", "KS", "AS" };
    Card deal[HandSize];
    Deal(names, deal);
    const int32_t royal[6] = { 0, 250, 500, 750, 1000, 4000 };
    for (int coins = 1; coins <= 5; ++coins) {
        HoldValue ranked[HoldCount];
        ASSERT_TRUE(AnalyzeHolds(*tables, deal, coins, ranked));
        EXPECT_EQ(ranked[0].heldMask, 31);
        EXPECT_EQ(ranked[0].numerator, royal[coins]);
        EXPECT_EQ(ranked[0].denominator, 1);
        EXPECT_DOUBLE_EQ(ranked[0].expectedReturn, royal[coins]);
    }
}

TEST_F(HoldsTest, RandomDealsMatchDealingEveryDraw)
{
    std::mt19937 random(20240517);
    for (int n = 0; n < 10; ++n) {
        Card deal[HandSize];
        for (int i = 0; i < HandSize; ++i) {
            bool isRepeat;
            do {
                deal[i] = static_cast<Card>(random() % DeckSize);
                isRepeat = false;
                for (int j = 0; j < i; ++j)
                    isRepeat = isRepeat || deal[j] == deal[i];
            } while (isRepeat);
        }
        ExpectEveryHoldMatchesEveryDraw(deal);
    }
}

TEST_F(HoldsTest, RankingIsOrderedCompleteAndConsistent)
{
    const char *const names[HandSize] = { "JH", "TH", "2C", "QH", "JD" };
    Card deal[HandSize];
    Deal(names, deal);
    for (int coins = 1; coins <= 5; ++coins) {
        HoldValue ranked[HoldCount];
        ASSERT_TRUE(AnalyzeHolds(*tables, deal, coins, ranked));
        int seen = 0;
        for (int i = 0; i < HoldCount; ++i) {
            const HoldValue &hold = ranked[i];
            seen |= 1 << hold.heldMask;
            if (i > 0) {
                EXPECT_FALSE(RanksBefore(hold, ranked[i - 1])) << "place " << i;
            }
            EXPECT_EQ(hold.cardsDrawn, HandSize - __builtin_popcount(hold.heldMask));
            EXPECT_EQ(hold.denominator, Choose(47, hold.cardsDrawn));
            int64_t draws = 0, paid = 0;
            for (int h = 0; h < HandRankCount; ++h) {
                draws += hold.finalHands[h];
                paid += static_cast<int64_t>(hold.finalHands[h]) * PayoutFor(h, coins);
            }
            EXPECT_EQ(draws, hold.denominator);
            EXPECT_EQ(paid, hold.numerator);
            EXPECT_DOUBLE_EQ(hold.expectedReturn, static_cast<double>(paid) / static_cast<double>(draws));
        }
        EXPECT_EQ(seen, -1) << "every one of the 32 holds once";
    }
}

TEST_F(HoldsTest, EqualValuesRankTheHoldThatKeepsMoreCardsThenTheLowerMask)
{
    // Four sevens: drawing to them or standing both pay four of a kind, and nothing else can come.
    const char *const names[HandSize] = { "7C", "7D", "KC", "7H", "7S" };
    Card deal[HandSize];
    Deal(names, deal);
    HoldValue ranked[HoldCount];
    ASSERT_TRUE(AnalyzeHolds(*tables, deal, 5, ranked));
    EXPECT_EQ(ranked[0].heldMask, 31);
    EXPECT_EQ(ranked[1].heldMask, MaskOf("xx.xx"));
    EXPECT_EQ(ranked[0].numerator * ranked[1].denominator, ranked[1].numerator * ranked[0].denominator);

    HoldValue a = ranked[2], b = ranked[2];
    b.heldMask = static_cast<uint8_t>(a.heldMask + 1);
    EXPECT_TRUE(RanksBefore(a, b));
    EXPECT_FALSE(RanksBefore(b, a));
    EXPECT_FALSE(RanksBefore(a, a));
}

TEST_F(HoldsTest, SmallerWagersPayInProportionSoTheyRankAlike)
{
    const char *const names[HandSize] = { "AS", "KS", "QS", "JS", "9D" };
    Card deal[HandSize];
    Deal(names, deal);
    HoldValue one[HoldCount];
    ASSERT_TRUE(AnalyzeHolds(*tables, deal, 1, one));
    for (int coins = 2; coins <= 4; ++coins) {
        HoldValue ranked[HoldCount];
        ASSERT_TRUE(AnalyzeHolds(*tables, deal, coins, ranked));
        for (int i = 0; i < HoldCount; ++i) {
            EXPECT_EQ(ranked[i].heldMask, one[i].heldMask);
            EXPECT_EQ(ranked[i].numerator, coins * one[i].numerator);
        }
    }
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
