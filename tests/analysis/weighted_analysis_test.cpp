// weighted_analysis_test.cpp: dealing by weight, against playing out every order of the cards.
#include "engine/weighted_analysis.h"
#include "slow_poker.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

namespace {

// Every order in which `count` cards can come out of the deck after `out`, each order with the
// chance of picking by weight one card after another; the coins paid with the held cards added.
long double PlayEveryOrder(const uint32_t weight[DeckSize], bool out[DeckSize], long double left, Card hand[HandSize],
                           int filled, int count, int coins)
{
    if (count == 0)
        return PayoutFor(ClassifyCards(hand), coins);
    long double sum = 0;
    for (int card = 0; card < DeckSize; ++card) {
        if (out[card])
            continue;
        out[card] = true;
        hand[filled] = static_cast<Card>(card);
        sum += weight[card] / left * PlayEveryOrder(weight, out, left - weight[card], hand, filled + 1, count - 1, coins);
        out[card] = false;
    }
    return sum;
}

long double PlayHold(const uint32_t weight[DeckSize], const Card deal[HandSize], int heldMask, int coins)
{
    bool out[DeckSize] = {};
    long double left = 0;
    for (int card = 0; card < DeckSize; ++card)
        left += weight[card];
    Card hand[HandSize];
    int kept = 0;
    for (int i = 0; i < HandSize; ++i) {
        out[deal[i]] = true;
        left -= weight[deal[i]];
        if (heldMask & (1 << i))
            hand[kept++] = deal[i];
    }
    return PlayEveryOrder(weight, out, left, hand, kept, HandSize - kept, coins);
}

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

TEST_F(WeightedAnalysisTest, HoldValuesMatchPlayingOutEveryOrder)
{
    WeightedTables *tables = CreateWeightedTables(machine, 5, 2);
    ASSERT_NE(tables, nullptr);
    // The two light cards held, in the deck, or one of each; a royal draw that needs the ace of spades.
    const char *const deals[][HandSize] = {
        { "KS", "2C", "QS", "TS", "JS" },
        { "AS", "2C", "7H", "7D", "9C" },
        { "3C", "QD", "2D", "KH", "AS" },
        { "5H", "6H", "7H", "8H", "JC" },
    };
    for (const auto &names : deals) {
        Card deal[HandSize];
        for (int i = 0; i < HandSize; ++i)
            deal[i] = CardOf(names[i]);
        long double value[HoldCount];
        ASSERT_TRUE(WeightedHoldValues(*tables, deal, value));
        for (int mask = 0; mask < HoldCount; ++mask) {
            if (__builtin_popcount(mask) < 2)
                continue;   // drawing four or five in every order takes too long here
            long double played = PlayHold(machine, deal, mask, 5);
            EXPECT_NEAR(static_cast<double>(value[mask]), static_cast<double>(played), 1e-12 * (1 + played))
                << names[0] << ' ' << names[1] << ' ' << names[2] << ' ' << names[3] << ' ' << names[4]
                << " hold mask " << mask;
        }
    }
    // One card held, four drawn: the tables of single cards.
    Card deal[HandSize] = { CardOf("AS"), CardOf("4D"), CardOf("8H"), CardOf("2C"), CardOf("JD") };
    long double value[HoldCount];
    ASSERT_TRUE(WeightedHoldValues(*tables, deal, value));
    EXPECT_NEAR(static_cast<double>(value[1]), static_cast<double>(PlayHold(machine, deal, 1, 5)), 1e-12);
    FreeWeightedTables(tables);
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
