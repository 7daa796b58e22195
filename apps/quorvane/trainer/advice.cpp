// advice.cpp: the hint's and the statistics view's texts, and following a tool's game from its blocks.
#include "apps/quorvane/trainer/advice.h"
#include "analysis/strategy_chart.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>

namespace {

constexpr int RankedHoldsShown = 8;

bool SameCards(const VideoPokerGame &a, const VideoPokerGame &b)
{
    return memcmp(a.card, b.card, sizeof a.card) == 0 && memcmp(a.dealt, b.dealt, sizeof a.dealt) == 0;
}

} // namespace

const char NoHandToHint[] = "No hand is waiting for the draw: deal, then ask for a hint.\n";

int HeldMaskOf(const VideoPokerGame &game)
{
    int mask = 0;
    for (int i = 0; i < HandSize; ++i)
        if (game.held[i] != 0)
            mask |= 1 << i;
    return mask;
}

namespace {

// "cards 1, 3, 4 and 5" for the positions of a mask, counted from the left as the player sees them.
std::string Positions(int heldMask)
{
    std::string text;
    int count = 0;
    for (int i = 0; i < HandSize; ++i)
        count += (heldMask >> i) & 1;
    int written = 0;
    for (int i = 0; i < HandSize; ++i) {
        if (!(heldMask & (1 << i)))
            continue;
        if (written > 0)
            text += written == count - 1 ? " and " : ", ";
        text += std::to_string(i + 1);
        ++written;
    }
    return (count == 1 ? "card " : "cards ") + text;
}

double Worth(const HoldValue &hold) { return hold.expectedReturn; }

// Equal values, exactly: holding four of a kind and its kicker is as good as drawing to the four. Values
// of a weighted dealing have no exact fraction: equal there is within rounding.
bool WorthTheSame(const HoldValue &a, const HoldValue &b)
{
    if (a.denominator == 0 || b.denominator == 0)
        return std::fabs(a.expectedReturn - b.expectedReturn) < 1e-9;
    return a.numerator * b.denominator == b.numerator * a.denominator;
}

} // namespace

const char *DealingName(const WeightedTables *machine)
{
    return machine ? "this machine" : "even deck";
}

bool RankHolds(const AnalysisTables &tables, const WeightedTables *machine, const Card cards[HandSize], int coins,
               HoldValue ranked[HoldCount])
{
    long double value[HoldCount];
    if (!AnalyzeHolds(tables, cards, coins, ranked) || (machine && !WeightedHoldValues(*machine, cards, value)))
        return false;
    if (!machine)
        return true;
    for (int i = 0; i < HoldCount; ++i) {
        ranked[i].expectedReturn = static_cast<double>(value[ranked[i].heldMask]);
        ranked[i].numerator = ranked[i].denominator = 0;
    }
    // As RanksBefore: the higher value, then the hold that keeps more cards, then the lower mask.
    std::sort(ranked, ranked + HoldCount, [](const HoldValue &a, const HoldValue &b) {
        if (!WorthTheSame(a, b))
            return a.expectedReturn > b.expectedReturn;
        return a.cardsDrawn != b.cardsDrawn ? a.cardsDrawn < b.cardsDrawn : a.heldMask < b.heldMask;
    });
    return true;
}

bool ReadGameBlock(const void *block, size_t size, VideoPokerGame *game)
{
    if (!block || size != sizeof(VideoPokerGame))
        return false;
    memcpy(game, block, sizeof(VideoPokerGame));
    return true;
}

std::string DescribeHold(const Card cards[HandSize], int heldMask)
{
    int held = 0;
    for (int i = 0; i < HandSize; ++i)
        held += (heldMask >> i) & 1;
    if (held == 0)
        return "hold nothing, draw five";
    if (held == HandSize)
        return "hold all five (" + HeldNames(cards, heldMask) + "), draw none";
    return "hold " + HeldNames(cards, heldMask) + ", draw " + std::to_string(HandSize - held);
}

bool JudgeHold(const AnalysisTables &tables, const Card cards[HandSize], int heldMask, int coins, double *cost,
               std::string *verdict, const WeightedTables *machine)
{
    PlayedHand hand = {};
    std::copy(cards, cards + HandSize, hand.cards);
    hand.heldMask = static_cast<uint8_t>(heldMask & ((1 << HandSize) - 1));
    hand.wager = coins;
    const JudgedHand judged = JudgeHand(tables, hand, machine);
    if (!judged.analysed)
        return false;
    *cost = judged.isMistake ? judged.bestWorth - judged.yourWorth : 0.0;
    *verdict = VerdictText(judged);
    return true;
}

