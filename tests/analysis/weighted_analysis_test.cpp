// weighted_analysis_test.cpp: dealing by weight: the machine's weights, its known returns, and the even deck again.
#include "analysis/weighted_analysis.h"
#include "analysis/analysis.h"

#include <gtest/gtest.h>

#include <algorithm>

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
        EXPECT_TRUE(card == 0 || card == 51 ? machine[card] == 322 : machine[card] == 642 || machine[card] == 643) << card;
    }
    EXPECT_EQ(total, 32768u);
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
    EXPECT_NEAR(static_cast<double>(game.evenDeckPlayReturn), 0.99171117, 5e-9);
    EXPECT_EQ(game.dealsHeldDifferently, 165731u);
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
    EXPECT_EQ(game.dealsHeldDifferently, 0u);
    FreeWeightedTables(tables);
}

TEST_F(WeightedAnalysisTest, RefusesWeightsItCannotPrice)
{
    uint32_t weight[DeckSize];
    for (uint32_t odd : { 1000u, 0u }) {   // a fourth different weight; a card never dealt
        std::copy(machine, machine + DeckSize, weight);
        weight[10] = odd;
        EXPECT_EQ(CreateWeightedTables(weight, 5, 1), nullptr);
    }
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
