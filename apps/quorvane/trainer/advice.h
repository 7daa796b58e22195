// advice.h: hold advice and play statistics for a Video Poker tool, read from its saved block.
#pragma once

#include "analysis/analysis.h"
#include "analysis/weighted_analysis.h"
#include "analysis/cards.h"   // CardName, HeldNames
#include "apps/quorvane/trainer/trainer_log.h"   // PlayedHand, PlaySummary, JudgedHand

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

extern const char NoHandToHint[];   // the hint between hands
// For a hand waiting for the draw: the best hold and what it returns, what the player's holds cost,
// card by card, and the holds ranked. Lines end in '\n'.
std::string HintText(const AnalysisTables &tables, const VideoPokerGame &game, const WeightedTables *machine = nullptr);

struct StrategyChart;
// A mistake's kind, at the level of the chart's lines: 'Held "KQJ unsuited" instead of "4 to a royal
// flush"'; a hold that is no line of the chart is told by its count of cards.
std::string MistakeKind(const StrategyChart &chart, const Card cards[HandSize], int heldMask, int bestMask);

// For the trainer: what holding heldMask on these cards costs against the best hold, in coins for
// the coins bet (0 when it is as good as the best), and one line that names the best hold and the cost.
// False when the hand cannot be analysed (a wager of 0, cards that are not a hand).
bool JudgeHold(const AnalysisTables &tables, const Card cards[HandSize], int heldMask, int coins, double *cost,
               std::string *verdict, const WeightedTables *machine = nullptr);
// That line for a hand valued: "Correct (even deck): hold ..." or "Mistake (this machine): best ...".
std::string VerdictText(const JudgedHand &judged);

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

// Values the hand's holds under the dealing (machine: its tables for the hand's coins, or null).
JudgedHand JudgeHand(const AnalysisTables &tables, const PlayedHand &hand, const WeightedTables *machine);

// The statistics view: hands, coins, the actual return beside what the holds were worth (valuedBy: the
// dealings the hands were judged by) and the return of optimal play over every deal under the dealing
// in force (per coin bet, for 5 coins and for 1 to 4; negative: not worked out yet).
std::string StatisticsText(const std::string &title, const GameWatch &watch, const PlaySummary &summary,
                           double optimalFiveCoins, double optimalFewerCoins, const char *dealing = "even deck",
                           const char *valuedBy = "even deck");
