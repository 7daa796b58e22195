// judged_hands.h: hands as the trainer judged them, written as cards, for the memory's tests.
#pragma once

#include "analysis/cards.h"
#include "apps/quorvane/trainer/trainer_log.h"

// cards as "AS KS QS JS 2D"; a mistake when the hold taken is worth less than the best.
inline JudgedHand Judged(const char *cards, int held, int best, int wager, int paid, double yours, double bestWorth)
{
    JudgedHand judged;
    for (int i = 0; i < HandSize; ++i)
        judged.hand.cards[i] = static_cast<Card>(ParseCard(cards + 3 * i, 2));
    judged.hand.heldMask = static_cast<uint8_t>(held);
    judged.hand.wager = wager;
    judged.hand.paid = paid;
    judged.analysed = true;
    judged.bestMask = static_cast<uint8_t>(best);
    judged.yourWorth = yours;
    judged.bestWorth = bestWorth;
    judged.isMistake = yours < bestWorth;
    return judged;
}
