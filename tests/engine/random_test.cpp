// random_test.cpp: the shared generator, its scaling, and picking a card that is not yet out.
#include "engine/game.h"
#include "tests/engine/recording_view.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {

// The C runtime's values for seed 1, as every program built with it has printed them.
TEST(Random, FollowsTheRuntimeSequence)
{
    SeedRandom(1);
    const int expected[] = { 41, 18467, 6334, 26500, 19169, 15724, 11478, 29358, 26962, 24464 };
    for (int value : expected)
        EXPECT_EQ(NextRandom(), value);
}

TEST(ScaleRandom, RoundsToNearestLikeMulDiv)
{
    for (int n : {7, 51}) {
        for (int x = 0; x <= 32767; ++x) {
            int expected = static_cast<int>(std::lround(x * static_cast<double>(n) / 32767.0));
            ASSERT_EQ(ScaleRandom(x, n), expected) << "x " << x << ", n " << n;
        }
    }
}

// The first card for a few seeds, from a full deck and from one with every even card out: the skip of
// 0..7 values, the rounding to 0..51 and the retry on a card already out all show in these.
TEST(PickCard, KnownFirstCardsForFixedSeeds)
{
    const uint32_t seeds[] = { 1, 2, 7, 99, 12345, 1733400000, 1733400001, 1733486400, 2147483647, 4000000000u };
    const int fullDeck[] = { 42, 17, 43, 10, 43, 9, 15, 50, 42, 49 };
    const int oddCardsLeft[] = { 19, 17, 43, 1, 43, 9, 15, 21, 23, 49 };
    for (int i = 0; i < 10; ++i) {
        for (bool evensOut : {false, true}) {
            VideoPokerGame game;
            InitFreshGame(game);
            for (int c = 0; evensOut && c < DeckSize; c += 2)
                game.dealt[c] = 1;
            SeedRandom(seeds[i]);
            EXPECT_EQ(PickCard(game), evensOut ? oddCardsLeft[i] : fullDeck[i]) << "seed " << seeds[i];
        }
    }
}

// Only a damaged block marks the whole deck out; the pick must still end, and with a card not on show.
TEST(PickCard, AnExhaustedDeckGivesACardNotOnShow)
{
    VideoPokerGame game;
    InitFreshGame(game);
    memset(game.dealt, 1, sizeof game.dealt);
    const Card onShow[HandSize] = { 3, 17, 29, 40, 51 };
    memcpy(game.card, onShow, sizeof onShow);
    SeedRandom(5);
    Card c = PickCard(game);
    ASSERT_LT(c, DeckSize);
    for (Card shown : onShow) {
        EXPECT_NE(c, shown);
        EXPECT_EQ(game.dealt[shown], 1) << "a card on show went back into the deck";
    }
    EXPECT_EQ(game.dealt[c], 1);
    EXPECT_EQ(std::count(game.dealt, game.dealt + DeckSize, 1), HandSize + 1);

    memset(game.dealt, 1, sizeof game.dealt);          // non-cards on show: nothing to keep out
    memset(game.card, 0xFF, sizeof game.card);
    EXPECT_LT(PickCard(game), DeckSize);
    EXPECT_EQ(std::count(game.dealt, game.dealt + DeckSize, 1), 1);
}

}  // namespace
