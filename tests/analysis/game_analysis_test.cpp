// game_analysis_test.cpp: the exact return and final hands of optimal play.
#include "analysis/analysis.h"

#include <gtest/gtest.h>

namespace {

class OptimalPlayTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { tables = CreateAnalysisTables(2); }
    static void TearDownTestSuite()
    {
        FreeAnalysisTables(tables);
        tables = nullptr;
    }

    static AnalysisTables *tables;
};

AnalysisTables *OptimalPlayTest::tables = nullptr;

TEST_F(OptimalPlayTest, FiveCoinsReturnAndFinalHandsAreExact)
{
    GameAnalysis game;
    ASSERT_TRUE(AnalyzeGame(*tables, 5, 2, game));
    EXPECT_EQ(game.denominator, 19933230517200ull);
    // 1,653,526,326,983 / 1,661,102,543,100 per coin bet, over 5 coins and the common denominator.
    EXPECT_EQ(game.paidNumerator * 1661102543100ull, 1653526326983ull * 5 * game.denominator);
    EXPECT_NEAR(game.returnRate, 0.995439043695, 5e-13);

    const uint64_t finalHands[HandRankCount] = {
        10872274993896ull, 493512264ull, 2178883296ull, 47093167764ull, 229475482596ull,
        219554786160ull, 223837565784ull, 1484003070324ull, 2576946164148ull, 4277372890968ull,
    };
    for (int h = 0; h < HandRankCount; ++h)
        EXPECT_EQ(game.finalHands[h], finalHands[h]) << "HandRank " << h;
}

TEST_F(OptimalPlayTest, OneToFourCoinsReturnTheSameExactly)
{
    GameAnalysis one;
    ASSERT_TRUE(AnalyzeGame(*tables, 1, 2, one));
    EXPECT_EQ(one.paidNumerator, 19609007941272ull);
    EXPECT_EQ(one.denominator, 19933230517200ull);
    EXPECT_EQ(one.finalHands[RoyalFlush], 387195108ull);
    EXPECT_NEAR(one.returnRate, 0.983734569, 5e-10);
    // The final hands, priced, give back the return, and they share out the whole denominator.
    uint64_t weight = 0, paid = 0;
    for (int h = 0; h < HandRankCount; ++h) {
        weight += one.finalHands[h];
        paid += one.finalHands[h] * static_cast<uint64_t>(PayoutFor(h, 1));
    }
    EXPECT_EQ(weight, one.denominator);
    EXPECT_EQ(paid, one.paidNumerator);
    for (int coins = 2; coins <= 4; ++coins) {
        GameAnalysis game;
        ASSERT_TRUE(AnalyzeGame(*tables, coins, 2, game));
        EXPECT_EQ(game.paidNumerator, coins * one.paidNumerator) << coins << " coins";
        for (int h = 0; h < HandRankCount; ++h)
            EXPECT_EQ(game.finalHands[h], one.finalHands[h]) << coins << " coins, HandRank " << h;
    }
}

// Tables built and a game analysed on one thread give the figures of two.
TEST_F(OptimalPlayTest, OneThreadGivesTheSameFiguresAsTwo)
{
    AnalysisTables *builtAlone = CreateAnalysisTables(1);
    ASSERT_NE(builtAlone, nullptr);
    GameAnalysis single, twin;
    ASSERT_TRUE(AnalyzeGame(*builtAlone, 5, 1, single));
    ASSERT_TRUE(AnalyzeGame(*tables, 5, 2, twin));
    EXPECT_EQ(single.paidNumerator, twin.paidNumerator);
    FreeAnalysisTables(builtAlone);
}

TEST_F(OptimalPlayTest, RejectsAWagerOutsideOneToFive)
{
    GameAnalysis game;
    EXPECT_FALSE(AnalyzeGame(*tables, 0, 2, game));
    EXPECT_FALSE(AnalyzeGame(*tables, 6, 2, game));
}

} // namespace
