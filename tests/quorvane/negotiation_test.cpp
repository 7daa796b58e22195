// negotiation_test.cpp: the host's size questions as messages to a tool window. (What the host makes of
// any answer is tested natively; the real tool's answers with the tool.)
#include <gtest/gtest.h>

#include "apps/quorvane/size_question.h"
#include "host/host_messages.h"

namespace {

// A stand-in tool that records what it was asked and answers what the test says.
struct Recorded {
    UINT message = 0;
    PanelSizeRequest request = {};
    LRESULT answer = 0;
} recorded;

LRESULT CALLBACK RecordingToolProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message >= PTM_ADJUSTSIZE1 && message <= PTM_ADJUSTSIZE3) {
        recorded.message = message;
        recorded.request = *reinterpret_cast<const PanelSizeRequest *>(lParam);
        return recorded.answer;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

class HostNegotiation : public testing::Test {
protected:
    void SetUp() override
    {
        WNDCLASSA wc = {};
        wc.lpfnWndProc = RecordingToolProc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "QuorvaneTestRecordingTool";
        RegisterClassA(&wc);
        parent_ = CreateWindowExA(0, "Static", "", WS_POPUP, 0, 0, 800, 600, nullptr, nullptr, nullptr, nullptr);
        ASSERT_TRUE(parent_);
        recorder_ = CreateWindowExA(0, "QuorvaneTestRecordingTool", "", WS_CHILD, 0, 0, 10, 10, parent_, nullptr,
                                    wc.hInstance, nullptr);
        ASSERT_TRUE(recorder_);
    }
    void TearDown() override
    {
        DestroyWindow(parent_);
    }

    HWND parent_ = nullptr, recorder_ = nullptr;
};

TEST_F(HostNegotiation, EachKindOfQuestionIsItsOwnMessageWithTheHostsBounds)
{
    SizeBounds b = {60, 35, 240, 140};
    recorded.answer = MAKELONG(200, 117);
    EXPECT_EQ(NegotiateToolSize(recorder_, WidthEdgeQuestion, false, ToolSize{205, 100}, b), (ToolSize{200, 117}));
    EXPECT_EQ(recorded.message, static_cast<UINT>(PTM_ADJUSTSIZE1));
    EXPECT_EQ(recorded.request.heightGiven, 0);
    EXPECT_EQ(recorded.request.length, 205);
    EXPECT_EQ(recorded.request.minWidth, 60);
    EXPECT_EQ(recorded.request.minHeight, 35);
    EXPECT_EQ(recorded.request.maxWidth, 240);
    EXPECT_EQ(recorded.request.maxHeight, 140);
    NegotiateToolSize(recorder_, HeightEdgeQuestion, true, ToolSize{205, 300}, b);
    EXPECT_EQ(recorded.message, static_cast<UINT>(PTM_ADJUSTSIZE2));
    EXPECT_NE(recorded.request.heightGiven, 0);
    EXPECT_EQ(recorded.request.length, 140) << "never more than the host's own maximum";
    NegotiateToolSize(recorder_, CornerQuestion, false, ToolSize{10, 10}, b);
    EXPECT_EQ(recorded.message, static_cast<UINT>(PTM_ADJUSTSIZE3));
    EXPECT_EQ(recorded.request.length, 60);
    EXPECT_EQ(NegotiateToolSize(nullptr, CornerQuestion, false, ToolSize{100, 90}, b), (ToolSize{100, 90}))
        << "no tool to ask: the wish";
}

} // namespace
