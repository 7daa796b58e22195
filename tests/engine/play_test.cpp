// play_test.cpp: whole hands over a recording view: the texts, buttons, caption and cards after each step.
#include "engine/game.h"
#include "tests/engine/recording_view.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <climits>
#include <functional>
#include <random>
#include <set>

namespace {

// Cards on the table as if the deal had brought them: exactly these five marked out.
void Rig(VideoPokerGame &game, std::array<int, 5> cards)
{
    memset(game.dealt, 0, sizeof game.dealt);
    for (int i = 0; i < 5; ++i) {
        game.card[i] = static_cast<Card>(cards[i]);
        game.dealt[cards[i]] = 1;
    }
}

const std::array<int, 5> FullHouseCards = { 0, 13, 26, 1, 14 };      // three twos, two threes
const std::array<int, 5> NothingCards = { 0, 14, 28, 42, 7 };        // 2, 3, 4, 5 of four suits and a nine
const std::array<int, 5> JacksCards = { 9, 22, 2, 17, 31 };          // a pair of jacks
const std::array<int, 5> RoyalCards = { 34, 35, 36, 37, 38 };        // ten to ace of hearts

// What the tool shows: the three displays, the caption and which buttons work.
struct Shown {
    const char *wager, *credits, *result, *caption;
    bool betOne, betFive, deal;
};

void ExpectShown(const RecordingView &view, const Shown &s)
{
    EXPECT_EQ(view.displays[WagerDisplay], s.wager);
    EXPECT_EQ(view.displays[CreditsDisplay], s.credits);
    EXPECT_EQ(view.displays[ResultDisplay], s.result);
    EXPECT_EQ(view.caption, s.caption);
    EXPECT_EQ(view.enabled[BetOneButton], s.betOne) << "+1";
    EXPECT_EQ(view.enabled[BetFiveButton], s.betFive) << "Bet 5";
    EXPECT_EQ(view.enabled[DealDrawButton], s.deal) << "Deal/Draw";
}

class Play : public WithTestClock {
protected:
    VideoPokerGame game;
    RecordingView view{game};

    void SetUp() override
    {
        WithTestClock::SetUp();
        InitFreshGame(game);
    }
    void HoldAll()
    {
        for (int i = 0; i < HandSize; ++i)
            ToggleHold(game, view, i);
    }