std::string VerdictText(const JudgedHand &judged)
{
    // Short enough for the status line: the cards, the two worths and the cost.
    const char *dealing = judged.evenDeck ? "even deck" : "this machine";
    const Card *cards = judged.hand.cards;
    if (!judged.isMistake)
        return std::string("Correct (") + dealing + "): " + DescribeHold(cards, judged.hand.heldMask) + ".";
    return FormatText("Mistake (%s): best %s %.2f coins, yours %s %.2f, cost %.2f.", dealing,
                      HeldNames(cards, judged.bestMask).c_str(), judged.bestWorth,
                      HeldNames(cards, judged.hand.heldMask).c_str(), judged.yourWorth,
                      judged.bestWorth - judged.yourWorth);
}

namespace {

// The first line of the chart whose hold on these cards is exactly the mask, or null.
const ChartLine *ChartLineHolding(const StrategyChart &chart, const Card cards[HandSize], int mask)
{
    StrategyChart one;   // FollowChart asks a one-line chart whether that line fits the hand, and its hold
    one.lines.resize(1);
    for (const ChartLine &line : chart.lines) {
        one.lines[0].pattern = line.pattern;
        int held = -1;
        if (FollowChart(one, cards, &held) == 0 && held == mask)
            return &line;
    }
    return nullptr;
}

int CardsIn(int mask)
{
    int count = 0;
    for (int i = 0; i < HandSize; ++i)
        count += (mask >> i) & 1;
    return count;
}

} // namespace

std::string MistakeKind(const StrategyChart &chart, const Card cards[HandSize], int heldMask, int bestMask)
{
    const ChartLine *held = ChartLineHolding(chart, cards, heldMask), *best = ChartLineHolding(chart, cards, bestMask);
    const int count = CardsIn(heldMask);
    return "Held " + (held ? "\"" + held->text + "\"" : std::to_string(count) + (count == 1 ? " card" : " cards")) +
           " instead of " + (best ? "\"" + best->text + "\"" : "a hold of " + std::to_string(CardsIn(bestMask)) + " cards");
}

std::string HintText(const AnalysisTables &tables, const VideoPokerGame &game, const WeightedTables *machine)
{
    if (game.handComplete != 0)
        return NoHandToHint;
    HoldValue ranked[HoldCount];
    if (!RankHolds(tables, machine, game.card, game.wager, ranked))
        return "This hand cannot be analysed: its saved cards or wager are not a hand of this game.\n";

    std::string text = "Dealt ";
    for (int i = 0; i < HandSize; ++i)
        text += CardName(game.card[i]) + (i + 1 < HandSize ? " " : "");
    text += FormatText(", %d coin%s bet.\nValues for %s.\n\n", game.wager, game.wager == 1 ? "" : "s",
                   machine ? "this machine's own dealing (the 2C and AS come half as often)" : "an even deck");

    // The two holds side by side, card under card, before the words.
    const HoldValue &best = ranked[0];
    const int yourMask = HeldMaskOf(game);
    text += "         1   2   3   4   5\n";
    for (int row = 0; row < 2; ++row) {
        const int mask = row == 0 ? best.heldMask : yourMask;
        text += row == 0 ? "  Best " : "  Yours";
        text += "  " + HoldRow(game.card, mask, "  ") + "\n";
    }
    text += "\n";

    text += "Best: " + DescribeHold(game.card, best.heldMask);
    if (best.heldMask != 0)
        text += " (" + Positions(best.heldMask) + ")";
    text += FormatText(".\n  It returns %.4f coins on average", Worth(best));
    if (best.denominator != 0)
        text += FormatText(" (%lld/%lld)", static_cast<long long>(best.numerator), static_cast<long long>(best.denominator));
    text += FormatText(", %.4f a coin.\n", Worth(best) / game.wager);

    const HoldValue *yours = FindHold(ranked, yourMask);
    text += "\nYour holds now: " + DescribeHold(game.card, yourMask) + ".\n";
    if (WorthTheSame(best, *yours))
        text += "  They are as good as any: nothing to change.\n";
    else
        text += FormatText("  They return %.4f coins on average: %.4f coins less than the best.\n", Worth(*yours),
                       Worth(best) - Worth(*yours));

    text += "\nCard by card, from your holds (changing that card alone):\n";
    for (int i = 0; i < HandSize; ++i) {
        const HoldValue *changed = FindHold(ranked, yourMask ^ (1 << i));
        bool isHeld = (yourMask >> i) & 1;
        double gain = Worth(*changed) - Worth(*yours);
        text += FormatText("  %d %s  %-6s ", i + 1, CardName(game.card[i]).c_str(), isHeld ? "held:" : "drawn:");
        if (gain > 0)
            text += FormatText("%s it gains %.4f coins\n", isHeld ? "dropping" : "keeping", gain);
        else
            text += FormatText("%s it would cost %.4f coins\n", isHeld ? "dropping" : "keeping", 0.0 - gain);
    }

    text += "\nHolds ranked (coins returned on average, and against the best):\n";
    for (int i = 0; i < RankedHoldsShown; ++i) {
        const HoldValue &hold = ranked[i];
        std::string line = FormatText("  %d. %-42s %10.4f", i + 1, DescribeHold(game.card, hold.heldMask).c_str(),
                                  Worth(hold));
        if (i > 0)
            line += FormatText("  %+10.4f", Worth(hold) - Worth(best));
        if (hold.heldMask == yourMask)
            line += "  <- yours";
        text += line + "\n";
    }
    return text;
}

