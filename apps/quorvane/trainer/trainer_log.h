// trainer_log.h: what the trainer remembers across runs (play summaries, the mistakes, the hands for the
// credits graph), its text form, and the texts made from it. No window system here, so
// the native tests reach it.
#pragma once

#include "engine/game.h"

#include <cstddef>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

// A hand seen from its deal to its draw.
struct PlayedHand {
    Card cards[HandSize];         // as dealt
    uint8_t heldMask;             // the holds at the draw, bit i for position i
    int32_t wager;
    int32_t paid;
};

// A hand drawn and not yet valued: its facts, and the dealing in force when it was drawn.
struct HandToValue {
    int64_t id = 0;               // among the hands waiting, in the order they were drawn
    int toolNumber = 0;
    PlayedHand hand = {};
    bool evenDeck = false;
};

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

// A played hand with its holds valued under one dealing.
struct JudgedHand {
    PlayedHand hand = {};
    bool analysed = false;        // false: the hand could not be valued (it still counts its coins)
    uint8_t bestMask = 0;
    double yourWorth = 0, bestWorth = 0;
    bool isMistake = false;       // the hold taken is worth less than the best
    bool evenDeck = false;        // valued by an even deck rather than this machine's dealing
};

void AddToSummary(PlaySummary &summary, const JudgedHand &judged);

struct RememberedMistake {
    int toolNumber = 0;
    Card cards[HandSize] = {};    // as dealt
    uint8_t heldMask = 0, bestMask = 0;
    int32_t wager = 0;
    double cost = 0;              // coins given up on average against the best hold
    bool evenDeck = false;
};

// One hand drawn, for the graph of credits: what it won and what the best hold would have returned.
struct HandPoint {
    int toolNumber = 0;           // 0: a tool no longer on the panel
    int32_t wager = 0, paid = 0;
    double bestWorth = 0;
    bool evenDeck = false;
};

constexpr size_t MaxRememberedMistakes = 500;   // the newest; older ones are forgotten
constexpr size_t MaxHandPoints = 2000;

struct TrainerMemory {
    PlaySummary panel;                    // every hand drawn on the panel, tools removed since included
    std::map<int, PlaySummary> tools;     // by tool number, the tools on the panel
    std::vector<RememberedMistake> mistakes;   // oldest first
    std::vector<HandPoint> hands;              // oldest first
};

// Counts the hand for the panel and its tool; a mistake joins the log. The oldest go past the caps.
void Remember(TrainerMemory &memory, int toolNumber, const JudgedHand &judged);
// The tool left the panel: its own summary goes, its hands stay in the panel's.
void ForgetTool(TrainerMemory &memory, int toolNumber);

// printf into a string, for the texts of the trainer (a line of at most 255 characters).
std::string FormatText(const char *format, ...);

// The text form (an older host's "<panel file>.trainer", imported once; and the export): a version line,
// then one line per summary, hand and mistake; see trainer_log.cpp.
std::string FormatTrainerFile(const TrainerMemory &memory);
struct TrainerFileReport {
    int badLines = 0;             // lines skipped: garbled, cut short, out of range
    bool newerVersion = false;    // written by a newer program: nothing read
    bool empty = false;           // no byte at all
};
TrainerMemory ParseTrainerFile(const char *text, size_t size, TrainerFileReport *report);

// "Video Poker 2: 12 hands, ..." lines of a summary, for the statistics window.
std::string LifetimeText(const std::string &title, const PlaySummary &summary);

// The mistakes grouped by kind (kinds[i] names the kind of mistakes[i]), the kinds that cost most first,
// then the most frequent; in a kind, the newest first.
std::string MistakesText(const std::vector<RememberedMistake> &mistakes, const std::vector<std::string> &kinds);

// The credits over the hands of one tool (0: the whole panel), hand by hand from 0: as played, and had
// every deal taken its best hold. dealing: which dealing valued them ("this machine", "even deck", both).
void CreditSeries(const std::vector<HandPoint> &hands, int toolNumber, std::vector<double> *played,
                  std::vector<double> *perfect, std::string *dealing);