    struct Step {
        const char *what;
        std::function<void()> action;
        Shown after;
    };
    void Run(const std::vector<Step> &steps)
    {
        for (const Step &step : steps) {
            SCOPED_TRACE(step.what);
            step.action();
            ExpectShown(view, step.after);
        }
    }
    std::function<void()> Press(int button) { return [this, button] { view.Press(button); }; }
    std::function<void()> HoldAllOf(std::array<int, 5> cards) { return [this, cards] { Rig(game, cards); HoldAll(); }; }
    std::function<void()> Show() { return [this] { ShowGameState(game, view); }; }
};

TEST_F(Play, TheDrawPaysShowsAndResets)
{
    const struct {
        const char *what;
        std::array<int, 5> cards;
        int32_t wager, creditsBefore;
        const char *credits, *result;
        bool betOneOn, betFiveOn;
    } cases[] = {
        {"full house, 5 coins", FullHouseCards, 5, 95, "CREDITS: 140", "Full House : 45", true, true},
        {"losing hand", NothingCards, 5, 4, "CREDITS: 4", "Video Poker", true, false},
        {"jacks return the stake", JacksCards, 5, 95, "CREDITS: 100", "Jacks or Better : 5", true, true},
        {"royal, 5 coins", RoyalCards, 5, 0, "CREDITS: 4000", "Royal Flush : 4000", true, true},
        {"full purse stays full", RoyalCards, 5, INT32_MAX - 10, "CREDITS: 2147483647", "Royal Flush : 4000", true, true},
        // Written past the restore, straight into the record: a negative stake takes nothing.
        {"negative wager", RoyalCards, -5, 10, "CREDITS: 10", "Royal Flush : 0", true, true},
        {"leaves nothing", NothingCards, 3, 0, "CREDITS: 0", "Video Poker", false, false},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        InitFreshGame(game);
        game.handComplete = 0;
        game.wager = c.wager;
        game.credits = c.creditsBefore;
        Rig(game, c.cards);
        HoldAll();
        DealOrDraw(game, view);
        ExpectShown(view, {"WAGER: 0", c.credits, c.result, "Deal", c.betOneOn, c.betFiveOn, false});
    }
}

// A hold toggles only while a hand waits and only in range; a marker that comes off erases the face.
TEST_F(Play, ToggleHoldOnlyWhileAHandWaits)
{
    ShowGameState(game, view);                     // a fresh tool: 100 credits
    VideoPokerGame before = game;
    for (int i : {0, 4, -1, 5, INT_MAX})
        ToggleHold(game, view, i);
    EXPECT_TRUE(view.repaints.empty()) << "between hands";
    EXPECT_EQ(memcmp(&game, &before, sizeof game), 0);

    view.Press(BetFiveButton);
    VideoPokerGame dealt = game;
    view.repaints.clear();
    ToggleHold(game, view, 2);
    EXPECT_EQ(game.held[2], 1);
    for (int i : {-1, 5, INT_MAX, 2})
        ToggleHold(game, view, i);
    EXPECT_EQ(view.repaints, "2 2e ");
    EXPECT_EQ(memcmp(&game, &dealt, sizeof game), 0);

    game.held[3] = 2;                                  // written past the restore: one click releases it
    ToggleHold(game, view, 3);
    EXPECT_EQ(game.held[3], 0);
}

TEST_F(Play, NewGameWhileAHandWaitsKeepsTheCardsAndDiscardsTheBet)
{
    ShowGameState(game, view);                     // a fresh tool: 100 credits
    view.Press(BetFiveButton);
    ToggleHold(game, view, 1);
    ToggleHold(game, view, 3);
    VideoPokerGame dealt = game;
    view.repaints.clear();
    NewGame(game, view);
    for (int i = 0; i < HandSize; ++i)     // the hold markers come off the screen too
        EXPECT_NE(view.repaints.find(std::to_string(i) + "e"), std::string::npos) << i;
    EXPECT_EQ(memcmp(game.card, dealt.card, sizeof game.card), 0);
    EXPECT_EQ(memcmp(game.dealt, dealt.dealt, sizeof game.dealt), 0);
    for (int i = 0; i < HandSize; ++i)
        EXPECT_EQ(game.held[i], 0);
    EXPECT_EQ(game.handComplete, 1);
    EXPECT_EQ(game.wager, 0);
    // The 5 coins bet are gone; the purse is a fresh 100.
    ExpectShown(view, {"WAGER: 0", "CREDITS: 100", "Video Poker", "Deal", true, true, false});
}

// A walk through the states, checking what the tool shows after every step.
TEST_F(Play, DownToTheLastCoinAndAWinThatPaysItBack)
{
    game.credits = 7;
    Run({
        {"restored purse of 7", Show(), {"WAGER: 0", "CREDITS: 7", "Video Poker", "Deal", true, true, false}},
        {"+1", Press(BetOneButton), {"WAGER: 1", "CREDITS: 6", "Video Poker", "Deal", true, true, true}},
        {"Bet 5 deals", Press(BetFiveButton), {"WAGER: 5", "CREDITS: 2", "Video Poker", "Draw", false, false, true}},
        {"hold nothing much", HoldAllOf(NothingCards), {"WAGER: 5", "CREDITS: 2", "Video Poker", "Draw", false, false, true}},
        {"lose", Press(DealDrawButton), {"WAGER: 0", "CREDITS: 2", "Video Poker", "Deal", true, false, false}},
        {"shown again, as after a restore", Show(), {"WAGER: 0", "CREDITS: 2", "Video Poker", "Deal", true, false, false}},
        {"+1", Press(BetOneButton), {"WAGER: 1", "CREDITS: 1", "Video Poker", "Deal", true, false, true}},
        {"+1, the last coin", Press(BetOneButton), {"WAGER: 2", "CREDITS: 0", "Video Poker", "Deal", false, false, true}},
        {"deal", Press(DealDrawButton), {"WAGER: 2", "CREDITS: 0", "Video Poker", "Draw", false, false, true}},
        {"hold jacks", HoldAllOf(JacksCards), {"WAGER: 2", "CREDITS: 0", "Video Poker", "Draw", false, false, true}},
        {"win", Press(DealDrawButton), {"WAGER: 0", "CREDITS: 2", "Jacks or Better : 2", "Deal", true, false, false}},
        {"+1 keeps the result", Press(BetOneButton), {"WAGER: 1", "CREDITS: 1", "Jacks or Better : 2", "Deal", true, false, true}},
        {"next deal", Press(DealDrawButton), {"WAGER: 1", "CREDITS: 1", "Video Poker", "Draw", false, false, true}},
    });
}

// ---- Dealing and drawing with the shared generator ----

// The cards a deal and then a draw bring in a given second, as this machine deals them ('x': held).
TEST_F(Play, DealAndDrawBringTheKnownCardsOfTheirSecond)
{
    const struct { int64_t second; Card dealt[HandSize]; const char *holds; Card drawn[HandSize]; } cases[] = {
        {1733400000, {9, 28, 10, 37, 6}, ".....", {48, 26, 36, 8, 38}},
        {1733400013, {38, 3, 8, 29, 48}, "x.xx.", {38, 43, 8, 29, 34}},
    };
    for (const auto &c : cases) {
        TestClock::seconds = c.second;
        InitFreshGame(game);
        game.wager = 2;
        DealOrDraw(game, view);
        EXPECT_EQ(memcmp(game.card, c.dealt, HandSize), 0) << "the deal of second " << c.second;
        for (int i = 0; i < HandSize; ++i)
            if (c.holds[i] == 'x')
                ToggleHold(game, view, i);
        DealOrDraw(game, view);
        EXPECT_EQ(memcmp(game.card, c.drawn, HandSize), 0) << "the draw of second " << c.second;
    }
}

TEST_F(Play, EveryReplacedCardSeedsAgainAndAHoldAllDrawNever)
{
    for (int mask = 0; mask < 32; ++mask) {
        InitFreshGame(game);
        game.wager = 1;
        DealOrDraw(game, view);
        for (int i = 0; i < HandSize; ++i)
            if (mask & (1 << i))
                ToggleHold(game, view, i);
        int replaced = 5 - __builtin_popcount(mask);
        SeedRandom(777);
        TestClock::reads = 0;
        DealOrDraw(game, view);
        EXPECT_EQ(TestClock::reads, replaced) << "mask " << mask;
        if (replaced == 0) {
            int continued = NextRandom();
            SeedRandom(777);
            EXPECT_EQ(continued, NextRandom()) << "a hold-all draw used the generator";
        }
    }
}

// A bet button a restore left on: a press on a dealt hand or an empty purse only puts the buttons right,
// and +1 on a full wager deals, as the fifth coin would have.
TEST_F(Play, StaleBetButtonsAfterARestoreNeitherOverdrawNorBetOnADealtHand)
{
    const struct { const char *what; uint8_t handComplete; int32_t wager, credits; int button; bool dealt; } cases[] = {
        {"+1 on a hand waiting for the draw", 0, 2, 50, BetOneButton, false},
        {"Bet 5 on a hand waiting for the draw", 0, 2, 50, BetFiveButton, false},
        {"Bet 5 with an empty purse", 1, 0, 0, BetFiveButton, false},
        {"+1 with five coins already bet deals", 1, 5, 50, BetOneButton, true},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        InitFreshGame(game);
        ShowGameState(game, view);                    // the buttons of a fresh tool: both bets on
        VideoPokerGame block;
        InitFreshGame(block);
        block.handComplete = c.handComplete;
        block.wager = c.wager;
        block.credits = c.credits;
        if (c.handComplete == 0)
            Rig(block, NothingCards);
        RestoreGameRecord(game, &block);
        view.enabled[DealDrawButton] = false;           // left off by the earlier state
        view.Press(c.button);
        EXPECT_EQ(game.wager, c.wager);
        EXPECT_EQ(game.credits, c.credits);
        EXPECT_EQ(game.handComplete == 0 && memcmp(game.card, block.card, 5) != 0, c.dealt) << "dealt";
        if (!c.dealt) {
            EXPECT_EQ(view.enabled[BetOneButton], c.handComplete != 0 && c.credits >= 1);
            EXPECT_EQ(view.enabled[BetFiveButton], c.handComplete != 0 && c.credits >= 5);
            EXPECT_EQ(view.enabled[DealDrawButton], c.wager != 0);
        }
    }
}

// Random presses over random blocks, damaged or not, through the buttons the tool leaves enabled:
// the record stays in range, coins move only by bets and pays, and a hand dealt here shows distinct
// cards, all marked out.
TEST_F(Play, RandomPressesOverRandomBlocksKeepEveryRule)
{
    std::mt19937 random(1733);
    auto restoreRandomBlock = [&](int run) {         // the buttons keep what they showed, as in a host
        uint8_t block[GameRecordSize];
        for (uint8_t &b : block)
            b = static_cast<uint8_t>(run % 2 ? random() : random() % 2);
        if (run % 3 == 0)
            memset(block + 65, 0, 7), block[64] = random() % 7, block[68] = random() % 12;
        if (run % 5 == 0)
            memset(block + 10, 1, DeckSize);           // every card out, as no play leaves it
        RestoreGameRecord(game, block);
    };
    for (int run = 0; run < 3000; ++run) {
        restoreRandomBlock(run);
        ShowGameState(game, view);
        bool ours = false;                             // dealt in this run since the last restore
        for (int step = 0; step < 40; ++step) {
            SCOPED_TRACE(testing::Message() << "run " << run << ", step " << step);
            const int op = random() % 7;
            const bool waiting = game.handComplete == 0;
            const int32_t wager = game.wager, credits = game.credits;
            if (op < 3 && view.enabled[op])
                view.Press(op);
            else if (op == 3)
                ToggleHold(game, view, random() % 7 - 1);
            else if (op == 4)
                TestClock::seconds += random() % 3;
            else if (op == 5 && random() % 4 == 0) {
                restoreRandomBlock(step);
                ours = false;
                continue;
            }
            VideoPokerGame copy = game;
            ASSERT_FALSE(RepairGameRecord(copy)) << "play left the record out of range";
            if (waiting && game.handComplete) {
                // Paid by the table's multiples of the wager (the royal's 4000 at five coins), or capped.
                const int64_t won = int64_t(game.credits) - credits;
                const std::set<int64_t> perCoin = {0, 1, 2, 3, 4, 6, 9, 25, 50, wager == 5 ? 800 : 250};
                ASSERT_TRUE(game.credits == INT32_MAX || (wager == 0 && won == 0) ||
                            (wager > 0 && won % wager == 0 && perCoin.count(won / wager))) << won << " on " << wager;
                ASSERT_EQ(game.wager, 0);
                for (int i = 0; i < HandSize; ++i)
                    ASSERT_EQ(game.held[i], 0);
            } else {
                ASSERT_EQ(int64_t(game.credits) + game.wager, int64_t(credits) + wager) << "coins appeared";
            }
            if (!waiting && game.handComplete == 0) {
                ASSERT_GT(game.wager, 0) << "a hand dealt without a coin";
                ours = true;
            }
            if (ours) {
                for (int i = 0; i < HandSize; ++i) {
                    ASSERT_EQ(game.dealt[game.card[i]], 1);
                    for (int j = 0; j < i; ++j)
                        ASSERT_NE(game.card[i], game.card[j]);
                }
                const auto out = std::count(game.dealt, game.dealt + DeckSize, 1);
                ASSERT_TRUE(game.handComplete ? out >= HandSize && out <= 2 * HandSize : out == HandSize) << out;
            }
        }
    }
}

// Texts longer than the tool's buffers: what reaches the display still fits.
TEST_F(Play, LongTextsAreCutToTheDisplay)
{
    view.padding = std::string(80, '#');
    game.credits = INT32_MIN;                          // the longest number there is
    ShowGameState(game, view);
    game.wager = 5;
    ShowResult(game, view, RoyalFlush);
    for (int display = 0; display < 3; ++display)
        EXPECT_FALSE(view.displays[display].empty());  // the view holds each to 59 characters
    EXPECT_EQ(view.displays[WagerDisplay].rfind("WAGER: ", 0), 0u);
    view.padding.clear();
    for (HandRank rank : {-1, 10, INT32_MIN}) {
        ShowResult(game, view, rank);
        EXPECT_EQ(view.displays[ResultDisplay], "Video Poker") << "no such hand: " << rank;
    }
}

}  // namespace
