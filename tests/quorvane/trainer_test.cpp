// trainer_test.cpp: the host played from the keyboard, with the trainer judging the holds and remembering them.
#include <gtest/gtest.h>

#include <algorithm>

#include "apps/quorvane/canvas.h"
#include "apps/quorvane/trainer/credit_graph.h"
#include "apps/quorvane/trainer/hints.h"
#include "apps/quorvane/trainer/trainer.h"
#include "tests/common/hands.h"
#include "apps/quorvane/trainer/memory_store.h"
#include "tests/quorvane/host_driver.h"

namespace {

// Ace, king, queen and jack of spades with the two of diamonds, five coins bet, nothing held yet.
const char *const FourToARoyal[HandSize] = {"AS", "KS", "QS", "JS", "2D"};

// The host started with its analysis held back until CmdAnalysisGo, as on a machine slower than the work.
bool StartHeldBack(HostRun &run, const std::string &arguments)
{
    SetEnvironmentVariableA("QUORVANE_HOLD_ANALYSIS", "1");
    const bool started = run.Start(arguments);
    SetEnvironmentVariableA("QUORVANE_HOLD_ANALYSIS", nullptr);
    return started;
}

struct KeyPlay {
    HostRun run;
    std::string config;

    VideoPokerGame Game() const
    {
        run.Command(CmdSaveNow);
        for (const SavedTool &tool : ReadPanel(config, nullptr).tools)
            if (tool.x == 20 && tool.y == 40)   // the one the keys play (the file lists the tools stacked)
                return GameOf(tool.state);
        return VideoPokerGame{};
    }
    // The key goes through the host's message loop, as typing does; then waits until done() holds.
    void Type(WPARAM key) const
    {
        PostMessageA(run.panel, WM_KEYDOWN, key, 1);
        PostMessageA(run.panel, WM_KEYUP, key, 0xC0000001);
    }
    bool Exit()
    {
        DWORD code = 0;
        run.Command(CmdExit);
        return run.WaitExit(LongWait, &code);
    }
    std::string Shown(const char *className) const
    {
        return WindowText(GetDlgItem(FindProcessWindow(run.ProcessId(), className), 100));
    }
    std::string TextOf(int command, const char *className) const
    {
        run.Command(command);
        return Shown(className);
    }
    template <typename Done> bool Key(WPARAM key, Done done)
    {
        Type(key);
        return WaitFor([&] { return done(Game()); }, LongWait);
    }
};

TEST(HostTrainer, KeysPlayTheSelectedToolAndEachDrawIsJudgedAMistakeHeldBackFirst)
{
    KeyPlay play;
    play.config = FreshTestFolder("trainer") + "\\panel.cfg";
    SavedPanel panel;
    panel.settings["trainer"] = "1";
    VideoPokerGame broke;   // tool 1: out of credits between hands; tool 2: held as well as it can be
    InitFreshGame(broke);
    broke.credits = 0;
    panel.tools.push_back(PokerTool(20, 200, 240, 140, broke));
    panel.tools.push_back(PokerTool(300, 200, 240, 140, WaitingHand(FourToARoyal, 5, "xxxx.")));
    panel.tools.push_back(PokerTool(20, 40, 240, 140, WaitingHand(FourToARoyal, 5, ".....")));
    ASSERT_TRUE(WritePanel(play.config, panel));
    ASSERT_TRUE(StartHeldBack(play.run, "--config \"" + play.config + "\" --unattended"));

    // Keys 1 and 5 hold the ace and the two: a hold that throws the royal draw away.
    ASSERT_TRUE(play.Key('1', [](const VideoPokerGame &g) { return g.held[0] == 1; }));
    ASSERT_TRUE(play.Key('5', [](const VideoPokerGame &g) { return g.held[4] == 1; }));
    EXPECT_EQ(play.Game().held[1] + play.Game().held[2] + play.Game().held[3], 0);

    // Before the values are there an Enter is held back and says why; once they are, the next Enter is
    // held back with the verdict; the one after draws anyway, and the draw is judged.
    ASSERT_TRUE(play.Key(VK_RETURN, [&](const VideoPokerGame &) {
        return Status(play.run).find("anyway. The values for this machine's dealing are being worked out (0%)") !=
               std::string::npos;
    })) << Status(play.run);
    play.run.Command(CmdAnalysisGo);
    play.run.Command(CmdHint);
    ASSERT_TRUE(WaitFor([&] { return play.Shown(QUORVANE_HINT_CLASS).find("Best: hold AS KS QS JS") != std::string::npos; },
                        LongWait));
    play.run.Command(CmdHint);
    ASSERT_TRUE(play.Key(VK_RETURN, [&](const VideoPokerGame &) {
        return Status(play.run).find("Enter draws anyway") != std::string::npos;
    }));
    std::string warning = Status(play.run);
    EXPECT_NE(warning.find("Mistake (this machine): best AS KS QS JS 93."), std::string::npos) << warning;
    EXPECT_NE(warning.find("yours AS 2D "), std::string::npos) << warning;
    EXPECT_EQ(play.Game().handComplete, 0) << "nothing drawn yet";
    play.run.Command(CmdDealing);   // Ctrl+E: the verdict goes with the dealing it was made under
    EXPECT_EQ(Status(play.run).find("anyway"), std::string::npos) << Status(play.run);
    play.run.Command(CmdDealing);
    // A click on the tool's own Draw is never held back, and is judged like a key.
    PostMessageA(ToolButton(ToolAt(play.run, 20, 40), 264), BM_CLICK, 0, 0);
    ASSERT_TRUE(WaitFor([&] { return play.Game().handComplete == 1; }, LongWait));
    std::string verdict;
    EXPECT_TRUE(WaitFor([&] { return (verdict = Status(play.run)).find("Mistake") != std::string::npos; }, LongWait));
    EXPECT_NE(verdict.find(", cost "), std::string::npos) << verdict;
    EXPECT_EQ(verdict.find("anyway"), std::string::npos) << verdict;
    play.run.Command(CmdStatistics);
    HWND statistics = FindProcessWindow(play.run.ProcessId(), QUORVANE_STATISTICS_CLASS);
    std::string counted;
    // Optimal play's returns are worked out off the window's thread: they show once ready.
    EXPECT_TRUE(WaitFor([&] {
        counted = WindowText(GetDlgItem(statistics, 100));
        return counted.find("(this machine) returns 99.30 % with 5 coins bet,\r\n98.15 % with 1 to 4.") !=
               std::string::npos;
    }, LongWait)) << counted;
    EXPECT_NE(counted.find("Hands played: 1\r\nCoins bet: 5 "), std::string::npos) << counted;
    EXPECT_NE(counted.find("Mistakes: 1, costing"), std::string::npos) << counted;
    // Ctrl+E: the run's hands keep the verdicts they were given, as the lifetime does; optimal play
    // follows the dealing now in force.
    play.run.Command(CmdDealing);
    EXPECT_TRUE(WaitFor([&] {
        counted = WindowText(GetDlgItem(statistics, 100));
        return counted.find("(even deck) returns 99.54 %") != std::string::npos;
    }, LongWait)) << counted;
    EXPECT_NE(counted.find("this run (each hand valued as it was judged: this machine)\r\nHands played: 1"),
              std::string::npos) << counted;
    EXPECT_NE(counted.find("Mistakes: 1, costing"), std::string::npos) << counted;
    EXPECT_NE(counted.find("mistakes 1, costing"), std::string::npos) << "the lifetime agrees: " << counted;
    play.run.Command(CmdDealing);

    // Between hands: B bets one coin, M bets up to five and so deals; Space, a draw on no holds, is held back.
    const int32_t credits = play.Game().credits;
    ASSERT_TRUE(play.Key('B', [](const VideoPokerGame &g) { return g.wager == 1; }));
    EXPECT_EQ(Status(play.run).find("Mistake"), std::string::npos) << "the next action clears the verdict";
    ASSERT_TRUE(play.Key('M', [](const VideoPokerGame &g) { return g.wager == 5; }));
    ASSERT_TRUE(play.Key(VK_SPACE, [](const VideoPokerGame &g) { return g.handComplete == 0; }));
    EXPECT_EQ(play.Game().credits, credits - 5);

    // A draw from the keyboard on the best hold is not held back; a tool out of credits says how to start
    // again.
    play.run.Command(CmdSelectPrevious);
    PostMessageA(play.run.panel, WM_KEYDOWN, VK_RETURN, 1);
    PostMessageA(play.run.panel, WM_KEYUP, VK_RETURN, 0xC0000001);
    EXPECT_TRUE(WaitFor([&] { return Status(play.run) == "Video Poker 2: Correct (this machine): hold AS KS QS JS, draw 1."; }, LongWait))
        << Status(play.run);
    play.run.Command(CmdSelectPrevious);
    EXPECT_TRUE(WaitFor([&] { return Status(play.run).find("Video Poker 1 has no credits left: Alt+Enter") == 0; },
                        LongWait)) << Status(play.run);

    // D deals again with the last hand's bet.
    play.run.Command(CmdSelectNext);
    play.run.Command(CmdSelectNext);
    play.run.Command(CmdTrainer);
    ASSERT_TRUE(play.Key(VK_RETURN, [](const VideoPokerGame &g) { return g.handComplete == 1; }));
    EXPECT_EQ(Status(play.run).find("(this machine)"), std::string::npos) << "no verdict with the trainer off";
    const int32_t before = play.Game().credits;
    ASSERT_TRUE(play.Key('D', [](const VideoPokerGame &g) { return g.handComplete == 0 && g.wager == 5; }));
    EXPECT_EQ(play.Game().credits, before - 5);
    play.run.Command(CmdSaveNow);
    EXPECT_FALSE(ReadPanel(play.config, nullptr).settings.count("trainer")) << "the trainer setting is saved with the panel";
}

TEST(HostTrainer, RemembersPlayAcrossRunsAndAGarbledMemoryCostsOnlyItself)
{
    const std::string config = FreshTestFolder("trainer-memory") + "\\panel.cfg";
    SavedPanel panel;
    panel.settings["trainer"] = "1";
    panel.tools.push_back(PokerTool(20, 40, 240, 140, WaitingHand(FourToARoyal, 5, "x...x")));
    ASSERT_TRUE(WritePanel(config, panel));
    VideoPokerGame played;
    // Held back, as on a machine slower than the work: the hand drawn waits in the store for its valuation.
    {
        KeyPlay play{{}, config};
        ASSERT_TRUE(StartHeldBack(play.run, "--config \"" + config + "\" --unattended"));
        PostMessageA(ToolButton(ToolAt(play.run, 20, 40), 264), BM_CLICK, 0, 0);   // the ace and the two drawn to
        ASSERT_TRUE(WaitFor([&] { return (played = play.Game()).handComplete == 1; }, LongWait));
        ASSERT_TRUE(play.Exit());
    }
    {
        KeyPlay play{{}, config};
        ASSERT_TRUE(StartHeldBack(play.run, "--config \"" + config + "\" --unattended"));
        // The windows open at once with what they can show, and fill in once the worker goes on.
        std::string statistics = play.TextOf(CmdStatistics, QUORVANE_STATISTICS_CLASS);
        EXPECT_NE(statistics.find("still being valued (they count once valued): 1.\r\n"), std::string::npos) << statistics;
        EXPECT_NE(statistics.find("its returns are being worked out"), std::string::npos) << statistics;
        EXPECT_NE(play.TextOf(CmdMistakes, QUORVANE_MISTAKES_CLASS).find("No mistake remembered yet"), std::string::npos);
        play.run.Command(CmdMistakes);   // put away, off the graph
        play.run.Command(CmdAnalysisGo);
        EXPECT_TRUE(WaitFor([&] {
            return (statistics = play.Shown(QUORVANE_STATISTICS_CLASS)).find("(this machine) returns 99.30 %") !=
                   std::string::npos;
        }, LongWait)) << statistics;
        EXPECT_EQ(statistics.find("still being valued"), std::string::npos) << statistics;
        EXPECT_NE(statistics.find("kept in panel.qpanel:\r\n"), std::string::npos) << statistics;
        EXPECT_NE(statistics.find("  Video Poker 1: 1 hand, 5 coins bet, "), std::string::npos) << statistics;
        EXPECT_NE(statistics.find("best hold taken in 0 of 1; mistakes 1, costing "), std::string::npos) << statistics;
        EXPECT_NE(statistics.find("  The panel: 1 hand, 5 coins bet, "), std::string::npos) << statistics;
        // Under the text, the graph draws both lines in their colours, each far longer than its legend's stroke.
        RECT graph = {};
        GetWindowRect(GetDlgItem(FindProcessWindow(play.run.ProcessId(), QUORVANE_STATISTICS_CLASS), 101), &graph);
        Canvas shot(graph.right - graph.left, graph.bottom - graph.top);
        auto drawn = [&](COLORREF c) {
            HDC screen = GetDC(nullptr);
            BitBlt(shot.dc, 0, 0, shot.width, shot.height, screen, graph.left, graph.top, SRCCOPY);
            ReleaseDC(nullptr, screen);
            const std::vector<uint32_t> pixels = shot.Pixels();
            return std::count(pixels.begin(), pixels.end(), GetRValue(c) << 16 | GetGValue(c) << 8 | GetBValue(c)) > 400;
        };
        EXPECT_TRUE(WaitFor([&] { return drawn(PlayedLineColour) && drawn(BestLineColour); }, LongWait));
        std::string mistakes = play.TextOf(CmdMistakes, QUORVANE_MISTAKES_CLASS);
        EXPECT_TRUE(WaitFor([&] {     // the kinds, once the worker has the chart
            mistakes = play.Shown(QUORVANE_MISTAKES_CLASS);
            return mistakes.find("Held 2 cards instead of \"4 to a royal flush\": 1 mistake, ") != std::string::npos;
        }, LongWait)) << mistakes;
        EXPECT_NE(mistakes.find("  Dealt AS KS QS JS 2D   tool 1, 5 coins, this machine\r\n"
                                "    held AS -- -- -- 2D   best AS KS QS JS --   cost "), std::string::npos) << mistakes;
        ASSERT_TRUE(play.Exit());
    }
    // Exported as text, the memory too; the text taken by a new panel as an older host's files would be,
    // with a garbled memory beside it: the tool comes back as it was, the player is told, the files stay.
    const std::string old = config.substr(0, config.size() - 9) + "old.cfg";
    HostRun exporter;
    DWORD code = 1;
    ASSERT_TRUE(exporter.Launch("--config \"" + config + "\" --export \"" + old + "\" --unattended"));
    ASSERT_TRUE(exporter.WaitExit(LongWait, &code) && code == 0);
    std::string memoryText;
    ASSERT_TRUE(ReadWholeFile(old + ".trainer", &memoryText));
    EXPECT_NE(memoryText.find("\nmistake 1 machine 5 "), std::string::npos) << memoryText;
    const std::string garbled = "quorvane-trainer 1\n\x01\xfe\npanel 1 99999999999999999999\n";
    ASSERT_TRUE(WriteFileAtomically(old + ".trainer", garbled));
    KeyPlay play{{}, old};
    ASSERT_TRUE(play.run.Start("--config \"" + old + "\" --unattended"));
    EXPECT_TRUE(WaitFor([&] { return Status(play.run).find("old.cfg.trainer was damaged: 2 lines were") != std::string::npos; },
                        LongWait)) << Status(play.run);
    EXPECT_EQ(BytesOf(play.Game()), BytesOf(played));
    EXPECT_TRUE(ReadWholeFile(old + ".trainer", &memoryText) && memoryText == garbled);
    EXPECT_NE(play.TextOf(CmdMistakes, QUORVANE_MISTAKES_CLASS).find("No mistake remembered yet"), std::string::npos);
}

// Killed at random moments of quick play with the trainer on: at every restart each tool's purse and wager
// are what it started with, less the bets and plus the wins the memory counted for it.
TEST(HostTrainer, KilledDuringPlayThePursesAndTheMemoryStillAgree)
{
    const std::string config = FreshTestFolder("kills") + "\\panel.cfg";
    SavedPanel panel;
    panel.settings["trainer"] = "1";
    VideoPokerGame start;
    InitFreshGame(start);
    start.credits = 100000;
    panel.tools.push_back(PokerTool(20, 40, 240, 140, start));
    panel.tools.push_back(PokerTool(300, 40, 240, 140, start));
    ASSERT_TRUE(WritePanel(config, panel));
    uint32_t seed = GetTickCount();
    int hands = 0;
    const std::string args = "--config \"" + config + "\" --unattended";
    Store store;
    std::string why;
    TrainerMemory memory;
    std::vector<HandToValue> waiting;
    // The hands counted: valued into the lifetimes, or waiting for their valuation with their facts.
    auto read = [&](SavedPanel *now) {
        int bad = 0;
        int64_t lastId = 0;
        PanelFileReport report;
        waiting.clear();
        return store.Open(StorePathFor(config), false, true, &why) == StoreState::Opened &&
               ReadTrainerMemory(store, &memory, &bad) && ReadWaitingHands(store, &waiting, &lastId, &bad) &&
               (!now || store.ReadPanel(now, &report));
    };
    // The first round with the worker held back, so that every hand drawn waits; the next start values them.
    for (int round = 0; round < 4; ++round) {
        HostRun run;
        ASSERT_TRUE(round == 0 ? StartHeldBack(run, args) : run.Start(args));
        for (int i = 0; i < 40; ++i)
            for (HWND tool : run.Tools()) {
                PostMessageA(ToolButton(tool, 263), BM_CLICK, 0, 0);     // Bet 5 deals
                PostMessageA(ToolButton(tool, 264), BM_CLICK, 0, 0);     // and Draw
            }
        // Play under way in the store first (an emulated machine is slow to start), then a random moment.
        ASSERT_TRUE(WaitFor([&] { return read(nullptr) && memory.panel.hands + static_cast<int>(waiting.size()) > hands; },
                            60000)) << "round " << round;
        seed = seed * 1103515245 + 12345;
        Sleep((seed >> 8) % 1500);
        run.Kill();
        SavedPanel now;
        ASSERT_TRUE(read(&now)) << why;
        for (const SavedTool &tool : now.tools) {
            const VideoPokerGame game = GameOf(tool.state);
            const PlaySummary &lifetime = memory.tools[tool.number];
            int64_t bet = lifetime.coinsBet, won = lifetime.coinsWon;
            for (const HandToValue &h : waiting)
                if (h.toolNumber == tool.number)
                    bet += h.hand.wager, won += h.hand.paid;
            EXPECT_EQ(game.credits + game.wager, start.credits - bet + won)
                << "round " << round << " (seed " << seed << "), tool " << tool.number << " after " << lifetime.hands;
        }
        EXPECT_GE(memory.panel.hands + static_cast<int>(waiting.size()), hands) << "nothing committed is ever lost";
        EXPECT_TRUE(round > 0 || (memory.panel.hands == 0 && !waiting.empty())) << "held back, every hand waits";
        hands = memory.panel.hands + static_cast<int>(waiting.size());
    }
    // A start values whatever still waits, each hand once (read again once the host has ended: the
    // lifetimes and the hands waiting are two reads, and a save may come between them).
    HostRun run;
    ASSERT_TRUE(run.Start(args));
    EXPECT_TRUE(WaitFor([&] { return read(nullptr) && waiting.empty(); }, LongWait));
    DWORD code = 0;
    run.Command(CmdExit);
    ASSERT_TRUE(run.WaitExit(LongWait, &code) && read(nullptr));
    EXPECT_TRUE(waiting.empty());
    EXPECT_EQ(memory.panel.hands, hands);
}

// A second panel type beside the poker tools: the host places, saves, restores and removes it as any
// tool; the trainer leaves it alone (no hint, no verdict, nothing in its memory).
TEST(HostTrainer, AnotherPanelTypeLivesBesideThePokerToolsAndTheTrainerLeavesItAlone)
{
    const std::string config = FreshTestFolder("two-types") + "\\panel.cfg";
    SavedPanel panel;
    panel.settings["trainer"] = "1";
    panel.tools.push_back(PokerTool(20, 40, 240, 140, WaitingHand(FourToARoyal, 5, "x...x")));
    panel.tools.push_back(SavedTool{"StandIn.dll", "Tally", 300, 40, 160, 90, {'T', 'A', 'L', 'Y', 3, 0, 0, 0, 0, 0, 0, 0}, 7});
    ASSERT_TRUE(WritePanel(config, panel));
    const std::string args = "--config \"" + config + "\" --unattended --module VideoPoker.dll --module StandIn.dll";
    {
        KeyPlay play{{}, config};
        ASSERT_TRUE(play.run.Start(args));
        HWND tally = FindWindowExA(play.run.panel, nullptr, "StandInTally", nullptr);
        ASSERT_TRUE(tally && play.run.Tools().size() == 1u) << Status(play.run);
        SendMessageA(tally, WM_LBUTTONUP, 0, 0);     // the tally, selected as the top tool
        EXPECT_NE(play.TextOf(CmdHint, QUORVANE_HINT_CLASS).find("Select a Video Poker tool"), std::string::npos);
        PostMessageA(ToolButton(ToolAt(play.run, 20, 40), 264), BM_CLICK, 0, 0);
        ASSERT_TRUE(WaitFor([&] { return play.Game().handComplete == 1; }, LongWait));
        EXPECT_TRUE(WaitFor([&] { return Status(play.run).find("Video Poker 1: ") != std::string::npos; }, LongWait))
            << Status(play.run);
        ASSERT_TRUE(play.Exit());
    }
    SavedPanel saved = ReadPanel(config, nullptr);
    ASSERT_EQ(saved.tools.size(), 2u);
    EXPECT_EQ(saved.tools[1].state, (std::vector<uint8_t>{'T', 'A', 'L', 'Y', 4, 0, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(saved.tools[1].number, 7);
    Store store;
    std::string why;
    TrainerMemory memory;
    int bad = 0;
    ASSERT_EQ(store.Open(StorePathFor(config), false, true, &why), StoreState::Opened);
    ASSERT_TRUE(ReadTrainerMemory(store, &memory, &bad));
    EXPECT_TRUE(memory.tools.size() == 1 && memory.tools.count(1) && memory.panel.hands == 1) << "the poker tool's hand alone";
    store.Close(false);

    KeyPlay play{{}, config};
    ASSERT_TRUE(play.run.Start(args));
    ASSERT_TRUE(FindWindowExA(play.run.panel, nullptr, "StandInTally", nullptr)) << "restored";
    play.run.Command(CmdRemoveTool);
    ASSERT_TRUE(play.Exit());
    saved = ReadPanel(config, nullptr);
    EXPECT_TRUE(saved.tools.size() == 1 && saved.tools[0].typeName == "Video Poker") << "removed, the poker tool kept";
}

} // namespace
