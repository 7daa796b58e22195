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

// A deal's cards ascending, and where the rows of its sets are (bits of masks over that order).
struct DealSets {
    Card cards[HandSize];
    int32_t index[HoldCount];  // each set's row in the tables
    int8_t slot[HoldCount];    // and composition
    int dealSlot;             // the deal's composition
    int32_t made;             // what the five cards pay; -1 until asked
};
void ListDealSets(const WeightedTables &tables, const Card sorted[HandSize], DealSets &sets);
// A class's deals (ListClassDeals) and their sets, the first the class's own cards. Listing them asks for
// their rows: list a class while valuing the one before.
struct ClassDealSets {
    ClassDeal deals[24];
    DealSets sets[24];
    int count;
};
void ListClassDealSets(const WeightedTables &tables, const DealClass &dealClass, const SuitSymmetry &symmetry,
                       ClassDealSets &list);
long double DealChance(const WeightedTables &tables, const DealSets &sets);
// Coins paid on average when the cards of mask stay, worked out for that hold alone.
double HoldWorth(const WeightedTables &tables, DealSets &sets, int mask);
// Every hold at once, for when many are asked: what each pays over its draws by the composition of the
// final hand (the five-card compositions and one spare), then priced hold by hold.
constexpr int MaxAllLanes = 24;
void ValueAllHolds(const WeightedTables &tables, DealSets &sets, int32_t paid[HoldCount][MaxAllLanes]);
double PricedWorth(const WeightedTables &tables, const DealSets &sets, const int32_t paid[HoldCount][MaxAllLanes], int mask);
// For every hold of the deal's cards, what its draws pay in all: the even deck's numerators, alike for
// every renaming of the suits.
void EvenHoldsPaid(const WeightedTables &tables, DealSets &sets, int64_t paid[HoldCount]);
// At least HoldWorth, for a hold whose draws pay `paid` coins in all (its even deck numerator).
double HoldBound(const WeightedTables &tables, const DealSets &sets, int mask, int64_t paid);
// The least a hold of `kept` cards whose draws pay `paid` coins in all is worth on any deal.
double LeastWorth(const WeightedTables &tables, int kept, int64_t paid);
// The holds of a class (classPaid: each one's even numerator) that might be worth more than `floor` on
// some deal of it, but for those of skip (bits of masks): no draw is likelier than the likeliest of any
// deal. The likeliest to first, so a deal can stop at the first that cannot beat its best.
struct Rival {
    int mask;                // over the class's cards
    double bound;            // the most it is worth on any deal
};
int ListRivals(const WeightedTables &tables, const int64_t classPaid[HoldCount], uint32_t skip, double floor,
               Rival rivals[HoldCount]);
// The renamings of suits that keep every card's weight: the deals they carry into each other are alike.
const SuitSymmetry &WeightedSymmetry(const WeightedTables &tables);

struct WeightedGameAnalysis {
    int coins;
    long double dealChance;                 // the chances of all deals added up: 1 but for rounding
    long double optimalReturn;              // coins back per coin bet, holding what is best here
    long double evenDeckPlayReturn;         // the same dealing, holding what is best for an even deck
    long double evenDeckReturn;             // an even deck, played best: a check on the arithmetic
    uint32_t dealsHeldDifferently;          // deals whose best hold here is worth more than the even-deck one
};

bool AnalyzeWeightedGame(const WeightedTables &tables, int threads, WeightedGameAnalysis &result);
