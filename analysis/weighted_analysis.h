// weighted_analysis.h: the return of optimal play when some cards come out more often than others.
#pragma once

#include "analysis/analysis.h"

// The machine's card pick: how many of the generator's 32768 values land on each card. The two of
// clubs and the ace of spades get 322, the other cards 642 or 643.
void MachineCardWeights(uint32_t weight[DeckSize]);

// Cards are dealt one at a time, each card still in the deck coming out with a chance in proportion
// to its weight, the deal's cards staying out of the draw. At most three different weights.
struct WeightedTables;

// Null when a weight is 0, there are more than three different weights, coins is not 1..5, or memory
// runs out.
WeightedTables *CreateWeightedTables(const uint32_t weight[DeckSize], int coins, int threads);
void FreeWeightedTables(WeightedTables *tables);

// The chance that the five cards are the deal, in any order.
long double DealChance(const WeightedTables &tables, const Card cards[HandSize]);

// value[m]: coins paid on average when the cards at the positions of mask m stay. False when a card
// is above 51 or repeated.
bool WeightedHoldValues(const WeightedTables &tables, const Card cards[HandSize], long double value[HoldCount]);

struct WeightedGameAnalysis {
    int coins;
    long double dealChance;                 // the chances of all deals added up: 1 but for rounding
    long double optimalReturn;              // coins back per coin bet, holding what is best here
    long double evenDeckPlayReturn;         // the same dealing, holding what is best for an even deck
    long double evenDeckReturn;             // an even deck, played best: a check on the arithmetic
    uint32_t dealsHeldDifferently;          // deals whose best hold here is worth more than the even-deck one
};

bool AnalyzeWeightedGame(const WeightedTables &tables, int threads, WeightedGameAnalysis &result);
