// slow_poker.h: card names, and holds valued by dealing every possible draw.
#pragma once

#include "engine/analysis.h"
#include "tests/common/hands.h"

#include <cstring>

inline void DealOf(const char *const names[HandSize], Card deal[HandSize])
{
    for (int i = 0; i < HandSize; ++i)
        deal[i] = CardOf(names[i]);
}

// Deals every draw for one hold: the kept cards of the deal plus each set of replacements from the
// 47 cards the deal left in the deck. Returns the number of draws; counts[h] the draws ending in h.
inline int64_t CountEveryDraw(const Card deal[HandSize], int heldMask, int64_t counts[HandRankCount])
{
    memset(counts, 0, sizeof(int64_t) * HandRankCount);
    Card deck[DeckSize];
    int deckSize = 0;
    for (int card = 0; card < DeckSize; ++card) {
        bool isDealt = false;
        for (int i = 0; i < HandSize; ++i)
            isDealt = isDealt || deal[i] == card;
        if (!isDealt)
            deck[deckSize++] = static_cast<Card>(card);
    }
    Card hand[HandSize];
    int kept = 0;
    for (int i = 0; i < HandSize; ++i)
        if (heldMask & (1 << i))
            hand[kept++] = deal[i];
    int drawn = HandSize - kept;
    int pick[HandSize] = { 0, 1, 2, 3, 4 };   // indices into deck, increasing
    int64_t draws = 0;
    for (;;) {
        for (int j = 0; j < drawn; ++j)
            hand[kept + j] = deck[pick[j]];
        ++counts[ClassifyCards(hand)];
        ++draws;
        int j = drawn - 1;
        while (j >= 0 && pick[j] == deckSize - drawn + j)
            --j;
        if (j < 0)
            return draws;
        ++pick[j];
        for (int k = j + 1; k < drawn; ++k)
            pick[k] = pick[k - 1] + 1;
    }
}
