// hint_wine_test.cpp: the host run for real, asked for a hint and the strategy chart on restored tools.
#include <gtest/gtest.h>

#include "apps/quorvane/trainer/hints.h"
#include "tests/common/hands.h"
#include "tests/quorvane/host_driver.h"

namespace {

std::string AdviceText(const HostRun &run, const char *className)
{
    HWND window = FindProcessWindow(run.ProcessId(), className);
    return window ? WindowText(GetDlgItem(window, 100)) : std::string();
}

TEST(HintWindows, TheHintFollowsTheSelectionAndTheChartAddsTheMachinesOwn)
{
    // Tool 1 between hands; tool 2, on top and so selected, stands on a flush with four to a royal.
    const char *const flush[HandSize] = { "KS", "9S", "QS", "JS", "AS" };
    VideoPokerGame fresh;
    InitFreshGame(fresh);
    SavedPanel panel;
    panel.hasWindow = true;
    panel.window = { 40, 30, 900, 640, false };
    panel.tools.push_back(PokerTool(20, 40, 300, 175, fresh));
    panel.tools.push_back(PokerTool(380, 40, 300, 175, WaitingHand(flush, 5, "xxxxx")));
    std::string config = FreshTestFolder("hint") + "\\panel.cfg";
    ASSERT_TRUE(WritePanel(config, panel));
    HostRun run;
    ASSERT_TRUE(run.Start("--config \"" + config + "\" --unattended --no-save"));

    run.Command(CmdHint);   // at once, and with the hold's values once the worker has them
    std::string hint;
    EXPECT_TRUE(WaitFor([&] { return (hint = AdviceText(run, QUORVANE_HINT_CLASS)).find("Best:") != std::string::npos; },
                        LongWait)) << hint;
    EXPECT_NE(hint.find("Video Poker 2"), std::string::npos) << hint;
    EXPECT_NE(hint.find("Best: hold KS QS JS AS, draw 1 (cards 1, 3, 4 and 5).\r\n"), std::string::npos) << hint;
    EXPECT_NE(hint.find("Values for this machine's own dealing"), std::string::npos) << hint;
    run.Command(CmdDealing);   // and back: the setting is the player's
    EXPECT_NE(AdviceText(run, QUORVANE_HINT_CLASS).find("Values for an even deck"), std::string::npos);
    run.Command(CmdDealing);
    run.Command(CmdSelectPrevious);
    EXPECT_TRUE(WaitFor([&] { return AdviceText(run, QUORVANE_HINT_CLASS).find("Video Poker 1") != std::string::npos; },
                        LongWait));
    EXPECT_NE(AdviceText(run, QUORVANE_HINT_CLASS).find("No hand is waiting for the draw"), std::string::npos);
    // Escape on the panel puts the hint away, and each window's own key again puts it away.
    run.Command(CmdKeysToPlay);
    EXPECT_TRUE(WaitFor([&] { return !FindProcessWindow(run.ProcessId(), QUORVANE_HINT_CLASS); }, LongWait));
    const std::pair<int, const char *> windows[] = {{CmdHint, QUORVANE_HINT_CLASS},
        {CmdStatistics, QUORVANE_STATISTICS_CLASS}, {CmdMistakes, QUORVANE_MISTAKES_CLASS}};
    for (const auto &window : windows) {
        run.Command(window.first);
        run.Command(window.first);
        EXPECT_FALSE(FindProcessWindow(run.ProcessId(), window.second)) << window.second;
    }

    // The window opens at once; its charts are worked out on a thread of their own and follow.
    run.Command(CmdChart);
    std::string chart = AdviceText(run, QUORVANE_CHART_CLASS);
    EXPECT_NE(chart.find("(Ctrl+E switches)"), std::string::npos) << chart;
    EXPECT_TRUE(WaitFor([&] { return (chart = AdviceText(run, QUORVANE_CHART_CLASS)).find("    Hold") != std::string::npos; },
                        LongWait)) << chart;
    EXPECT_EQ(GetWindow(FindProcessWindow(run.ProcessId(), QUORVANE_CHART_CLASS), GW_OWNER), run.main)
        << "owned, so it stays above the main window";
    EXPECT_NE(chart.find("    Hold"), std::string::npos) << chart;
    EXPECT_NE(chart.find(" of deals\r\n 1. royal flush"), std::string::npos) << chart;
    EXPECT_NE(chart.find(". draw five "), std::string::npos) << "every line, down to the last";
    EXPECT_NE(chart.find("Chart return:   99.54"), std::string::npos) << chart;
    EXPECT_NE(chart.find("Optimal return: 99.543904%"), std::string::npos) << chart;
    // The machine's own chart follows once worked out, with its return under the machine's dealing.
    ASSERT_TRUE(WaitFor([&] { return AdviceText(run, QUORVANE_CHART_CLASS).find("Lines that differ") != std::string::npos; },
                        300000));
    chart = AdviceText(run, QUORVANE_CHART_CLASS);
    EXPECT_NE(chart.find("Chart return:   99.293664%\r\nOptimal return: 99.298723%"), std::string::npos) << chart;
    EXPECT_LT(chart.find("Lines that differ"), chart.find("(Jacks or Better, 5 coins, even deck)"))
        << "the chart of the dealing in force, this machine's, first";
    RECT window, line, overlap;
    GetWindowRect(FindProcessWindow(run.ProcessId(), QUORVANE_CHART_CLASS), &window);
    GetWindowRect(run.status, &line);
    EXPECT_FALSE(IntersectRect(&overlap, &window, &line)) << "the verdicts on the status line stay in sight";
    EXPECT_GT(window.right - window.left, 720) << "wide enough for the machine chart's columns";
    run.Command(CmdExit);
    DWORD code = 0;
    EXPECT_TRUE(run.WaitExit(LongWait, &code));
}

} // namespace
