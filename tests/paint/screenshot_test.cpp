// screenshot_test.cpp: whole tools in three moments of a game, checked and written out as PNG files.
#include <cstring>
#include <string>
#include <gtest/gtest.h>
#include "panel/tool.h"
#include "tests/common/test_host.h"
#include "tests/paint/paint_reference.h"

namespace {

const COLORREF kYellow = RGB(255, 255, 0);

// Queen of hearts, seven of clubs, queen of spades, three of diamonds, ten of hearts: the queens held.
const Card kPairDealt[HandSize] = {36, 5, 49, 14, 34};
const uint8_t kPairHeld[HandSize] = {1, 0, 1, 0, 0};
// Kings of clubs, diamonds and hearts, fives of spades and clubs, all held: the draw keeps a full house.
const Card kFullHouse[HandSize] = {11, 24, 37, 42, 3};
const uint8_t kAllHeld[HandSize] = {1, 1, 1, 1, 1};

class ToolScreenshot : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(host.Ready()); }
    void TearDown() override { Destroy(); }
    void Destroy()
    {
        if (tool)
            DestroyWindow(tool);
        tool = nullptr;
        host.Pump();
    }
    void Create(SIZE toolSize, const VideoPokerGame *block)
    {
        size = toolSize;
        tool = block ? host.CreateLaidOutTool(size.cx, size.cy, block, sizeof *block)
                     : host.CreateLaidOutTool(size.cx, size.cy);
        ASSERT_NE(tool, nullptr);
        record = ToolRecord(tool);
        ASSERT_NE(record, nullptr);
    }
    std::string Name(const char *state) const
    {
        return "tool-" + std::to_string(size.cx) + "x" + std::to_string(size.cy) + "-" + state;
    }
    // Which cards show the hold marker's yellow.
    std::string MarkedCards() const
    {
        std::string marked;
        for (int i = 0; i < HandSize; ++i) {
            Capture card = host.CaptureClient(record->cardWindows[i]);
            marked += CountColour(card, RECT{0, 0, card.width, card.height}, kYellow) ? 'H' : '-';
        }
        return marked;
    }
    bool DisplayShowsText(int d) const
    {
        Capture shown = host.CaptureClient(record->displayWindows[d]);
        return CountColour(shown, RECT{0, 0, shown.width, shown.height}, GetSysColor(COLOR_ACTIVECAPTION)) > 0;
    }
    void Save(const char *state) const
    {
        EXPECT_TRUE(WritePng(host.CaptureClient(tool), ScreenshotPath(Name(state))));
    }

    TestHost &host = TestHost::Instance();
    HWND tool = nullptr;
    VideoPokerToolData *record = nullptr;
    SIZE size = {};
};

const SIZE kSizes[] = {{120, 70}, {300, 175}};

TEST_F(ToolScreenshot, FreshGame)
{
    for (SIZE toolSize : kSizes) {
        Create(toolSize, nullptr);
        EXPECT_EQ(MarkedCards(), "-----");
        for (int d = 0; d < 3; ++d)
            EXPECT_TRUE(DisplayShowsText(d)) << record->displayTexts[d];
        Save("fresh");
        Destroy();
    }
}

TEST_F(ToolScreenshot, WaitingForTheDrawWithTwoCardsHeld)
{
    for (SIZE toolSize : kSizes) {
        VideoPokerGame block = WaitingHand(kPairDealt, kPairHeld, 5, 95);
        Create(toolSize, &block);
        EXPECT_EQ(MarkedCards(), "H-H--");
        Save("held");
        Destroy();
    }
}

TEST_F(ToolScreenshot, AfterAWinningDraw)
{
    for (SIZE toolSize : kSizes) {
        VideoPokerGame block = WaitingHand(kFullHouse, kAllHeld, 5, 95);
        Create(toolSize, &block);
        EXPECT_EQ(MarkedCards(), "HHHHH");
        SendMessageA(record->buttons[2], BM_CLICK, 0, 0);
        host.Pump();
        EXPECT_EQ(record->game.handComplete, 1);
        EXPECT_EQ(memcmp(record->game.card, kFullHouse, sizeof kFullHouse), 0) << "every card was held";
        EXPECT_GT(record->game.credits, 95);
        EXPECT_EQ(std::string(record->displayTexts[2]).rfind("Full House", 0), 0u) << record->displayTexts[2];
        EXPECT_EQ(MarkedCards(), "-----") << "a draw clears every hold";
        EXPECT_TRUE(DisplayShowsText(2));
        Save("won");
        Destroy();
    }
}

} // namespace
