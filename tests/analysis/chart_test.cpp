// chart_test.cpp: the derived strategy chart, replayed over every deal and checked on hands a player knows.
#include "engine/strategy_chart.h"
#include "engine/analysis.h"
#include "tests/common/hands.h"

#include <gtest/gtest.h>

#include <vector>

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

// Replaying the chart on every class of deals, with the analysis's own hold values, gives its return.
TEST_F(ChartTest, ReportedReturnIsTheChartPlayedOverEveryDeal)
{
    ASSERT_TRUE(derived);
    std::vector<DealClass> classes(DealClassCount);
    int count = ListDealClasses(classes.data());
    unsigned __int128 paid = 0;
    std::vector<double> share(chart.lines.size(), 0.0);
    for (int c = 0; c < count; ++c) {
        HoldValue ranked[HoldCount];
        ASSERT_TRUE(AnalyzeHolds(*tables, classes[c].cards, MaxWager, ranked));
        int held = -1;
        int line = FollowChart(chart, classes[c].cards, &held);
        ASSERT_GE(line, 0);
        const HoldValue *hold = FindHold(ranked, held);
        ASSERT_NE(hold, nullptr);
        paid += static_cast<unsigned __int128>(hold->numerator) * (DrawDenominator / hold->denominator)
                * classes[c].deals;
        share[static_cast<size_t>(line)] += static_cast<double>(classes[c].deals) / DealCount;
    }
    // paid / (DealCount * DrawDenominator * coins) must equal the reported fraction.
    unsigned __int128 whole = static_cast<unsigned __int128>(DealCount) * DrawDenominator * MaxWager;
    EXPECT_TRUE(paid * chart.returnDenominator == whole * chart.returnNumerator);
    EXPECT_EQ(GreatestCommonDivisor(chart.returnNumerator, chart.returnDenominator), 1u);
    for (size_t i = 0; i < share.size(); ++i)
        EXPECT_NEAR(share[i], chart.lines[i].share, 1e-12) << chart.lines[i].text;
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
