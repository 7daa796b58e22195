// chart_test.cpp: the derived strategy chart: its exact return, the deals its lines take, and hands a player knows.
#include "analysis/strategy_chart.h"
#include "analysis/analysis.h"
#include "tests/common/hands.h"

#include <gtest/gtest.h>


namespace {

class ChartTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        tables = CreateAnalysisTables(2);
        derived = DeriveStrategyChart(*tables, nullptr, MaxWager, 2, chart);
    }
    static void TearDownTestSuite() { FreeAnalysisTables(tables); }

    // The text of the line the hand takes, and the cards it keeps, by name.
    static std::string Follow(const char *const names[HandSize], int *held)
    {
        Card deal[HandSize];
        for (int i = 0; i < HandSize; ++i)
            deal[i] = CardOf(names[i]);
        int line = FollowChart(chart, deal, held);
        return line < 0 ? std::string("none") : chart.lines[static_cast<size_t>(line)].text;
    }

    static AnalysisTables *tables;
    static StrategyChart chart;
    static bool derived;
};

AnalysisTables *ChartTest::tables = nullptr;
StrategyChart ChartTest::chart;
bool ChartTest::derived = false;

// Its exact return, and the deals its lines take: a made hand that no draw beats is taken by its own
// line, as often as a full deck deals it; the shares add up to every deal.
TEST_F(ChartTest, ExactReturnAndTheDealsEachLineTakes)
{
    ASSERT_TRUE(derived);
    EXPECT_EQ(chart.returnNumerator, 165347257909u);
    EXPECT_EQ(chart.returnDenominator, 166110254310u);
    const struct { size_t line; const char *text; double deals; } made[] = {
        {0, "royal flush", 4}, {1, "straight flush", 36}, {2, "four of a kind", 624}, {3, "full house", 3744},
        {4, "three of a kind", 54912}, {5, "two pair", 123552}};
    for (const auto &m : made) {
        EXPECT_EQ(chart.lines[m.line].text, m.text);
        EXPECT_NEAR(chart.lines[m.line].share, m.deals / DealCount, 1e-15) << m.text;
    }
    double total = 0;
    for (const ChartLine &line : chart.lines)
        total += line.share;
    EXPECT_NEAR(total, 1.0, 1e-12);
}

TEST_F(ChartTest, IsShortAndCloseToOptimalPlay)
{
    ASSERT_TRUE(derived);
    GameAnalysis game;
    ASSERT_TRUE(AnalyzeGame(*tables, MaxWager, 2, game));
    EXPECT_NEAR(chart.optimalReturn, game.returnRate, 1e-15);
    EXPECT_LE(chart.lines.size(), 35u);
    EXPECT_LE(chart.chartReturn, chart.optimalReturn);
    EXPECT_GT(chart.chartReturn, chart.optimalReturn - 0.0001);   // within 0.01 points
    EXPECT_EQ(chart.lines.back().text, "draw five");
}

TEST_F(ChartTest, HandsAPlayerKnows)
{
    ASSERT_TRUE(derived);
    int held = 0;
    const char *royal[HandSize] = { "KH", "AH", "TH", "QH", "JH" };
    EXPECT_EQ(Follow(royal, &held), "royal flush");
    EXPECT_EQ(held, 0x1F);
    const char *flushWithRoyalDraw[HandSize] = { "KS", "3S", "QS", "AS", "JS" };
    EXPECT_EQ(Follow(flushWithRoyalDraw, &held), "4 to a royal flush");
    EXPECT_EQ(held, 0x1D);
    const char *pairAndStraightDraw[HandSize] = { "5C", "6D", "7H", "8S", "8C" };
    EXPECT_EQ(Follow(pairAndStraightDraw, &held), "low pair (2-T)");
    EXPECT_EQ(held, 0x18);
    const char *nothing[HandSize] = { "2C", "7D", "9H", "3S", "4C" };
    EXPECT_EQ(Follow(nothing, &held), "draw five");
    EXPECT_EQ(held, 0);
}

} // namespace
