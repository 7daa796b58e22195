// negotiation_test.cpp: the host's size questions as messages to a tool window. (What the host makes of
// any answer is tested natively; the real tool's answers with the tool.)
#include <gtest/gtest.h>

#include "apps/quorvane/size_question.h"
#include "host/host_messages.h"

namespace {

// What a stand-in tool was asked; it answers 200 x 117 whatever the question.
UINT askedMessage;
PanelSizeRequest asked;

LRESULT CALLBACK RecordingToolProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message < PTM_ADJUSTSIZE1 || message > PTM_ADJUSTSIZE3)
        return DefWindowProcA(window, message, wParam, lParam);
    askedMessage = message;
    asked = *reinterpret_cast<const PanelSizeRequest *>(lParam);
    return MAKELONG(200, 117);
}

TEST(HostNegotiation, EachKindOfQuestionIsItsOwnMessageWithTheHostsBounds)
{
    WNDCLASSA wc = {0, RecordingToolProc, 0, 0, GetModuleHandleA(nullptr)};
    wc.lpszClassName = "QuorvaneTestRecordingTool";
    ASSERT_TRUE(RegisterClassA(&wc));
    HWND tool = CreateWindowExA(0, wc.lpszClassName, "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, wc.hInstance, nullptr);
    ASSERT_TRUE(tool);
    const SizeBounds b = {60, 35, 240, 140};
    EXPECT_EQ(NegotiateToolSize(tool, WidthEdgeQuestion, false, ToolSize{205, 100}, b), (ToolSize{200, 117}));
    EXPECT_TRUE(askedMessage == PTM_ADJUSTSIZE1 && asked.heightGiven == 0 && asked.length == 205);
    EXPECT_TRUE(asked.minWidth == 60 && asked.minHeight == 35 && asked.maxWidth == 240 && asked.maxHeight == 140);
    NegotiateToolSize(tool, HeightEdgeQuestion, true, ToolSize{205, 300}, b);
    EXPECT_TRUE(askedMessage == PTM_ADJUSTSIZE2 && asked.heightGiven != 0);
    EXPECT_EQ(asked.length, 140) << "never more than the host's own maximum";
    NegotiateToolSize(tool, CornerQuestion, false, ToolSize{10, 10}, b);
    EXPECT_TRUE(askedMessage == PTM_ADJUSTSIZE3 && asked.length == 60);
    EXPECT_EQ(NegotiateToolSize(nullptr, CornerQuestion, false, ToolSize{100, 90}, b), (ToolSize{100, 90}))
        << "no tool to ask: the wish";
    DestroyWindow(tool);
}

} // namespace
