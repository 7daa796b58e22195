// leak_test.cpp: the GDI objects a tool holds, counted by filling the handle table around it
// (GetGuiResources answers 0 under Wine): paints and layouts keep exactly one font, with the table all
// but full too, and destruction frees it.
#include <gtest/gtest.h>
#include "panel/tool.h"
#include "tests/common/test_host.h"
#include "tests/common/hands.h"

namespace {

using GdiLeak = OneToolTest;

TEST_F(GdiLeak, PaintsAndLayoutsKeepOneFontEvenWithTheTableAlmostFullAndDestructionFreesIt)
{
    const char *const hand[HandSize] = {"KC", "KD", "KH", "5S", "5C"};   // held cards: the marker is drawn too
    CreateTool(300, 175, WaitingHand(hand, 2, "x.x..", 40));
    auto churn = [&](int times) {
        for (int i = 0; i < times; ++i) {
            Repaint(tool);
            SendMessageA(tool, PTM_LAYOUT, 0, 0);
        }
        host.Pump();
    };
    churn(200);   // the first paints settle whatever the system caches
    const Capture before = host.CaptureClient(tool);   // the cards, displays and buttons as shown
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
    EXPECT_EQ(host.CaptureClient(tool).pixels, before.pixels) << "with the table free again, it paints in full";

    GdiTableFill fill(400);
    ASSERT_TRUE(fill.Filled());
    const int free = fill.CountCreatable();
    churn(100);
    EXPECT_EQ(fill.CountCreatable(), free) << "layouts and repaints must leave exactly one font alive";
    DestroyTool();
    EXPECT_EQ(fill.CountCreatable(), free + 1) << "destroying the tool deletes its font";
}

} // namespace
