// advice_test.cpp: the hint's text, and the statistics gathered by watching real games of the engine.
#include "apps/quorvane/trainer/advice.h"
#include "tests/common/hands.h"
#include "tests/engine/recording_view.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

class AdviceTest : public WithTestClock {
protected:
    static void SetUpTestSuite() { tables = CreateAnalysisTables(2); }
    static void TearDownTestSuite() { FreeAnalysisTables(tables); }
    static AnalysisTables *tables;
};

AnalysisTables *AdviceTest::tables = nullptr;

TEST_F(AdviceTest, HintNamesTheBestHoldAndWhatYoursCosts)
{
    const char *const names[HandSize] = { "KS", "9S", "QS", "JS", "AS" };
    VideoPokerGame game = WaitingHand(names, 5, "xxxxx");   // standing on the flush
    std::string hint = HintText(*tables, game);
    EXPECT_NE(hint.find("Dealt KS 9S QS JS AS, 5 coins bet."), std::string::npos) << hint;
    EXPECT_NE(hint.find("Best: hold KS QS JS AS, draw 1 (cards 1, 3, 4 and 5)."), std::string::npos) << hint;
    // 4 to a royal: 4000 once, 7 flushes of 30, 3 straights of 20, 12 pairs of 5, over 47 draws.
    EXPECT_NE(hint.find("(4330/47)"), std::string::npos) << hint;
    EXPECT_NE(hint.find("Your holds now: hold all five (KS 9S QS JS AS), draw none."), std::string::npos) << hint;
    char cost[128];
    snprintf(cost, sizeof cost, "%.4f coins less than the best", 4330.0 / 47 - 30);
    EXPECT_NE(hint.find(cost), std::string::npos) << hint;
    snprintf(cost, sizeof cost, "2 9S  held:  dropping it gains %.4f coins", 4330.0 / 47 - 30);
    EXPECT_NE(hint.find(cost), std::string::npos) << hint;
    EXPECT_NE(hint.find("1 KS  held:  dropping it would cost"), std::string::npos) << hint;
    EXPECT_NE(hint.find("<- yours"), std::string::npos);
    // The trainer's verdicts, short enough for the status line.
    double lost = 0;
    std::string verdict;
    ASSERT_TRUE(JudgeHold(*tables, game.card, 31, 5, &lost, &verdict));
    snprintf(cost, sizeof cost, "Mistake (even deck): best KS QS JS AS %.2f coins, yours KS 9S QS JS AS 30.00, cost %.2f.",
             4330.0 / 47, 4330.0 / 47 - 30);
    EXPECT_EQ(verdict, cost);
    ASSERT_TRUE(JudgeHold(*tables, game.card, 0x1D, 5, &lost, &verdict));
    EXPECT_EQ(verdict, "Correct (even deck): hold KS QS JS AS, draw 1.");
}

TEST_F(AdviceTest, TheMachinesDealingHasBestHoldsOfItsOwn)
{
    uint32_t weight[DeckSize];
    MachineCardWeights(weight);
    WeightedTables *machine = CreateWeightedTables(weight, 5, 2);
    ASSERT_NE(machine, nullptr);
    const char *const names[HandSize] = {"2C", "3C", "6C", "AD", "JH"};   // the light AS: the ace pairs less
    const VideoPokerGame game = WaitingHand(names, 5, "....x");
    double cost = 0;
    std::string verdict;
    ASSERT_TRUE(JudgeHold(*tables, game.card, 0x10, 5, &cost, &verdict, machine));
    EXPECT_EQ(verdict, "Correct (this machine): hold JH, draw 4.");
    ASSERT_TRUE(JudgeHold(*tables, game.card, 0x10, 5, &cost, &verdict));
    EXPECT_EQ(verdict.find("Mistake (even deck): best AD JH "), 0u) << verdict;
    std::string hint = HintText(*tables, game, machine);
    EXPECT_NE(hint.find("Values for this machine's own dealing"), std::string::npos) << hint;
    EXPECT_NE(hint.find("Best: hold JH, draw 4 (card 5).\n  It returns 2."), std::string::npos) << hint;
    FreeWeightedTables(machine);
}

TEST_F(AdviceTest, HintAgreesWhenTheHoldsAreAlreadyBest)
{
    const struct { const char *cards[HandSize]; int wager; const char *holds, *best; } cases[] = {
        {{"5H", "8D", "6S", "7C", "8C"}, 1, ".x..x", "Best: hold 8D 8C, draw 3 (cards 2 and 5)."},
        // Drawing to four aces is as good as standing: no mistake either way.
        {{"AC", "AD", "AH", "AS", "KC"}, 3, "xxxx.", "Best: hold all five"},
    };
    for (const auto &c : cases) {
        std::string hint = HintText(*tables, WaitingHand(c.cards, c.wager, c.holds));
        EXPECT_NE(hint.find(c.best), std::string::npos) << hint;
        EXPECT_NE(hint.find("nothing to change"), std::string::npos) << hint;
        EXPECT_NE(hint.find("drawn: keeping it would cost"), std::string::npos) << hint;
        EXPECT_NE(hint.find(c.wager == 1 ? "1 coin bet" : "3 coins bet"), std::string::npos) << hint;
    }
}

TEST_F(AdviceTest, HintExplainsWhenThereIsNoHandToAdviseOn)
{
    VideoPokerGame game = {};
    InitFreshGame(game);
    EXPECT_NE(HintText(*tables, game).find("No hand is waiting"), std::string::npos);

    // A damaged block: the analysis refuses it (the holds test has each kind of damage).
    const char *const names[HandSize] = { "5H", "8D", "6S", "7C", "8C" };
    EXPECT_NE(HintText(*tables, WaitingHand(names, 0, ".....")).find("cannot be analysed"), std::string::npos);
}

