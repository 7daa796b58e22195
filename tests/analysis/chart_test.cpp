// chart_test.cpp: the derived strategy charts, the even deck's and the machine's: their exact returns on
// either dealing, the deals their lines take, and hands a player knows.
#include "analysis/strategy_chart.h"
#include "analysis/analysis.h"
#include "analysis/cards.h"

#include <gtest/gtest.h>

namespace {

class ChartTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        tables = CreateAnalysisTables(2);
        uint32_t weight[DeckSize];
        MachineCardWeights(weight);
        machine = CreateWeightedTables(weight, MaxWager, 2);
        derived = tables && machine && DeriveStrategyChart(*tables, nullptr, MaxWager, 2, even)
                  && DeriveStrategyChart(*tables, machine, MaxWager, 2, ours, &even, &evenHere);
    }
    static void TearDownTestSuite() { FreeAnalysisTables(tables), FreeWeightedTables(machine); }

    // "line: the cards it keeps" for a hand written "AH KC 7D 4S 2H".
    static std::string Follow(const StrategyChart &chart, const char *hand)
    {
        Card deal[HandSize];
        for (int i = 0; i < HandSize; ++i)
            deal[i] = static_cast<Card>(ParseCard(hand + 3 * i, 2));
        int held = 0, line = FollowChart(chart, deal, &held);
        return (line < 0 ? std::string("none") : chart.lines[static_cast<size_t>(line)].text) + ": " + HeldNames(deal, held);
    }

    // Every line takes some deals, and together they take them all.
    static void ExpectSharesAddUp(const StrategyChart &chart)
    {
        double total = 0;
        for (const ChartLine &line : chart.lines) {
            EXPECT_GT(line.share, 0) << line.text;
            total += line.share;
        }
        EXPECT_NEAR(total, 1.0, 1e-12);
        EXPECT_EQ(chart.lines.back().text, "draw five");
    }

    static AnalysisTables *tables;
    static WeightedTables *machine;
    static StrategyChart even, ours, evenHere;   // the machine's own chart; the even one played on it
    static bool derived;
};

AnalysisTables *ChartTest::tables = nullptr;
WeightedTables *ChartTest::machine = nullptr;
StrategyChart ChartTest::even, ChartTest::ours, ChartTest::evenHere;
bool ChartTest::derived = false;

// The even deck's chart: its exact return, and the deals its lines take: a made hand that no draw beats
// is taken by its own line, as often as a full deck deals it.
TEST_F(ChartTest, EvenDeckExactReturnAndTheDealsEachLineTakes)
{
    ASSERT_TRUE(derived);
    EXPECT_EQ(even.returnNumerator, 165347257909u);
    EXPECT_EQ(even.returnDenominator, 166110254310u);
    EXPECT_GT(even.chartReturn, even.optimalReturn - 0.0001);   // within 0.01 points
    EXPECT_LE(even.lines.size(), 35u);
    const struct { size_t line; const char *text; double deals; } made[] = {
        {0, "royal flush", 4}, {1, "straight flush", 36}, {2, "four of a kind", 624}, {3, "full house", 3744},
        {4, "three of a kind", 54912}, {5, "two pair", 123552}};
    for (const auto &m : made) {
        EXPECT_EQ(even.lines[m.line].text, m.text);
        EXPECT_NEAR(even.lines[m.line].share, m.deals / DealCount, 1e-15) << m.text;
    }
    ExpectSharesAddUp(even);
}

// On the machine's dealing: the even chart's known return (computed outside the project), and the
// machine's chart three quarters of the way or more from even-deck play to this dealing's best play.
TEST_F(ChartTest, OnTheMachineItsOwnChartClosesMostOfTheGap)
{
    ASSERT_TRUE(derived);
    EXPECT_NEAR(evenHere.chartReturn, 0.99165074, 5e-9);
    EXPECT_NEAR(ours.comparedReturn, evenHere.chartReturn, 1e-15);
    EXPECT_NEAR(ours.optimalReturn, 0.99298723, 5e-9);
    EXPECT_GE(ours.chartReturn, 0.99267);
    EXPECT_LT(ours.chartReturn, 0.99298723);
    EXPECT_LE(ours.lines.size(), 40u);
    ExpectSharesAddUp(ours);
    ExpectSharesAddUp(evenHere);
}

TEST_F(ChartTest, HandsAPlayerKnows)
{
    ASSERT_TRUE(derived);
    EXPECT_EQ(Follow(even, "KH AH TH QH JH"), "royal flush: KH AH TH QH JH");
    EXPECT_EQ(Follow(even, "KS 3S QS AS JS"), "4 to a royal flush: KS QS AS JS");
    EXPECT_EQ(Follow(even, "5C 6D 7H 8S 8C"), "low pair (2-T): 8S 8C");
    EXPECT_EQ(Follow(even, "2C 7D 9H 3S 4C"), "draw five: nothing");
    // The machine's lines that name a card, with the light ace of spades in the hand and not.
    EXPECT_EQ(Follow(ours, "AH KC 7D 4S 2H"), "1 high card, the lowest, without an ace other than the ace of spades: KC");
    EXPECT_EQ(Follow(ours, "AS KC 7D 4H 2H"),
              "2 unsuited high cards, the lowest two, without an ace other than the ace of spades: AS KC");
    EXPECT_EQ(Follow(ours, "KS QS TS 4S 9D"), "4 to a flush in spades without the ace: KS QS TS 4S");
    EXPECT_EQ(Follow(ours, "KH QH TH 4H 9D"), "3 to a royal flush, without an ace other than the ace of spades: KH QH TH");
    EXPECT_EQ(Follow(ours, "AH TH 7C 4D 2S"), "AT suited: AH TH");
    EXPECT_EQ(Follow(ours, "AS TS 7C 4D 2H"), "1 high card, the lowest, without an ace other than the ace of spades: AS");
}

} // namespace
