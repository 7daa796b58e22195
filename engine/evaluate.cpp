// evaluate.cpp: classifies a five-card hand and prices it from the pay table.
#include "engine/game.h"

#include <climits>

HandRank EvaluateHand(const VideoPokerGame &game)
{
    return EvaluateCards(game.card);
}

HandRank EvaluateCards(const Card cards[HandSize])
{
    int suitCount[4] = {};
    int rankCount[13] = {};
    for (int i = 0; i < HandSize; ++i) {
        if (cards[i] >= DeckSize)
            return NoHand;            // not a card: a damaged record pays nothing rather than read past the counters
        ++suitCount[SuitOf(cards[i])];
        ++rankCount[RankOf(cards[i])];
    }

    bool isFlush = false;
    for (int suit = 0; suit < 4; ++suit)
        if (suitCount[suit] == 5)
            isFlush = true;

    int low = 0;
    while (rankCount[low] == 0)
        ++low;
    bool isStraight = false;
    if (low < Jack) {
        isStraight = true;
        for (int rank = low + 1; rank <= low + 4; ++rank)
            if (rankCount[rank] != 1)
                isStraight = false;
    }
    if (rankCount[Ace] == 1 && rankCount[Two] == 1 && rankCount[Three] == 1 && rankCount[Four] == 1
        && rankCount[Five] == 1)
        isStraight = true;            // the ace counted low; no other wrap-around

    if (isFlush && isStraight)
        return low == Ten ? RoyalFlush : StraightFlush;

    bool hasFour = false, hasThree = false;
    int pairs = 0, firstPair = -1, lastPair = -1;
    for (int rank = 0; rank < 13; ++rank) {
        if (rankCount[rank] == 4)
            hasFour = true;
        if (rankCount[rank] == 3)
            hasThree = true;
        if (rankCount[rank] == 2) {
            ++pairs;
            if (firstPair < 0)
                firstPair = rank;
            lastPair = rank;
        }
    }
    if (hasFour)
        return FourOfAKind;
    if (hasThree && pairs > 0)
        return FullHouse;
    if (isFlush)
        return Flush;
    if (isStraight)
        return Straight;
    if (hasThree)
        return ThreeOfAKind;
    if (pairs > 0 && lastPair > firstPair)
        return TwoPair;
    if (pairs == 1 && firstPair >= Jack)
        return JacksOrBetter;
    return NoHand;
}

int32_t PayoutFor(HandRank rank, int32_t coins)
{
    static const int32_t perCoin[10] = { 0, 250, 50, 25, 9, 6, 4, 3, 2, 1 };
    if (rank < RoyalFlush || rank > JacksOrBetter)
        return 0;
    if (coins <= 0)
        return 0;                     // a damaged wager below zero must never take from the purse
    if (rank == RoyalFlush && coins == MaxWager)
        return 4000;
    int64_t payout = static_cast<int64_t>(perCoin[rank]) * coins;
    return payout > INT32_MAX ? INT32_MAX : static_cast<int32_t>(payout);
}
