// analysis.h: exact expected returns of the 32 holds of a dealt hand, and of optimal play over every deal.
#pragma once

#include "engine/game.h"

constexpr int HoldCount = 32;               // every subset of the five cards
constexpr int HandRankCount = 10;           // NoHand .. JacksOrBetter
constexpr int DealCount = 2598960;          // C(52, 5)
constexpr int DealClassCount = 134459;      // deals that differ other than by renaming suits
constexpr int64_t DrawDenominator = 7669695;   // 5 * C(47, 5): a multiple of C(47, k) for every k

// DrawDenominator / C(47, cardsDrawn): brings a sum over the draws of a hold to DrawDenominator.
constexpr int64_t DrawScale(int cardsDrawn)
{
    constexpr int64_t draws[HandSize + 1] = { 1, 47, 1081, 16215, 178365, 1533939 };   // C(47, k)
    return DrawDenominator / draws[cardsDrawn];
}

// For every set of up to four cards, how many five-card hands that contain it end in each HandRank.
// Built once (tens of milliseconds, about 3.5 MB); analyses only read it, so threads may share it.
struct AnalysisTables;

AnalysisTables *CreateAnalysisTables(int threads);   // null when memory runs out
void FreeAnalysisTables(AnalysisTables *tables);

// The rule of EvaluateCards for five distinct cards, by bit tricks instead of counters.
HandRank ClassifyCards(const Card cards[HandSize]);

// C(n, k) for 0 <= n <= 52 and 0 <= k <= 5; 0 outside.
int64_t Choose(int n, int k);

struct HoldValue {
    uint8_t heldMask;                        // bit i set: position i stays at the draw
    uint8_t cardsDrawn;                      // 5 - cards held
    int64_t numerator;                       // coins paid, summed over every possible draw
    int64_t denominator;                     // the possible draws: C(47, cardsDrawn)
    double expectedReturn;                   // numerator / denominator: coins back for the coins bet
    uint32_t finalHands[HandRankCount];      // draws ending in each HandRank; they add up to denominator
};

// True when a is the better hold: the higher value; on equal values the hold that keeps more cards,
// then the lower heldMask.
bool RanksBefore(const HoldValue &a, const HoldValue &b);

// The 32 holds of the hand, best first. False, and nothing written, when a card is above 51 or
// repeated, or coins is not 1..5.
bool AnalyzeHolds(const AnalysisTables &tables, const Card cards[HandSize], int coins,
                  HoldValue ranked[HoldCount]);

// The entry of ranked that holds exactly heldMask; null when there is none.
const HoldValue *FindHold(const HoldValue ranked[HoldCount], int heldMask);

// One deal per class of deals that differ only by renaming suits, and how many deals it stands for.
struct DealClass {
    Card cards[HandSize];                    // ascending
    uint8_t deals;                           // 1..24
};

// Writes every class into classes (room for DealClassCount) and returns how many it wrote.
int ListDealClasses(DealClass *classes);

// A deal that stands for the deals of its class that a symmetry carries into it.
struct ClassDeal {
    Card sorted[HandSize];     // its cards ascending
    uint8_t toSorted[HandSize];   // for each of the class's cards, its position among them
    uint8_t deals;             // how many deals it stands for
};

// Renamings of the suits (suit s becomes map[s]) that a dealing cannot tell apart: with an even deck all
// 24, with the machine's weights those that keep every card's weight (the diamonds and hearts swapped).
struct SuitSymmetry {
    int count;
    uint8_t order[24];   // each renaming, as its number among the 24 orders of the suits
};

// Optimal play over every deal, each deal equally likely, as exact fractions over one denominator.
struct GameAnalysis {
    int coins;
    uint64_t denominator;                    // DealCount * DrawDenominator = 19,933,230,517,200
    uint64_t paidNumerator;                  // coins paid for a bet of `coins`, over denominator
    uint64_t finalHands[HandRankCount];      // weight of each final HandRank, over denominator
    double returnRate;                       // paidNumerator / (coins * denominator)
};

// False when coins is not 1..5 or memory runs out. threads: how many to use; 1 runs on the caller's.
bool AnalyzeGame(const AnalysisTables &tables, int coins, int threads, GameAnalysis &result);

uint64_t GreatestCommonDivisor(uint64_t a, uint64_t b);
