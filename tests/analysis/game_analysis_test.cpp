// game_analysis_test.cpp: the deal classes, and the exact return and final hands of optimal play.
#include "slow_poker.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <unordered_map>
#include <vector>

namespace {

// The four suits' rank sets in a fixed order: deals with the same key differ only by suit names.
uint64_t SuitRenamingKey(const Card *cards, int count)
{
    uint64_t masks[4] = {};
    for (int i = 0; i < count; ++i)
        masks[cards[i] / 13] |= 1ull << (cards[i] % 13);
    std::sort(masks, masks + 4);
    return masks[0] | masks[1] << 13 | masks[2] << 26 | masks[3] << 39;
}

TEST(DealClasses, EachClassOnceWithTheDealsItStandsFor)
{
    std::vector<DealClass> classes(DealClassCount + 1);
    ASSERT_EQ(ListDealClasses(classes.data()), DealClassCount);

    std::unordered_map<uint64_t, int> dealsPerKey;
    Card hand[HandSize];
    for (int a = 0; a < DeckSize; ++a)
        for (int b = a + 1; b < DeckSize; ++b)
            for (int c = b + 1; c < DeckSize; ++c)
                for (int d = c + 1; d < DeckSize; ++d)
                    for (int e = d + 1; e < DeckSize; ++e) {
                        hand[0] = Card(a), hand[1] = Card(b), hand[2] = Card(c), hand[3] = Card(d), hand[4] = Card(e);
                        ++dealsPerKey[SuitRenamingKey(hand, HandSize)];
                    }
    ASSERT_EQ(dealsPerKey.size(), static_cast<size_t>(DealClassCount));

    int64_t total = 0;
    for (int i = 0; i < DealClassCount; ++i) {
        const DealClass &deal = classes[i];
        EXPECT_TRUE(std::is_sorted(deal.cards, deal.cards + HandSize) && deal.cards[HandSize - 1] < DeckSize);
        auto found = dealsPerKey.find(SuitRenamingKey(deal.cards, HandSize));
        ASSERT_NE(found, dealsPerKey.end()) << "class " << i;
        EXPECT_EQ(deal.deals, found->second) << "class " << i;
        found->second = -1;   // a second class of the same deals would now mismatch
        total += deal.deals;
    }
    EXPECT_EQ(total, DealCount);
}

class OptimalPlayTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { tables = CreateAnalysisTables(2); }
    static void TearDownTestSuite()
    {
        FreeAnalysisTables(tables);
        tables = nullptr;
    }

    // The final hands, priced, must give back the return, and they share out the whole denominator.
    static void ExpectConsistent(const GameAnalysis &game)
    {
        uint64_t weight = 0, paid = 0;
        for (int h = 0; h < HandRankCount; ++h) {
            weight += game.finalHands[h];
            paid += game.finalHands[h] * static_cast<uint64_t>(PayoutFor(h, game.coins));
        }
        EXPECT_EQ(weight, game.denominator);
        EXPECT_EQ(paid, game.paidNumerator);
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
    uint64_t divisor = GreatestCommonDivisor(game.paidNumerator, 5 * game.denominator);
    EXPECT_EQ(game.paidNumerator / divisor, 1653526326983ull);
    EXPECT_EQ(5 * game.denominator / divisor, 1661102543100ull);
    EXPECT_NEAR(game.returnRate, 0.995439043695, 5e-13);

    const uint64_t finalHands[HandRankCount] = {
        10872274993896ull, 493512264ull, 2178883296ull, 47093167764ull, 229475482596ull,
        219554786160ull, 223837565784ull, 1484003070324ull, 2576946164148ull, 4277372890968ull,
    };
    for (int h = 0; h < HandRankCount; ++h)
        EXPECT_EQ(game.finalHands[h], finalHands[h]) << "HandRank " << h;
    ExpectConsistent(game);
}

TEST_F(OptimalPlayTest, OneToFourCoinsReturnTheSameExactly)
{
    GameAnalysis one;
    ASSERT_TRUE(AnalyzeGame(*tables, 1, 2, one));
    EXPECT_EQ(one.paidNumerator, 19609007941272ull);
    EXPECT_EQ(one.denominator, 19933230517200ull);
    EXPECT_EQ(one.finalHands[RoyalFlush], 387195108ull);
    EXPECT_NEAR(one.returnRate, 0.983734569, 5e-10);
    ExpectConsistent(one);
    for (int coins = 2; coins <= 4; ++coins) {
        GameAnalysis game;
        ASSERT_TRUE(AnalyzeGame(*tables, coins, 2, game));
        EXPECT_EQ(game.paidNumerator, coins * one.paidNumerator) << coins << " coins";
        for (int h = 0; h < HandRankCount; ++h)
            EXPECT_EQ(game.finalHands[h], one.finalHands[h]) << coins << " coins, HandRank " << h;
    }
}

TEST_F(OptimalPlayTest, OneThreadGivesTheSameFiguresAsTwo)
{
    GameAnalysis single, twin;
    ASSERT_TRUE(AnalyzeGame(*tables, 5, 1, single));
    ASSERT_TRUE(AnalyzeGame(*tables, 5, 2, twin));
    EXPECT_EQ(single.paidNumerator, twin.paidNumerator);
    for (int h = 0; h < HandRankCount; ++h)
        EXPECT_EQ(single.finalHands[h], twin.finalHands[h]);

    AnalysisTables *builtAlone = CreateAnalysisTables(1);
    ASSERT_NE(builtAlone, nullptr);
    GameAnalysis fromAlone;
    ASSERT_TRUE(AnalyzeGame(*builtAlone, 5, 2, fromAlone));
    EXPECT_EQ(fromAlone.paidNumerator, twin.paidNumerator);
    FreeAnalysisTables(builtAlone);
}

TEST_F(OptimalPlayTest, RejectsAWagerOutsideOneToFive)
{
    GameAnalysis game;
    EXPECT_FALSE(AnalyzeGame(*tables, 0, 2, game));
    EXPECT_FALSE(AnalyzeGame(*tables, 6, 2, game));
}

// The best hold of a class's own deal is the best of any renaming of its suits.
TEST_F(OptimalPlayTest, BestHoldValueDoesNotDependOnSuitNamesOrCardOrder)
{
    std::vector<DealClass> classes(DealClassCount);
    ASSERT_EQ(ListDealClasses(classes.data()), DealClassCount);
    const int renaming[4] = { 2, 0, 3, 1 };
    for (int i = 0; i < DealClassCount; i += 997) {
        Card deal[HandSize], renamed[HandSize];
        for (int j = 0; j < HandSize; ++j) {
            deal[j] = classes[i].cards[j];
            Card card = classes[i].cards[HandSize - 1 - j];
            renamed[j] = static_cast<Card>(renaming[card / 13] * 13 + card % 13);
        }
        HoldValue a[HoldCount], b[HoldCount];
        ASSERT_TRUE(AnalyzeHolds(*tables, deal, 5, a));
        ASSERT_TRUE(AnalyzeHolds(*tables, renamed, 5, b));
        EXPECT_EQ(a[0].numerator * b[0].denominator, b[0].numerator * a[0].denominator) << "class " << i;
    }
}

} // namespace
