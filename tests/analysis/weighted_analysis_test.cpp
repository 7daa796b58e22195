// weighted_analysis_test.cpp: dealing by weight: the machine's weights, its known returns, and the even deck again.
#include "analysis/strategy_chart.h"
#include "analysis/weighted_analysis.h"
#include "analysis/analysis.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

namespace {

class WeightedAnalysisTest : public ::testing::Test {
protected:
    void SetUp() override { MachineCardWeights(machine); }
    uint32_t machine[DeckSize];
};

TEST_F(WeightedAnalysisTest, MachineGivesTwoCardsHalfTheChance)
{
    uint32_t total = 0;
    for (int card = 0; card < DeckSize; ++card) {
        total += machine[card];
        if (card != 0 && card != 51) {
            EXPECT_GE(machine[card], 642u) << "card " << card;
            EXPECT_LE(machine[card], 643u) << "card " << card;
        }
    }
    EXPECT_EQ(total, 32768u);
    EXPECT_EQ(machine[0], 322u);
    EXPECT_EQ(machine[51], 322u);
}

// The machine's own dealing: what optimal play returns, what even-deck play gives up, and on how many deals.
TEST_F(WeightedAnalysisTest, MachineDealingKnownReturns)
{
    WeightedTables *tables = CreateWeightedTables(machine, 5, 2);
    ASSERT_NE(tables, nullptr);
    WeightedGameAnalysis game;
    ASSERT_TRUE(AnalyzeWeightedGame(*tables, 2, game));
    EXPECT_NEAR(static_cast<double>(game.dealChance), 1.0, 1e-15);
    EXPECT_NEAR(static_cast<double>(game.optimalReturn), 0.99298723, 5e-9);
    EXPECT_LT(game.evenDeckPlayReturn, game.optimalReturn);
    EXPECT_EQ(game.dealsHeldDifferently, 165731u);

    // The machine's chart, played under the machine's dealing: a return that rests on the value of
    // whichever hold its lines take on every deal, not only the best one.
    AnalysisTables *even = CreateAnalysisTables(2);
    StrategyChart chart;
    ASSERT_TRUE(DeriveStrategyChart(*even, tables, MaxWager, 2, chart));
    EXPECT_NEAR(chart.chartReturn, 0.99293664, 5e-9);
    EXPECT_NEAR(chart.optimalReturn, 0.99298723, 5e-9);
    FreeAnalysisTables(even);
    FreeWeightedTables(tables);
}

TEST_F(WeightedAnalysisTest, EvenWeightsGiveBackTheExactEvenDeckReturn)
{
    uint32_t even[DeckSize];
    std::fill(even, even + DeckSize, 7u);
    WeightedTables *tables = CreateWeightedTables(even, 5, 2);
    ASSERT_NE(tables, nullptr);
    WeightedGameAnalysis game;
    ASSERT_TRUE(AnalyzeWeightedGame(*tables, 2, game));
    const long double exact = 1653526326983.0L / 1661102543100.0L;
    EXPECT_NEAR(static_cast<double>(game.optimalReturn - exact), 0.0, 1e-15);
    EXPECT_NEAR(static_cast<double>(game.evenDeckPlayReturn - exact), 0.0, 1e-15);
    EXPECT_NEAR(static_cast<double>(game.evenDeckReturn - exact), 0.0, 1e-17);
    EXPECT_NEAR(static_cast<double>(game.dealChance), 1.0, 1e-15);
    EXPECT_EQ(game.dealsHeldDifferently, 0u);
    FreeWeightedTables(tables);
}

TEST_F(WeightedAnalysisTest, RefusesWeightsItCannotPrice)
{
    uint32_t weight[DeckSize];
    std::copy(machine, machine + DeckSize, weight);
    weight[10] = 1000;   // a fourth different weight
    EXPECT_EQ(CreateWeightedTables(weight, 5, 1), nullptr);
    std::copy(machine, machine + DeckSize, weight);
    weight[10] = 0;
    EXPECT_EQ(CreateWeightedTables(weight, 5, 1), nullptr);
    EXPECT_EQ(CreateWeightedTables(machine, 0, 1), nullptr);
    EXPECT_EQ(CreateWeightedTables(machine, 6, 1), nullptr);

    WeightedTables *tables = CreateWeightedTables(machine, 5, 1);
    ASSERT_NE(tables, nullptr);
    const Card repeated[HandSize] = { 3, 4, 5, 6, 3 };
    long double value[HoldCount];
    EXPECT_FALSE(WeightedHoldValues(*tables, repeated, value));
    FreeWeightedTables(tables);
}

} // namespace
