// record_test.cpp: the 72-byte record: its layout, a fresh game, and taking back saved blocks.
#include "engine/game.h"
#include "tests/common/hands.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstring>
#include <random>

namespace {

void WriteInt32(std::vector<uint8_t> &bytes, int offset, int32_t value)
{
    for (int i = 0; i < 4; ++i)
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
    WriteInt32(block, 64, 2);
    WriteInt32(block, 68, 777);
    for (size_t size : {size_t(0), size_t(1), size_t(71), size_t(73), size_t(80), size_t(72)}) {
        VideoPokerGame game;
        memset(&game, 0x5A, sizeof game);
        InitGameRecord(game, size == 72 ? nullptr : block.data(), size);   // 72 with no block
        EXPECT_EQ(BytesOf(game), BytesOf(fresh)) << size;
    }
}

// A block in range, written as play leaves it mid-hand, with a reserved byte the engine never reads.
std::vector<uint8_t> WaitingHandBlock()
{
    const char *const jacks[HandSize] = {"JC", "JD", "JH", "JS", "4C"};
    VideoPokerGame game = WaitingHand(jacks, 4, "x.xx.", 1234);
    game.reserved = 0xC3;
    return BytesOf(game);
}

// Random blocks whose every field is in range, whatever the invariants of play say, go in unchanged,
// the reserved byte included, whether a tool is created with them or restored.
TEST(RestoreGameRecord, EveryBlockInRangeIsTakenUnchanged)
{
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
        WriteInt32(block, 64, static_cast<int32_t>(random() % 6));
        WriteInt32(block, 68, n % 3 == 0 ? INT32_MAX - n : static_cast<int32_t>(random() % 100000));
        VideoPokerGame game;
        InitFreshGame(game);
        RestoreGameRecord(game, block.data());
        ASSERT_EQ(BytesOf(game), block) << "block " << n;
        VideoPokerGame created;
        memset(&created, 0, sizeof created);
        InitGameRecord(created, block.data(), 72);
        ASSERT_EQ(BytesOf(created), block) << "block " << n;
        EXPECT_FALSE(RepairGameRecord(game));
    }
}

// Damage to one field: that field is brought into range, and all else is kept.
TEST(RestoreGameRecord, DamagedFieldsAreRepairedAndThePurseKept)
{
    const struct {
        const char *what;
        int offset;
        int32_t value;                // a byte, or a 32-bit field at 64 or 68
    } cases[] = {
        {"hold flag 255", 4, 255},
        {"dealt flag 7", 10 + 30, 7},
        {"hand-complete flag 128", 62, 128},
        {"wager INT_MIN", 64, INT32_MIN},
        {"wager 6", 64, 6},
        {"credits -1", 68, -1},
    };
    for (const auto &d : cases) {
        SCOPED_TRACE(d.what);
        std::vector<uint8_t> block = WaitingHandBlock();
        if (d.offset >= 64)
            WriteInt32(block, d.offset, d.value);
        else
            block[d.offset] = static_cast<uint8_t>(d.value);
        VideoPokerGame game;
        InitFreshGame(game);
        RestoreGameRecord(game, block.data());
        std::vector<uint8_t> bytes = BytesOf(game);
        const int width = d.offset >= 64 ? 4 : 1;
        for (int i = 0; i < GameRecordSize; ++i)
            ASSERT_TRUE(bytes[i] == block[i] || (i >= d.offset && i < d.offset + width)) << "byte " << i << " changed";
        EXPECT_TRUE(d.offset > 62 || bytes[d.offset] == 1) << "a nonzero flag keeps its meaning";
        EXPECT_TRUE(d.offset != 64 || game.wager == (d.value < 0 ? 0 : MaxWager)) << game.wager;
        EXPECT_EQ(game.credits, d.offset == 68 ? 0 : 1234) << "a negative purse becomes empty";
    }
}

// A card shown twice would pay as a pair: the second copy is replaced like a non-card.
TEST(RestoreGameRecord, NonCardsAndDoubledCardsBecomeDistinctCardsMarkedOutWhileAHandWaits)
{
    std::vector<uint8_t> block = WaitingHandBlock();
    const uint8_t cards[5] = { 0, 255, 1, 48, 1 };   // the lowest cards already on show
    memcpy(&block[5], cards, 5);
    memset(&block[10], 0, DeckSize);
    block[10 + 0] = block[10 + 1] = block[10 + 48] = 1;
    VideoPokerGame game;
    InitFreshGame(game);
    RestoreGameRecord(game, block.data());
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
