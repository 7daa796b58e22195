// advice.h: hold advice and play statistics for a Video Poker tool, read from its saved block.
#pragma once

#include "analysis/analysis.h"
#include "analysis/weighted_analysis.h"
#include "analysis/cards.h"   // CardName, HeldNames

#include <cstddef>
#include <string>
#include <vector>

// A saved block is a Video Poker game when it is exactly the 72 bytes of one.
bool ReadGameBlock(const void *block, size_t size, VideoPokerGame *game);

int HeldMaskOf(const VideoPokerGame &game);                        // bit i: card i is held
std::string DescribeHold(const Card cards[HandSize], int heldMask); // "hold KS QS JS TS, draw 1"

// Every text and verdict below values holds by a dealing: machine, the weighted tables of this machine's
// dealing built for the hand's coins, or null for an even deck; each says which.
const char *DealingName(const WeightedTables *machine);   // "this machine" or "even deck"

// The 32 holds best first, as AnalyzeHolds, under the dealing (values without an exact fraction then:
// numerator and denominator 0).
bool RankHolds(const AnalysisTables &tables, const WeightedTables *machine, const Card cards[HandSize], int coins,
               HoldValue ranked[HoldCount]);

// For a hand waiting for the draw: the best hold and what it returns, what the player's holds cost,
// card by card, and the holds ranked. Lines end in '\n'.
std::string HintText(const AnalysisTables &tables, const VideoPokerGame &game, const WeightedTables *machine = nullptr);

// For the trainer: what holding heldMask on these cards costs against the best hold, in coins for
// the coins bet (0 when it is as good as the best), and one line that names the best hold and the cost.
// False when the hand cannot be analysed (a wager of 0, cards that are not a hand).
bool JudgeHold(const AnalysisTables &tables, const Card cards[HandSize], int heldMask, int coins, double *cost,
               std::string *verdict, const WeightedTables *machine = nullptr);

// A hand seen from its deal to its draw.
struct PlayedHand {
    Card cards[HandSize];         // as dealt
    uint8_t heldMask;             // the holds at the draw, bit i for position i
    int32_t wager;
    int32_t paid;
};

// What the host has seen of one tool's game.
struct GameWatch {
    bool seen = false;
    VideoPokerGame last = {};
    std::vector<PlayedHand> hands;
    int abandonedHands = 0;       // hands ended by New Game before their draw
    int64_t abandonedCoins = 0;   // the coins those hands had bet
};

// Compares the block now with the one seen last and records a hand that ended since. It must see
// every change of the game to know the holds at the draw: call it after each input to the tools.
void ObserveGame(GameWatch &watch, const VideoPokerGame &now);

struct PlaySummary {
    int hands = 0;
    int64_t coinsBet = 0;
    int64_t coinsWon = 0;
    double yourHoldsWorth = 0;    // coins the holds taken return on average, summed over the hands
    double bestHoldsWorth = 0;    // the same for the best holds of the same deals
    int bestHoldTaken = 0;        // hands held as well as they could be
    int mistakes = 0;             // hands held worse than the best
    double mistakesCost = 0;      // coins those holds gave up on average: bestHoldsWorth - yourHoldsWorth
};

// The dealing the hands of a summary are valued by: the machine's tables by coins (1..5), or null.
using DealingTables = const WeightedTables *(*)(int coins);
// Adds the hands drawn since summary last caught up, so each hand is analysed once however often
// the statistics are shown.
void CatchUpSummary(const AnalysisTables &tables, const GameWatch &watch, PlaySummary &summary,
                    DealingTables machine = nullptr);

// The statistics view: hands, coins, the actual return beside what the holds were worth and the
// return of optimal play over every deal (per coin bet, for 5 coins and for 1 to 4).
std::string StatisticsText(const std::string &title, const GameWatch &watch, const PlaySummary &summary,
                           double optimalFiveCoins, double optimalFewerCoins, const char *dealing = "even deck");
