// game.cpp: the game record: a fresh game, and taking back the block the host saved.
#include "engine/game.h"

#include <cstring>

void InitFreshGame(VideoPokerGame &game)
{
    memset(&game, 0, sizeof game);
    for (int i = 0; i < HandSize; ++i)
        game.card[i] = static_cast<Card>(47 + i);   // ten to ace of spades, not marked dealt
    game.handComplete = 1;
    game.wager = 0;
    game.credits = FreshCredits;
}

void InitGameRecord(VideoPokerGame &game, const void *block, size_t size)
{
    if (block == nullptr || size != GameRecordSize) {
        InitFreshGame(game);
        return;
    }
    memcpy(&game, block, GameRecordSize);
    RepairGameRecord(game);
}

void RestoreGameRecord(VideoPokerGame &game, const void *block)
{
    memcpy(&game, block, GameRecordSize);
    RepairGameRecord(game);
}

static bool RepairFlag(uint8_t &flag)
{
    if (flag <= 1)
        return false;
    flag = 1;                         // every flag is tested against 0, so this keeps its meaning
    return true;
}

static bool IsOnShow(const VideoPokerGame &game, int card)
{
    for (int i = 0; i < HandSize; ++i)
        if (game.card[i] == card)
            return true;
    return false;
}

static bool IsShownBefore(const VideoPokerGame &game, int position)
{
    for (int i = 0; i < position; ++i)
        if (game.card[i] == game.card[position])
            return true;
    return false;
}

// Rejecting a damaged block would throw away the player's purse with it, so each field that lies
// outside its range is brought to the nearest sound value and everything else is kept.
bool RepairGameRecord(VideoPokerGame &game)
{
    bool changed = false;
    for (int i = 0; i < HandSize; ++i)
        changed |= RepairFlag(game.held[i]);
    for (int c = 0; c < DeckSize; ++c)
        changed |= RepairFlag(game.dealt[c]);
    changed |= RepairFlag(game.handComplete);

    for (int i = 0; i < HandSize; ++i) {
        if (game.card[i] < DeckSize && !IsShownBefore(game, i))
            continue;
        // Not a card at all, or one already on show (a doubled jack would pay as a pair): take
        // the lowest card not on show, and mark it out if a hand is in play so that the draw
        // cannot bring it back.
        int replacement = 0;
        while (IsOnShow(game, replacement))
            ++replacement;
        game.card[i] = static_cast<Card>(replacement);
        if (game.handComplete == 0)
            game.dealt[replacement] = 1;
        changed = true;
    }

    if (game.wager < 0) {
        game.wager = 0;               // a negative stake would take coins at the payout
        changed = true;
    } else if (game.wager > MaxWager) {
        game.wager = MaxWager;
        changed = true;
    }
    if (game.credits < 0) {
        game.credits = 0;
        changed = true;
    }
    return changed;
}
