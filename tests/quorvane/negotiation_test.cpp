// negotiation_test.cpp: the host's size questions asked of a real Video Poker tool and of tools that
// answer badly, in this process.
#include <gtest/gtest.h>

#include "apps/quorvane/size_question.h"
#include "host/host_messages.h"

namespace {

struct LoadedType {
    HMODULE module = nullptr;
    PanelToolCreateProc create = nullptr;
};

const LoadedType &VideoPokerType()
{
    static LoadedType type = [] {
        LoadedType t;
        t.module = LoadLibraryA("VideoPoker.dll");
        if (!t.module)
            return t;
        auto enumerate = reinterpret_cast<EnumeratePanelTypesProc>(
            reinterpret_cast<void *>(GetProcAddress(t.module, "EnumeratePanelTypes")));
        char init[64] = {}, create[64] = {}, cleanup[64] = {};
        if (!enumerate || !enumerate(init, create, cleanup, GetModuleHandleA(nullptr), 0))
            return t;
        auto initType = reinterpret_cast<InitPanelTypeProc>(reinterpret_cast<void *>(GetProcAddress(t.module, init)));
        PanelTypeInfo *info = nullptr;
        if (initType)
            initType(&info, 0);
        t.create = reinterpret_cast<PanelToolCreateProc>(reinterpret_cast<void *>(GetProcAddress(t.module, create)));
        return t;
    }();
    return type;
}

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

    HWND RealTool()
    {
        const LoadedType &type = VideoPokerType();
        if (!type.create)
            return nullptr;
        RECT r = {10, 10, 250, 150};
        return type.create(parent_, &r, nullptr, 0, 0);
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
}

TEST_F(HostNegotiation, ASilentOrUnreasonableToolStillGetsASizeWithinTheBounds)
{
    SizeBounds b = {60, 35, 240, 140};
    recorded.answer = 0;
    EXPECT_EQ(NegotiateToolSize(recorder_, WidthEdgeQuestion, false, ToolSize{500, 90}, b), (ToolSize{240, 90}));
    recorded.answer = MAKELONG(5000, 3);
    EXPECT_EQ(NegotiateToolSize(recorder_, CornerQuestion, false, ToolSize{100, 90}, b), (ToolSize{240, 35}));
    EXPECT_EQ(NegotiateToolSize(nullptr, CornerQuestion, false, ToolSize{100, 90}, b), (ToolSize{100, 90}));
}

TEST_F(HostNegotiation, TheRealToolAnswersAtTwelveToSevenForEveryLength)
{
    HWND tool = RealTool();
    ASSERT_TRUE(tool) << "VideoPoker.dll beside the test";
    SizeBounds edge = {60, 35, 240, 140};
    EXPECT_EQ(NegotiateToolSize(tool, WidthEdgeQuestion, false, ToolSize{120, 1}, edge), (ToolSize{120, 69}));
    EXPECT_EQ(NegotiateToolSize(tool, HeightEdgeQuestion, true, ToolSize{1, 70}, edge), (ToolSize{120, 70}));
    EXPECT_EQ(NegotiateToolSize(tool, WidthEdgeQuestion, false, ToolSize{50, 1}, edge), (ToolSize{60, 35}));
    EXPECT_EQ(NegotiateToolSize(tool, HeightEdgeQuestion, true, ToolSize{1, 141}, edge), (ToolSize{240, 140}));
    EXPECT_EQ(AskDefaultSize(tool, ToolSize{1, 1}), (ToolSize{120, 70}));

    const SizeBounds boundsSet[] = {HostSizeLimits, BoundsWithRoom(500, 900), BoundsWithRoom(900, 200), edge};
    for (const SizeBounds &b : boundsSet) {
        for (int v = -3; v < 1300; v += 7) {
            for (int kind = WidthEdgeQuestion; kind <= CornerQuestion; ++kind) {
                bool heightLeads = kind == HeightEdgeQuestion || (kind == CornerQuestion && v % 2);
                ToolSize s = NegotiateToolSize(tool, static_cast<SizeQuestionKind>(kind), heightLeads, ToolSize{v, v}, b);
                ASSERT_TRUE(s.width >= b.minWidth && s.width <= b.maxWidth && s.height >= b.minHeight &&
                            s.height <= b.maxHeight)
                    << s.width << "x" << s.height << " for " << v << " (kind " << kind << ")";
                int off = s.height * 12 - s.width * 7;
                bool atMinimum = s.width == b.minWidth && s.height == b.minHeight;
                ASSERT_TRUE(atMinimum || (off <= 12 && off >= -12)) << s.width << "x" << s.height << " for " << v;
            }
        }
    }
    DestroyWindow(tool);
}

} // namespace