// Only a draw counts as a hand, with the holds it was drawn on; what they were worth is a known answer in
// StatisticsShowTheReturnsSideBySide.
TEST_F(AdviceTest, WatchingRealPlayCountsEachDrawWithItsHolds)
{
    VideoPokerGame game = {};
    InitFreshGame(game);
    RecordingView view(game);
    GameWatch watch;
    ObserveGame(watch, game);
    for (int hand = 0; hand < 6; ++hand) {
        ++TestClock::seconds;
        int creditsBefore = game.credits;
        if (hand % 2 == 0) {
            BetFive(game, view);
        } else {
            BetOne(game, view);
            ObserveGame(watch, game);
            DealOrDraw(game, view);
        }
        ObserveGame(watch, game);
        VideoPokerGame dealt = game;
        int heldMask = hand * 7 % 32;
        for (int i = 0; i < HandSize; ++i)
            if (heldMask & (1 << i)) {
                ToggleHold(game, view, i);
                ObserveGame(watch, game);
            }
        int wager = game.wager;
        DealOrDraw(game, view);
        ObserveGame(watch, game);

        ASSERT_EQ(watch.hands.size(), static_cast<size_t>(hand + 1));
        const PlayedHand &played = watch.hands.back();
        EXPECT_EQ(memcmp(played.cards, dealt.card, sizeof played.cards), 0);
        EXPECT_EQ(played.heldMask, heldMask);
        EXPECT_EQ(played.wager, wager);
        EXPECT_EQ(played.paid, game.credits - creditsBefore + wager);
    }
    PlaySummary summary;
    for (const PlayedHand &played : watch.hands)
        AddToSummary(summary, JudgeHand(*tables, played, nullptr));
    EXPECT_EQ(summary.coinsBet, 3 * 5 + 3 * 1);       // three hands of Bet 5, three of +1

    // New Game on a dealt hand, and then an older block put back while a hand waits: no draws.
    ++TestClock::seconds;
    BetFive(game, view);
    ObserveGame(watch, game);
    ToggleHold(game, view, 2);
    ObserveGame(watch, game);
    NewGame(game, view);
    ObserveGame(watch, game);
    EXPECT_EQ(watch.abandonedHands, 1);
    EXPECT_EQ(watch.abandonedCoins, 5);
    ++TestClock::seconds;
    BetFive(game, view);
    ObserveGame(watch, game);
    VideoPokerGame restored = {};
    InitFreshGame(restored);
    restored.credits = 37;
    ObserveGame(watch, restored);
    EXPECT_EQ(watch.hands.size(), 6u);
    EXPECT_EQ(watch.abandonedHands, 1);
}

TEST_F(AdviceTest, StatisticsShowTheReturnsSideBySide)
{
    GameWatch watch;
    const char *const names[HandSize] = { "KS", "9S", "QS", "JS", "AS" };
    PlayedHand flush = {};
    memcpy(flush.cards, WaitingHand(names, 5, ".....").card, HandSize);
    flush.heldMask = 31;
    flush.wager = 5;
    flush.paid = 30;
    watch.hands.push_back(flush);
    PlayedHand broke = flush;
    broke.heldMask = 0x1D;
    broke.paid = 0;
    watch.hands.push_back(broke);
    PlaySummary summary;
    for (const PlayedHand &played : watch.hands)
        AddToSummary(summary, JudgeHand(*tables, played, nullptr));
    EXPECT_EQ(summary.bestHoldTaken, 1);
    std::string text = StatisticsText("Video Poker 1", watch, summary, 0.995439043695, 0.983734569484);
    EXPECT_NE(text.find("Hands played: 2"), std::string::npos) << text;
    EXPECT_NE(text.find("Coins bet: 10    won: 30"), std::string::npos) << text;
    EXPECT_NE(text.find("Actual return: 300.00 %"), std::string::npos) << text;
    char worth[128];
    snprintf(worth, sizeof worth, "Your holds were worth %.2f %% on these deals; the best holds, %.2f %%.",
             100.0 * (30 + 4330.0 / 47) / 10, 100.0 * 2 * 4330.0 / 47 / 10);
    EXPECT_NE(text.find(worth), std::string::npos) << text;
    EXPECT_NE(text.find("Best hold taken in 1 of 2 hands."), std::string::npos) << text;
    EXPECT_NE(text.find("99.54 % with 5 coins bet,\n98.37 % with 1 to 4"), std::string::npos) << text;
    EXPECT_NE(StatisticsText("T", GameWatch(), PlaySummary(), 0.99, 0.98).find("No hand has been drawn"),
              std::string::npos);
}

TEST(Advice, ReadsOnlyBlocksOfAGame)
{
    VideoPokerGame game;
    uint8_t block[GameRecordSize + 1] = {};
    block[5] = 51;
    EXPECT_TRUE(ReadGameBlock(block, GameRecordSize, &game));
    EXPECT_EQ(game.card[0], 51);
    EXPECT_FALSE(ReadGameBlock(block, GameRecordSize + 1, &game));
    EXPECT_FALSE(ReadGameBlock(block, GameRecordSize - 1, &game));
    EXPECT_FALSE(ReadGameBlock(nullptr, GameRecordSize, &game));
    const Card cards[HandSize] = { 47, 48, 49, 50, 51 };
    EXPECT_EQ(DescribeHold(cards, 0), "hold nothing, draw five");
}

} // namespace
