// slow_poker.h: the hand rule written out plainly, and holds valued by dealing every possible draw.
#pragma once

#include "engine/analysis.h"

#include <cstring>

// "AS", "TD", "2C": rank letter then suit letter.
inline Card CardOf(const char *name)
{
    const char *ranks = "23456789TJQKA";
    const char *suits = "CDHS";
    return static_cast<Card>((strchr(suits, name[1]) - suits) * 13 + (strchr(ranks, name[0]) - ranks));
}

// Counters per suit and per rank, tested in the rule's own order.
inline HandRank SlowEvaluate(const Card cards[HandSize])
{
    int suitCount[4] = {};
    int rankCount[13] = {};
    for (int i = 0; i < HandSize; ++i) {
        ++suitCount[cards[i] / 13];
        ++rankCount[cards[i] % 13];
    }
    bool isFlush = suitCount[0] == 5 || suitCount[1] == 5 || suitCount[2] == 5 || suitCount[3] == 5;
    int low = 0;
    while (rankCount[low] == 0)
        ++low;
    bool isStraight = false;
    if (low < 9) {
        isStraight = true;
        for (int rank = low + 1; rank <= low + 4; ++rank)
            isStraight = isStraight && rankCount[rank] == 1;
    }
    if (rankCount[12] == 1 && rankCount[0] == 1 && rankCount[1] == 1 && rankCount[2] == 1 && rankCount[3] == 1)
        isStraight = true;
    if (isFlush && isStraight)
        return low == 8 ? 1 : 2;
    int threes = 0, pairs = 0, firstPair = -1, secondPair = -1;
    for (int rank = 0; rank < 13; ++rank) {
        if (rankCount[rank] == 4)
            return 3;
        if (rankCount[rank] == 3)
            ++threes;
        if (rankCount[rank] == 2) {
            (firstPair < 0 ? firstPair : secondPair) = rank;
            ++pairs;
        }
    }
    if (threes && pairs)
        return 4;
    if (isFlush)
        return 5;
    if (isStraight)
        return 6;
    if (threes)
        return 7;
    if (secondPair > firstPair)
        return 8;
    if (pairs == 1 && firstPair >= 9)
        return 9;
    return 0;
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
        ++counts[SlowEvaluate(hand)];
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
