// hands.h: cards and hands written as a player reads them, for the tests of every folder.
#pragma once

#include <cctype>
#include <cstring>
#include "engine/game.h"

// "AS", "Td", "2c": a rank of 23456789TJQKA, then a suit of CDHS in either case.
inline Card CardOf(const char *name)
{
    const char *ranks = "23456789TJQKA", *suits = "CDHS";
    const char suit = static_cast<char>(std::toupper(static_cast<unsigned char>(name[1])));
    return static_cast<Card>((std::strchr(suits, suit) - suits) * 13 + (std::strchr(ranks, name[0]) - ranks));
}

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
