// leak_test.cpp: painting with the GDI handle table all but full. (Leaks of ordinary paints and layouts
// are counted with the tool.)
#include <gtest/gtest.h>
#include "panel/tool.h"
#include "tests/common/test_host.h"
#include "tests/common/hands.h"

namespace {

class GdiLeak : public OneToolTest {};

TEST_F(GdiLeak, PaintingWithTheHandleTableAlmostFullLeaksNothingAndThenPaintsInFull)
{
    const char *const hand[HandSize] = {"KC", "KD", "KH", "5S", "5C"};
    VideoPokerGame block = WaitingHand(hand, 2, "x.x..", 40);
    CreateTool(300, 175, block);
    Repaint(tool);
    std::vector<Capture> before;
    for (HWND card : record->cardWindows)
        before.push_back(host.CaptureClient(card));
    // With too few handles for the brushes and pens, the paint goes on with what it could make and
    // still gives every one of them back.
    for (int headroom : {0, 1, 2, 5}) {
        SCOPED_TRACE(testing::Message() << "headroom " << headroom);
        GdiTableFill fill(headroom);
        ASSERT_TRUE(fill.Filled());
        Repaint(tool);
        ASSERT_EQ(fill.CountCreatable(), headroom) << "handles lost";
    }
    Repaint(tool);
    for (int i = 0; i < HandSize; ++i)
        EXPECT_EQ(host.CaptureClient(record->cardWindows[i]).pixels, before[i].pixels) << "card " << i;
}

} // namespace
