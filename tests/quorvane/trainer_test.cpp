// trainer_test.cpp: the host played from the keyboard, with the trainer judging the holds.
#include <gtest/gtest.h>

#include "apps/quorvane/trainer/hints.h"
#include "apps/quorvane/trainer/trainer.h"
#include "tests/common/hands.h"
#include "tests/quorvane/host_driver.h"

namespace {

// Ace, king, queen and jack of spades with the two of diamonds, five coins bet, nothing held yet.
const char *const FourToARoyal[HandSize] = {"AS", "KS", "QS", "JS", "2D"};

struct KeyPlay {
    HostRun run;
    std::string config;

    VideoPokerGame Game() const
    {
        run.Command(CmdSaveNow);
        SavedPanel saved = ReadPanel(config, nullptr);
        return saved.tools.empty() ? VideoPokerGame{} : GameOf(saved.tools[0].state);
    }
    // The key goes through the host's message loop, as typing does; then waits until done() holds.
    template <typename Done> bool Key(WPARAM key, Done done)
    {
        PostMessageA(run.panel, WM_KEYDOWN, key, 1);
        PostMessageA(run.panel, WM_KEYUP, key, 0xC0000001);
        return WaitFor([&] { return done(Game()); }, 10000);
    }
};

TEST(HostTrainer, KeysPlayTheSelectedToolAndAMistakeIsHeldBackThenJudgedWithItsCost)
{
    KeyPlay play;
    play.config = FreshTestFolder("trainer") + "\\panel.cfg";
    SavedPanel panel;
    panel.settings["trainer"] = "1";
    panel.tools.push_back(PokerTool(20, 40, 240, 140, WaitingHand(FourToARoyal, 5, ".....")));
    ASSERT_TRUE(WritePanel(play.config, panel));
    ASSERT_TRUE(play.run.Start("--config \"" + play.config + "\" --unattended"));

    // Keys 1 and 5 hold the ace and the two: a hold that throws the royal draw away.
    ASSERT_TRUE(play.Key('1', [](const VideoPokerGame &g) { return g.held[0] == 1; }));
    ASSERT_TRUE(play.Key('5', [](const VideoPokerGame &g) { return g.held[4] == 1; }));
    EXPECT_EQ(play.Game().held[1] + play.Game().held[2] + play.Game().held[3], 0);

    // The first Enter is held back with the verdict; the second draws anyway, and the draw is judged.
    ASSERT_TRUE(play.Key(VK_RETURN, [&](const VideoPokerGame &) {
        return Status(play.run).find("Enter draws anyway") != std::string::npos;
    }));
    std::string warning = Status(play.run);
    EXPECT_NE(warning.find("best was to keep AS KS QS JS"), std::string::npos) << warning;
    EXPECT_NE(warning.find("you kept AS 2D"), std::string::npos) << warning;
    EXPECT_EQ(play.Game().handComplete, 0) << "nothing drawn yet";
    ASSERT_TRUE(play.Key(VK_RETURN, [](const VideoPokerGame &g) { return g.handComplete == 1; }));
    std::string verdict = Status(play.run);
    EXPECT_NE(verdict.find("Mistake"), std::string::npos) << verdict;
    EXPECT_NE(verdict.find("it costs"), std::string::npos) << verdict;
    EXPECT_EQ(verdict.find("anyway"), std::string::npos) << verdict;
    play.run.Command(CmdStatistics);
    HWND statistics = FindProcessWindow(play.run.ProcessId(), QUORVANE_STATISTICS_CLASS);
    std::string counted = WindowText(GetDlgItem(statistics, 100));
    EXPECT_NE(counted.find("Hands played: 1\r\nCoins bet: 5 "), std::string::npos) << counted;
    EXPECT_NE(counted.find("Mistakes: 1, costing"), std::string::npos) << counted;

    // Between hands: B bets one coin, M bets up to five, Space deals; holds keys do nothing then.
    const int32_t credits = play.Game().credits;
    ASSERT_TRUE(play.Key('B', [](const VideoPokerGame &g) { return g.wager == 1; }));
    ASSERT_TRUE(play.Key('M', [](const VideoPokerGame &g) { return g.wager == 5; }));
    ASSERT_TRUE(play.Key(VK_SPACE, [](const VideoPokerGame &g) { return g.handComplete == 0; }));
    EXPECT_EQ(play.Game().credits, credits - 5);

    play.run.Command(CmdTrainer);
    play.run.Command(CmdSaveNow);
    EXPECT_FALSE(ReadPanel(play.config, nullptr).settings.count("trainer")) << "the trainer setting is saved with the panel";
}

} // namespace
