// analysis_worker_test.cpp: the trainer's analysis off the window's thread: hands valued in the order
// drawn as the window's thread would value them, what a plan asks for built first, nothing started once
// held back or cancelled. Also built with ThreadSanitizer.
#include "apps/quorvane/trainer/analysis_worker.h"
#include "apps/quorvane/trainer/advice.h"
#include "tests/common/hands.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

namespace {

HandToValue Drawn(int64_t id, const char *cards, int heldMask, int wager, bool evenDeck)
{
    HandToValue drawn;
    drawn.id = id;
    drawn.toolNumber = 1 + id % 3;
    for (int i = 0; i < HandSize; ++i)
        drawn.hand.cards[i] = static_cast<Card>(ParseCard(cards + 3 * i, 2));
    drawn.hand.heldMask = static_cast<uint8_t>(heldMask);
    drawn.hand.wager = wager;
    drawn.hand.paid = 0;
    drawn.evenDeck = evenDeck;
    return drawn;
}

template <typename Condition> bool Eventually(Condition condition)
{
    for (int i = 0; i < 12000 && !condition(); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    return condition();
}

TEST(AnalysisWorker, ValuesHandsInTheOrderDrawnUnderTheDealingEachWasDrawnBy)
{
    std::atomic<int> news{0};
    AnalysisPlan plan;
    plan.figures = false;
    AnalysisWorker worker(plan, [&] { ++news; });
    // Four to a royal held as dealt (a mistake on the even deck), and the light AS hand the machine's
    // dealing values otherwise, at bets whose tables the plan did not ask for first.
    const HandToValue hands[] = {Drawn(1, "AS KS QS JS 2D", 0x1F, 5, true), Drawn(2, "2C 3C 6C AD JH", 0x10, 3, false),
                                 Drawn(3, "AS KS QS JS 2D", 0x0F, 1, false), Drawn(4, "2C 3C 6C AD JH", 0x08, 3, true)};
    for (const HandToValue &hand : hands)
        worker.Value(hand);
    std::vector<ValuedHand> valued;
    ASSERT_TRUE(Eventually([&] {
        // Read while the worker publishes them (ThreadSanitizer sees any unguarded access).
        EXPECT_TRUE(worker.Tables() || worker.Machine(3) == nullptr);
        for (const ValuedHand &v : worker.TakeValued())
            valued.push_back(v);
        return valued.size() == 4;
    }));
    EXPECT_GT(news.load(), 0);
    for (int i = 0; i < 4; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(valued[i].drawn.id, hands[i].id) << "in the order drawn";
        const JudgedHand &judged = valued[i].judged;
        // As the window's thread valued them before: the same tables, the same verdict.
        const JudgedHand direct = JudgeHand(*worker.Tables(), hands[i].hand,
                                            hands[i].evenDeck ? nullptr : worker.Machine(hands[i].hand.wager));
        EXPECT_TRUE(judged.analysed);
        EXPECT_EQ(judged.evenDeck, hands[i].evenDeck);
        EXPECT_EQ(judged.bestMask, direct.bestMask);
        EXPECT_EQ(judged.yourWorth, direct.yourWorth);
        EXPECT_EQ(judged.bestWorth, direct.bestWorth);
        EXPECT_EQ(judged.isMistake, direct.isMistake);
    }
    EXPECT_TRUE(valued[0].judged.isMistake);
    EXPECT_EQ(valued[0].judged.bestMask, 0x0F);
    EXPECT_EQ(VerdictText(valued[1].judged), "Correct (this machine): hold JH, draw 4.");
    EXPECT_EQ(worker.Machine(4), nullptr) << "no hand and no plan asked for 4 coins";
}

TEST(AnalysisWorker, BuildsThePanelsBetsFirstAndStartsNothingHeldBackOrCancelled)
{
    std::mutex seenLock;
    std::vector<std::string> seen;   // what was there at each news
    AnalysisPlan plan;
    plan.betSizes = 1u << 2;
    plan.figures = false;
    AnalysisWorker *worker = nullptr;
    auto look = [&] {
        std::string there = worker->Tables() ? "T" : "";
        for (int coins = 1; coins <= MaxWager; ++coins)
            there += worker->Machine(coins) ? std::to_string(coins) : "";
        std::lock_guard<std::mutex> hold(seenLock);
        seen.push_back(there);
    };
    AnalysisWorker held(plan, [&] { look(); }, true);
    worker = &held;
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    held.Value(Drawn(1, "AS KS QS JS 2D", 0x1F, 5, true));
    EXPECT_TRUE(held.Idle());
    EXPECT_TRUE(held.TakeValued().empty());
    const int percentHeld = held.PercentDone(false);
    held.HoldBack(false);
    ASSERT_TRUE(Eventually([&] { return held.Idle(); }));
    ASSERT_EQ(held.TakeValued().size(), 1u);
    EXPECT_GT(held.PercentDone(false), percentHeld);
    EXPECT_LT(held.PercentDone(false), 100) << "the tables, without the figures";
    {
        std::lock_guard<std::mutex> hold(seenLock);
        // The tables, the hand, then the panel's bet before the others.
        const std::vector<std::string> order = {"T", "T", "T2", "T25", "T245", "T2345", "T12345"};
        EXPECT_EQ(seen, order);
    }

    // Cancelled: a hand queued afterwards is never valued, and the worker reports nothing left to do.
    held.Cancel();
    held.Value(Drawn(2, "AS KS QS JS 2D", 0x1F, 5, true));
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_TRUE(held.Idle());
    EXPECT_TRUE(held.TakeValued().empty());
}

} // namespace