void ObserveGame(GameWatch &watch, const VideoPokerGame &now)
{
    if (!watch.seen) {
        watch.seen = true;
        watch.last = now;
        return;
    }
    const VideoPokerGame &before = watch.last;
    bool wasWaiting = before.handComplete == 0;
    bool isWaiting = now.handComplete == 0;
    if (wasWaiting && !isWaiting) {
        int heldMask = HeldMaskOf(before);
        int32_t paid = PayoutFor(EvaluateHand(now), before.wager);
        // New Game keeps the cards and the cards out; a draw replaces every card not held.
        bool isNewGame = SameCards(before, now) && heldMask != (1 << HandSize) - 1;
        bool isDraw = !isNewGame && now.wager == 0 && now.credits == before.credits + paid;
        if (isDraw) {
            PlayedHand hand;
            memcpy(hand.cards, before.card, sizeof hand.cards);
            hand.heldMask = static_cast<uint8_t>(heldMask);
            hand.wager = before.wager;
            hand.paid = paid;
            watch.hands.push_back(hand);
        } else if (isNewGame) {
            ++watch.abandonedHands;
            watch.abandonedCoins += before.wager;
        }
        // Anything else is a block the host restored, not play: nothing to count.
    }
    watch.last = now;
}

JudgedHand JudgeHand(const AnalysisTables &tables, const PlayedHand &hand, const WeightedTables *machine)
{
    JudgedHand judged;
    judged.hand = hand;
    judged.evenDeck = machine == nullptr;
    HoldValue ranked[HoldCount];
    if (!RankHolds(tables, machine, hand.cards, hand.wager, ranked))
        return judged;
    const HoldValue *taken = FindHold(ranked, hand.heldMask);
    judged.analysed = true;
    judged.bestMask = ranked[0].heldMask;
    judged.yourWorth = Worth(*taken);
    judged.bestWorth = Worth(ranked[0]);
    judged.isMistake = !WorthTheSame(ranked[0], *taken);
    return judged;
}

std::string StatisticsText(const std::string &title, const GameWatch &watch, const PlaySummary &summary,
                           double optimalFiveCoins, double optimalFewerCoins, const char *dealing,
                           const char *valuedBy)
{
    std::string text = title + " this run (each hand valued as it was judged: " + valuedBy + ")\n";
    if (summary.hands == 0) {
        text += "No hand has been drawn since the host started.\n";
    } else {
        double bet = static_cast<double>(summary.coinsBet);
        text += FormatText("Hands played: %d\n", summary.hands);
        text += FormatText("Coins bet: %lld    won: %lld\n", static_cast<long long>(summary.coinsBet),
                       static_cast<long long>(summary.coinsWon));
        text += FormatText("Actual return: %.2f %%\n", 100.0 * summary.coinsWon / bet);
        text += FormatText("Your holds were worth %.2f %% on these deals; the best holds, %.2f %%.\n",
                       100.0 * summary.yourHoldsWorth / bet, 100.0 * summary.bestHoldsWorth / bet);
        text += FormatText("Best hold taken in %d of %d hands.\n", summary.bestHoldTaken, summary.hands);
        text += FormatText("Mistakes: %d, costing %.4f coins in all, %.4f a hand played.\n", summary.mistakes,
                       summary.mistakesCost, summary.mistakesCost / summary.hands);
    }
    if (watch.abandonedHands > 0)
        text += FormatText("Hands given up by New Game: %d (%lld coins).\n", watch.abandonedHands,
                       static_cast<long long>(watch.abandonedCoins));
    if (optimalFiveCoins < 0)
        text += FormatText("Optimal play over every deal (%s): its returns are being worked out (some\n"
                           "seconds) and will show here.\n", dealing);
    else
        text += FormatText("Optimal play over every deal (%s) returns %.2f %% with 5 coins bet,\n"
                           "%.2f %% with 1 to 4.\n",
                           dealing, 100.0 * optimalFiveCoins, 100.0 * optimalFewerCoins);
    return text;
}
