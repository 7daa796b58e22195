// hands.h: cards and hands written as a player reads them, for the tests of every folder.
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <vector>
#include "analysis/cards.h"
#include "engine/game.h"

// "AS", "Td", "2c": the analysis's card names (analysis/cards.h), for the tests of every folder.
inline Card CardOf(const char *name) { return static_cast<Card>(ParseCard(name)); }

inline void DealOf(const char *const names[HandSize], Card deal[HandSize])
{
    for (int i = 0; i < HandSize; ++i)
        deal[i] = CardOf(names[i]);
}

// A block waiting for the draw, as a host restores it: the named cards out of the deck, held where
// holds has an 'x' ("xx.x.").
inline VideoPokerGame WaitingHand(const char *const names[HandSize], int wager, const char *holds, int credits = 50)
{
    VideoPokerGame game = {};
    for (int i = 0; i < HandSize; ++i) {
        game.card[i] = CardOf(names[i]);
        game.dealt[game.card[i]] = 1;
        game.held[i] = holds[i] == 'x';
    }
    game.wager = wager;
    game.credits = credits;
    return game;
}

// A game as the 72 bytes a host keeps, and back (a shorter block leaves the rest zero).
inline std::vector<uint8_t> BytesOf(const VideoPokerGame &game)
{
    const uint8_t *bytes = reinterpret_cast<const uint8_t *>(&game);
    return std::vector<uint8_t>(bytes, bytes + sizeof game);
}

inline VideoPokerGame GameOf(const std::vector<uint8_t> &block)
{
    VideoPokerGame game = {};
    memcpy(&game, block.data(), std::min(block.size(), sizeof game));
    return game;
}
