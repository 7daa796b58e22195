// evaluate_test.cpp: the pay table, and what a damaged hand or wager pays.
#include "engine/game.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

TEST(PayoutFor, TheWholeTable)
{
    const int32_t table[10][5] = {
        {0, 0, 0, 0, 0},
        {250, 500, 750, 1000, 4000},
        {50, 100, 150, 200, 250},
        {25, 50, 75, 100, 125},
        {9, 18, 27, 36, 45},
        {6, 12, 18, 24, 30},
        {4, 8, 12, 16, 20},
        {3, 6, 9, 12, 15},
        {2, 4, 6, 8, 10},
        {1, 2, 3, 4, 5},
    };
    for (HandRank rank = 0; rank < 10; ++rank)
        for (int coins = 1; coins <= 5; ++coins)
            EXPECT_EQ(PayoutFor(rank, coins), table[rank][coins - 1]) << "rank " << rank << ", coins " << coins;
}

// No coins, no category or a damaged wager pays nothing, never a negative or wrapped sum.
TEST(PayoutFor, NothingForNoCoinsNoCategoryOrADamagedWager)
{
    for (HandRank rank : {-1, 10, INT32_MIN})
        for (int coins = 0; coins <= 5; ++coins)
            EXPECT_EQ(PayoutFor(rank, coins), 0) << "rank " << rank;
    for (HandRank rank = 0; rank < 10; ++rank) {
        for (int32_t coins : {0, -1, -5, INT32_MIN})
            EXPECT_EQ(PayoutFor(rank, coins), 0) << "rank " << rank << ", coins " << coins;
        EXPECT_GE(PayoutFor(rank, INT32_MAX), 0) << "rank " << rank;
    }
    EXPECT_EQ(PayoutFor(RoyalFlush, 6), 1500);      // only five coins earn the 4000
    EXPECT_EQ(PayoutFor(RoyalFlush, INT32_MAX), INT32_MAX);
}

// A damaged block can put a non-card on show: that hand pays nothing.
TEST(EvaluateHand, ANonCardPaysNothing)
{
    for (int bad : {52, 64, 200, 255})
        for (int position = 0; position < 5; ++position) {
            Card royal[5] = {47, 48, 49, 50, 51};
            royal[position] = static_cast<Card>(bad);
            EXPECT_EQ(EvaluateCards(royal), NoHand) << "card " << bad << " at " << position;
        }
}

}  // namespace
