// hint_wine_test.cpp: the host run for real, asked for a hint and statistics on tools restored from blocks.
#include <gtest/gtest.h>

#include <cstring>

#include "apps/quorvane/hints.h"
#include "tests/common/hands.h"
#include "tests/quorvane/host_driver.h"

namespace {

constexpr int DealDrawId = 264;

// The whole text of a window of the host, however long.
std::string LongText(HWND window)
{
    DWORD_PTR length = 0;
    SendMessageTimeoutA(window, WM_GETTEXTLENGTH, 0, 0, SMTO_NORMAL, 10000, &length);
    std::string text(length + 1, '\0');
    DWORD_PTR copied = 0;
    SendMessageTimeoutA(window, WM_GETTEXT, length + 1, reinterpret_cast<LPARAM>(&text[0]), SMTO_NORMAL, 10000,
                        &copied);
    text.resize(copied);
    return text;
}

std::string AdviceText(const HostRun &run, const char *className)
{
    HWND window = FindProcessWindow(run.ProcessId(), className);
    return window ? LongText(GetDlgItem(window, 100)) : std::string();
}

class HintWindowTest : public ::testing::Test {
protected:
    // Tool 1 between hands; tool 2, on top and so selected, waits for the draw with `hand`.
    bool StartWith(const char *name, const VideoPokerGame &hand)
    {
        std::string folder = FreshTestFolder(name);
        SavedPanel panel;
        panel.hasWindow = true;
        panel.window = { 40, 30, 900, 640, false };
        VideoPokerGame fresh;
        InitFreshGame(fresh);
        panel.tools.push_back(PokerTool(20, 40, 300, 175, fresh));
        panel.tools.push_back(PokerTool(380, 40, 300, 175, hand));
        std::string config = folder + "\\panel.cfg";
        return WritePanel(config, panel) && run.Start("--config \"" + config + "\" --unattended --no-save");
    }
    void TearDown() override
    {
        run.Command(CmdExit);
        DWORD code = 0;
        run.WaitExit(10000, &code);
    }
    HostRun run;
};

TEST_F(HintWindowTest, NamesTheBestHoldOfTheRestoredHandAndFollowsTheSelection)
{
    const char *const names[HandSize] = { "KS", "9S", "QS", "JS", "AS" };
    ASSERT_TRUE(StartWith("hint", WaitingHand(names, 5, "xxxxx")));
    run.Command(CmdHint);
    std::string hint = AdviceText(run, QUORVANE_HINT_CLASS);
    EXPECT_NE(hint.find("Video Poker 2"), std::string::npos) << hint;
    EXPECT_NE(hint.find("Best: hold KS QS JS AS, draw 1 (cards 1, 3, 4 and 5)."), std::string::npos) << hint;
    EXPECT_NE(hint.find("\r\n"), std::string::npos) << "lines as the edit control shows them";

    // The other tool has no hand waiting: the open hint follows the selection.
    run.Command(CmdSelectPrevious);
    EXPECT_TRUE(WaitFor([&] { return AdviceText(run, QUORVANE_HINT_CLASS).find("Video Poker 1") != std::string::npos; },
                        10000));
    EXPECT_NE(AdviceText(run, QUORVANE_HINT_CLASS).find("No hand is waiting for the draw"), std::string::npos);
}

TEST_F(HintWindowTest, StatisticsCountTheHandDrawnWithTheToolsOwnButton)
{
    const char *const names[HandSize] = { "AC", "AD", "AH", "AS", "KC" };
    ASSERT_TRUE(StartWith("statistics", WaitingHand(names, 3, "xxxx.")));
    run.Command(CmdStatistics);
    EXPECT_NE(AdviceText(run, QUORVANE_STATISTICS_CLASS).find("No hand has been drawn"), std::string::npos);

    HWND tool = run.ToolAt(380, 40);
    ASSERT_NE(tool, nullptr);
    DWORD_PTR result = 0;
    SendMessageTimeoutA(ToolButton(tool, DealDrawId), BM_CLICK, 0, 0, SMTO_NORMAL, 20000, &result);
    ASSERT_TRUE(WaitFor([&] { return AdviceText(run, QUORVANE_STATISTICS_CLASS).find("Hands played: 1") != std::string::npos; },
                        10000))
        << AdviceText(run, QUORVANE_STATISTICS_CLASS);
    std::string statistics = AdviceText(run, QUORVANE_STATISTICS_CLASS);
    EXPECT_NE(statistics.find("Coins bet: 3    won: 75"), std::string::npos) << statistics;
    EXPECT_NE(statistics.find("Best hold taken in 1 of 1 hands."), std::string::npos) << statistics;
}

TEST_F(HintWindowTest, StrategyChartListsItsLinesInOrderWithItsExactReturn)
{
    const char *const names[HandSize] = { "2C", "7D", "9H", "JS", "4C" };
    ASSERT_TRUE(StartWith("chart", WaitingHand(names, 5, ".....")));
    run.Command(CmdChart);
    std::string chart = AdviceText(run, QUORVANE_CHART_CLASS);
    size_t royal = chart.find(" 1. royal flush"), fourToRoyal = chart.find("4 to a royal flush"),
           highPair = chart.find("high pair (J-A)"), drawFive = chart.find("draw five");
    ASSERT_NE(drawFive, std::string::npos) << chart;
    EXPECT_TRUE(royal < fourToRoyal && fourToRoyal < highPair && highPair < drawFive) << chart;
    EXPECT_NE(chart.find("Chart return:   99.54"), std::string::npos) << chart;
    EXPECT_NE(chart.find("Optimal return: 99.543904%"), std::string::npos) << chart;
    // The machine's own chart follows once worked out, with its return under the machine's dealing.
    ASSERT_TRUE(WaitFor([&] { return AdviceText(run, QUORVANE_CHART_CLASS).find("Lines that differ") != std::string::npos; },
                        300000));
    chart = AdviceText(run, QUORVANE_CHART_CLASS);
    EXPECT_NE(chart.find("Chart return:   99.167273%\r\nOptimal return: 99.298723%"), std::string::npos) << chart;
}

} // namespace
