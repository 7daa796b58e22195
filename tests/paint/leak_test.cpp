// leak_test.cpp: painting cards and displays, again and again, leaves no graphics object behind.
#include <gtest/gtest.h>
#include "panel/tool.h"
#include "tests/common/test_host.h"
#include "tests/paint/paint_reference.h"

namespace {

const Card kHand[HandSize] = {11, 24, 37, 42, 3};

class GdiLeak : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(host.Ready());
        const uint8_t held[HandSize] = {1, 0, 1, 0, 0};
        VideoPokerGame block = WaitingHand(kHand, held, 2, 40);
        tool = host.CreateLaidOutTool(300, 175, &block, sizeof block);
        ASSERT_NE(tool, nullptr);
        record = ToolRecord(tool);
        ASSERT_NE(record, nullptr);
        // Whatever the system caches on first use (device contexts, realised fonts of each size the
        // layouts below make) is made before counting.
        for (SIZE size : sizes) {
            host.Resize(tool, size.cx, size.cy);
            RepaintAll();
        }
        host.Resize(tool, 300, 175);
        RepaintAll();
    }
    void TearDown() override
    {
        if (tool)
            DestroyWindow(tool);
        host.Pump();
    }
    void RepaintAll()
    {
        RedrawWindow(tool, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
        host.Pump();
    }

    const SIZE sizes[4] = {{300, 175}, {120, 70}, {240, 140}, {301, 176}};
    TestHost &host = TestHost::Instance();
    HWND tool = nullptr;
    VideoPokerToolData *record = nullptr;
};

TEST_F(GdiLeak, HundredsOfRepaintsAndLayoutsLeaveEveryHandleFree)
{
    const int headroom = 64;
    size_t cardPaints = 0, displayPaints = 0;
    {
        GdiTableFill fill(headroom);
        ASSERT_TRUE(fill.Filled());
        host.ClearRecords();
        for (int round = 0; round < 300; ++round) {
            if (round % 3 == 0)
                host.Resize(tool, sizes[round / 3 % 4].cx, sizes[round / 3 % 4].cy);
            SendMessageA(record->cardWindows[round % HandSize], WM_LBUTTONUP, 0, 0);
            SendMessageA(record->displayWindows[round % 3], WM_SETTEXT, 0,
                         reinterpret_cast<LPARAM>(round % 2 ? "Full House : 18" : "WAGER: 2"));
            RepaintAll();
            // Checked every round: a leak stops the test before it can starve the whole process.
            ASSERT_EQ(fill.CountCreatable(), headroom) << "handles lost by round " << round;
        }
        for (const PaintRecord &asked : host.PaintRequests()) {
            for (HWND card : record->cardWindows)
                cardPaints += asked.painter == card;
            for (HWND display : record->displayWindows)
                displayPaints += asked.painter == display;
        }
    }
    // Every one of the 300 rounds repainted all five cards and all three displays.
    EXPECT_GE(cardPaints, 300u * HandSize);
    EXPECT_GE(displayPaints, 300u * 3);
}

TEST_F(GdiLeak, PaintingWithTheHandleTableAlmostFullLeaksNothing)
{
    RepaintAll();
    std::vector<Capture> before;
    for (HWND card : record->cardWindows)
        before.push_back(host.CaptureClient(card));
    // With too few handles for the brushes and pens, the paint goes on with what it could make and
    // still gives every one of them back.
    for (int headroom : {0, 1, 2, 5}) {
        SCOPED_TRACE(testing::Message() << "headroom " << headroom);
        GdiTableFill fill(headroom);
        ASSERT_TRUE(fill.Filled());
        for (int round = 0; round < 3; ++round) {
            RepaintAll();
            ASSERT_EQ(fill.CountCreatable(), headroom) << "handles lost by round " << round;
        }
    }
    // And with handles back, the cards paint in full again.
    RepaintAll();
    for (int i = 0; i < HandSize; ++i)
        EXPECT_TRUE(SameImage(host.CaptureClient(record->cardWindows[i]), before[i])) << "card " << i;
}

} // namespace
