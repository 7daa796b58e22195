// artwork.h: which card picture shows a card's rank and which its suit.
#pragma once

#include "engine/game.h"
#include "resources/resource_ids.h"

// Clubs and spades take the black figures, every other suit the red ones.
constexpr int RankArtworkOf(Card card)
{
    return ((card / 13 == Clubs || card / 13 == Spades) ? IDA_BLACK_RANK_FIRST : IDA_RED_RANK_FIRST) +
           card % 13;
}

constexpr int SuitArtworkOf(Card card) { return IDA_SUIT_FIRST + card / 13; }
