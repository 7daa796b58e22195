// evaluate_test.cpp: hand categories over every hand and at the edges, and the pay table.
#include "engine/game.h"
#include "tests/common/hands.h"

#include <gtest/gtest.h>

#include <array>
#include <cstring>

namespace {

HandRank Evaluate(std::array<int, 5> cards)
{
    VideoPokerGame game;
    InitFreshGame(game);
    for (int i = 0; i < 5; ++i)
        game.card[i] = static_cast<Card>(cards[i]);
    return EvaluateHand(game);
}

std::array<int, 5> Hand(const char *a, const char *b, const char *c, const char *d, const char *e)
{
    return {CardOf(a), CardOf(b), CardOf(c), CardOf(d), CardOf(e)};
}

TEST(CardEncoding, SuitAndRankOfTheExampleCards)
{
    EXPECT_EQ(SuitOf(0), Clubs);      EXPECT_EQ(RankOf(0), Two);
    EXPECT_EQ(SuitOf(12), Clubs);     EXPECT_EQ(RankOf(12), Ace);
    EXPECT_EQ(SuitOf(13), Diamonds);  EXPECT_EQ(RankOf(13), Two);
    EXPECT_EQ(SuitOf(38), Hearts);    EXPECT_EQ(RankOf(38), Ace);
    EXPECT_EQ(SuitOf(47), Spades);    EXPECT_EQ(RankOf(47), Ten);
    EXPECT_EQ(SuitOf(51), Spades);    EXPECT_EQ(RankOf(51), Ace);
}

// Every distinct hand, in two orders: the category totals are those of a full deck.
TEST(EvaluateHand, EveryHandGivesTheFullDeckTotals)
{
    long counts[10] = {};
    long orderMatters = 0;
    std::array<int, 5> h;
    for (h[0] = 0; h[0] < 52; ++h[0])
        for (h[1] = h[0] + 1; h[1] < 52; ++h[1])
            for (h[2] = h[1] + 1; h[2] < 52; ++h[2])
                for (h[3] = h[2] + 1; h[3] < 52; ++h[3])
                    for (h[4] = h[3] + 1; h[4] < 52; ++h[4]) {
                        HandRank rank = Evaluate(h);
                        orderMatters += rank != Evaluate({h[4], h[2], h[0], h[3], h[1]});
                        if (rank >= 0 && rank <= 9)
                            ++counts[rank];
                    }
    EXPECT_EQ(orderMatters, 0);
    const long expected[10] = { 2062860, 4, 36, 624, 3744, 5108, 10200, 54912, 123552, 337920 };
    for (int rank = 0; rank < 10; ++rank)
        EXPECT_EQ(counts[rank], expected[rank]) << "category " << rank;
}

struct NamedHand {
    const char *what;
    std::array<int, 5> cards;
    HandRank expected;
};

// The full-deck totals catch a wrong rule; these name the edges a player checks, so a fault reads plainly.
TEST(EvaluateHand, TheEdgesOfStraightsPairsAndFlushes)
{
    const NamedHand cases[] = {
        {"ace to five, mixed suits", Hand("Ah", "2c", "3d", "4s", "5h"), Straight},
        {"ace to five, one suit", Hand("Ad", "2d", "3d", "4d", "5d"), StraightFlush},
        {"ten to ace, one suit", Hand("Tc", "Jc", "Qc", "Kc", "Ac"), RoyalFlush},
        {"king, ace, two, three, four", Hand("Kc", "Ad", "2h", "3s", "4c"), NoHand},
        {"pair of tens", Hand("Tc", "Td", "2h", "5s", "9c"), NoHand},
        {"pair of jacks", Hand("Jc", "Jd", "2h", "5s", "9c"), JacksOrBetter},
        {"three kings and two fives", Hand("5c", "Kd", "Kh", "5s", "Kc"), FullHouse},
        {"four hearts and a club: no flush, a pair of jacks", Hand("2h", "5h", "9h", "Jh", "Jc"), JacksOrBetter},
    };
    for (const NamedHand &c : cases)
        EXPECT_EQ(Evaluate(c.cards), c.expected) << c.what;
}

TEST(EvaluateHand, ReadsOnlyTheFiveCards)
{
    VideoPokerGame game;
    memset(&game, 0xA5, sizeof game);               // everything but the cards is noise
    std::array<int, 5> royal = Hand("Th", "Jh", "Qh", "Kh", "Ah");
    for (int i = 0; i < 5; ++i)
        game.card[i] = static_cast<Card>(royal[i]);
    VideoPokerGame before = game;
    EXPECT_EQ(EvaluateHand(game), RoyalFlush);
    EXPECT_EQ(memcmp(&before, &game, sizeof game), 0);
}

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

TEST(EvaluateHand, ANonCardPaysNothingAndReadsNothingBeyond)
{
    std::array<int, 5> royal = Hand("Ts", "Js", "Qs", "Ks", "As");
    for (int bad : {52, 64, 200, 255}) {
        for (int position = 0; position < 5; ++position) {
            Card cards[5];
            for (int i = 0; i < 5; ++i)
                cards[i] = static_cast<Card>(royal[i]);
            cards[position] = static_cast<Card>(bad);
            EXPECT_EQ(EvaluateCards(cards), NoHand) << "card " << bad << " at " << position;
        }
    }
}

}  // namespace
