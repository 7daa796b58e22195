// record_test.cpp: the 72-byte record: its layout, a fresh game, and taking back saved blocks.
#include "engine/game.h"
#include "tests/common/hands.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstring>
#include <random>

namespace {

// A byte, or a 32-bit field at 64 or 68.
void WriteField(std::vector<uint8_t> &bytes, int offset, int32_t value)
{
    for (int i = 0; i < (offset >= 64 ? 4 : 1); ++i)
        bytes[offset + i] = static_cast<uint8_t>(static_cast<uint32_t>(value) >> (8 * i));
}

// The ten to ace of spades on show, none of them out, 100 credits, whatever the record held before.
TEST(InitGameRecord, AnyOtherSizeOrNoBlockGivesAFreshGame)
{
    VideoPokerGame fresh = {};
    for (int i = 0; i < HandSize; ++i)
        fresh.card[i] = static_cast<Card>(47 + i);
    fresh.handComplete = 1;
    fresh.credits = 100;
    std::vector<uint8_t> block(80, 0x01);             // every flag set, the three of clubs everywhere
    WriteField(block, 64, 2);
    WriteField(block, 68, 777);
    for (size_t size : {size_t(0), size_t(1), size_t(71), size_t(73), size_t(80), size_t(72)}) {
        VideoPokerGame game;
        memset(&game, 0x5A, sizeof game);
        InitGameRecord(game, size == 72 ? nullptr : block.data(), size);   // 72 with no block
        EXPECT_EQ(BytesOf(game), BytesOf(fresh)) << size;
    }
}

// Random blocks whose every field is in range, whatever the invariants of play say, go in unchanged,
// the reserved byte included, whether a tool is created with them or restored. Damage to one field of
// such a block brings that field alone into range, keeping the purse: a nonzero flag stays set, a wager
// comes to the nearer end of 0..5, a negative purse becomes empty.
TEST(RestoreGameRecord, BlocksInRangeAreTakenUnchangedAndADamagedFieldAloneIsRepaired)
{
    const struct { int offset; int32_t value, repaired; } damage[] = {
        {4, 255, 1}, {10 + 30, 7, 1}, {62, 128, 1}, {64, INT32_MIN, 0}, {64, 6, MaxWager}, {68, -1, 0}};
    std::mt19937 random(2024);
    for (int n = 0; n < 20000; ++n) {
        std::vector<uint8_t> block(GameRecordSize);
        for (int i = 0; i < 62; ++i)
            block[i] = static_cast<uint8_t>(random() % 2);
        for (int i = 5; i < 10; ++i) {
            do
                block[i] = static_cast<uint8_t>(random() % 52);
            while (std::find(&block[5], &block[i], block[i]) != &block[i]);
        }
        block[62] = static_cast<uint8_t>(random() % 2);
        block[63] = static_cast<uint8_t>(random());
        WriteField(block, 64, static_cast<int32_t>(random() % 6));
        WriteField(block, 68, n % 3 == 0 ? INT32_MAX - n : static_cast<int32_t>(random() % 100000));
        VideoPokerGame game;
        InitFreshGame(game);
        RestoreGameRecord(game, block.data());
        ASSERT_EQ(BytesOf(game), block) << "block " << n;
        VideoPokerGame created;
        memset(&created, 0, sizeof created);
        InitGameRecord(created, block.data(), 72);
        ASSERT_EQ(BytesOf(created), block) << "block " << n;
        EXPECT_FALSE(RepairGameRecord(game));

        const auto &d = damage[n / 2 % 6];
        std::vector<uint8_t> repaired = block;
        WriteField(block, d.offset, d.value);
        WriteField(repaired, d.offset, d.repaired);
        if (n % 2)
            RestoreGameRecord(game, block.data());
        else
            InitGameRecord(game, block.data(), 72);
        ASSERT_EQ(BytesOf(game), repaired) << "block " << n << ", damaged at " << d.offset;
    }
}

// A card shown twice would pay as a pair: the second copy is replaced like a non-card.
TEST(RestoreGameRecord, NonCardsAndDoubledCardsBecomeDistinctCardsMarkedOutWhileAHandWaits)
{
    VideoPokerGame block = {}, game;                  // a hand waiting for the draw
    const uint8_t cards[5] = { 0, 255, 1, 48, 1 };   // the lowest cards already on show
    memcpy(block.card, cards, 5);
    block.dealt[0] = block.dealt[1] = block.dealt[48] = 1;
    RestoreGameRecord(game, &block);
    for (int i = 0; i < HandSize; ++i) {
        ASSERT_LT(game.card[i], DeckSize);
        EXPECT_EQ(game.dealt[game.card[i]], 1) << "position " << i;
        for (int j = 0; j < i; ++j)
            EXPECT_NE(game.card[i], game.card[j]);
    }
    EXPECT_EQ(game.card[0], 0);
    EXPECT_EQ(game.card[2], 1);
    EXPECT_EQ(game.card[3], 48);
}

}  // namespace
