// size_negotiation_test.cpp: the host's size questions and how it settles answers, against a model tool
// that answers as a 12-to-7 tool must, and against tools that answer badly.
#include <gtest/gtest.h>

#include <cstdint>

#include "apps/quorvane/size_negotiation.h"

namespace {

// A tool that keeps 12 to 7: the derived side is scaled with single-precision factors, capped by its
// maximum; below the minimum it answers the minimum itself.
uint32_t ModelToolAnswer(const SizeQuestion &q)
{
    const double widthPerHeight = static_cast<double>(1.7142857f);
    const double heightPerWidth = static_cast<double>(0.5833333f);
    auto scale = [](uint32_t v, double f) { return static_cast<uint32_t>(static_cast<uint16_t>(v) * f) & 0xFFFF; };
    int32_t width, height;
    if (q.heightGiven) {
        height = q.length;
        width = scale(q.length, widthPerHeight);
        if (width > q.bounds.maxWidth) {
            width = q.bounds.maxWidth & 0xFFFF;
            height = scale(width, heightPerWidth);
        }
    } else {
        width = q.length;
        height = scale(q.length, heightPerWidth);
        if (height > q.bounds.maxHeight) {
            height = q.bounds.maxHeight & 0xFFFF;
            width = scale(height, widthPerHeight);
        }
    }
    if (width < q.bounds.minWidth || height < q.bounds.minHeight)
        return (q.bounds.minWidth & 0xFFFF) | (static_cast<uint32_t>(q.bounds.minHeight & 0xFFFF) << 16);
    return (static_cast<uint32_t>(width) & 0xFFFF) | (static_cast<uint32_t>(height) << 16);
}

ToolSize Negotiate(SizeQuestionKind kind, bool heightLeads, ToolSize wished, const SizeBounds &b)
{
    SizeQuestion q = AskSize(kind, heightLeads, wished, b);
    return SettleSize(ModelToolAnswer(q), wished, b);
}

bool KeepsAspect(ToolSize s)
{
    int off = s.height * 12 - s.width * 7;
    return off <= 12 && off >= -12;    // within a pixel of 12 to 7
}

bool Within(ToolSize s, const SizeBounds &b)
{
    return s.width >= b.minWidth && s.width <= b.maxWidth && s.height >= b.minHeight && s.height <= b.maxHeight;
}

TEST(HostSizeQuestion, TheLeadingLengthIsClampedIntoTheBounds)
{
    SizeBounds b = {60, 35, 240, 140};
    SizeQuestion q = AskSize(WidthEdgeQuestion, false, ToolSize{500, 10}, b);
    EXPECT_EQ(q.kind, WidthEdgeQuestion);
    EXPECT_FALSE(q.heightGiven);
    EXPECT_EQ(q.length, 240);
    q = AskSize(HeightEdgeQuestion, true, ToolSize{500, 141}, b);
    EXPECT_TRUE(q.heightGiven);
    EXPECT_EQ(q.length, 140) << "the tool never checks the given length, so the host must";
    q = AskSize(CornerQuestion, true, ToolSize{0, -20}, b);
    EXPECT_EQ(q.length, 35);
    EXPECT_EQ(q.bounds.maxWidth, 240);
    EXPECT_EQ(q.bounds.minHeight, 35);
}

TEST(HostSizeQuestion, KnownAnswersOfA12To7Tool)
{
    SizeBounds b = {60, 35, 240, 140};
    EXPECT_EQ(Negotiate(WidthEdgeQuestion, false, {120, 1}, b), (ToolSize{120, 69}));
    EXPECT_EQ(Negotiate(HeightEdgeQuestion, true, {1, 70}, b), (ToolSize{120, 70}));
    EXPECT_EQ(Negotiate(WidthEdgeQuestion, false, {300, 1}, b), (ToolSize{240, 139}))
        << "300 is clamped to 240 first, and 7/12 of 240 truncates to 139";
    EXPECT_EQ(Negotiate(HeightEdgeQuestion, true, {1, 141}, b), (ToolSize{240, 140}))
        << "141 is clamped to 140 before the tool sees it, so (240, 139) never happens";
    EXPECT_EQ(Negotiate(WidthEdgeQuestion, false, {50, 1}, b), (ToolSize{60, 35}));
}

TEST(HostSizeQuestion, AnswersThatLeaveTheBoundsAreClamped)
{
    SizeBounds b = HostSizeLimits;
    EXPECT_EQ(SettleSize(0, ToolSize{500, 100}, b), (ToolSize{500, 100})) << "a silent tool gets the wish";
    EXPECT_EQ(SettleSize(0, ToolSize{5000, 1}, b), (ToolSize{b.maxWidth, b.minHeight}));
    EXPECT_EQ(SettleSize(300u, ToolSize{500, 100}, b), (ToolSize{500, 100})) << "no height: not an answer";
    EXPECT_EQ(SettleSize(0xFFFFFFFFu, ToolSize{500, 100}, b), (ToolSize{b.maxWidth, b.maxHeight}));
    EXPECT_EQ(SettleSize(10u | (5u << 16), ToolSize{500, 100}, b), (ToolSize{b.minWidth, b.minHeight}));
    EXPECT_EQ(SettleSize(240u | (140u << 16), ToolSize{1, 1}, b), (ToolSize{240, 140}));
}

TEST(HostSizeQuestion, RoomOnThePanelLowersTheMaximumButNeverBelowTheMinimum)
{
    SizeBounds b = BoundsWithRoom(500, 2000);
    EXPECT_EQ(b.maxWidth, 500);
    EXPECT_EQ(b.maxHeight, HostSizeLimits.maxHeight);
    EXPECT_EQ(b.minWidth, HostSizeLimits.minWidth);
    b = BoundsWithRoom(10, -40);
    EXPECT_EQ(b.maxWidth, HostSizeLimits.minWidth);
    EXPECT_EQ(b.maxHeight, HostSizeLimits.minHeight);
}

TEST(HostSizeQuestion, ACornerFollowsTheSideThatMovedMoreAtTwelveToSeven)
{
    ToolSize start = {240, 140};
    EXPECT_FALSE(HeightLeads(start, {264, 140}));
    EXPECT_TRUE(HeightLeads(start, {240, 150}));
    EXPECT_FALSE(HeightLeads(start, {252, 147})) << "12 and 7 pixels: an even move, the width leads";
    EXPECT_TRUE(HeightLeads(start, {251, 147}));
    EXPECT_FALSE(HeightLeads(start, {200, 140}));
}

TEST(HostSizeQuestion, EveryWishWithEveryRoomEndsAtTwelveToSevenWithinTheBounds)
{
    const int rooms[][2] = {{2000, 2000}, {700, 500}, {300, 900}, {1000, 150}, {50, 50}};
    for (const auto &room : rooms) {
        SizeBounds b = BoundsWithRoom(room[0], room[1]);
        for (int v = -5; v <= 1400; v += 3) {
            ToolSize byWidth = Negotiate(WidthEdgeQuestion, false, ToolSize{v, 100}, b);
            ToolSize byHeight = Negotiate(HeightEdgeQuestion, true, ToolSize{100, v}, b);
            for (ToolSize s : {byWidth, byHeight}) {
                ASSERT_TRUE(Within(s, b)) << s.width << "x" << s.height << " for " << v << " in room "
                                          << room[0] << "x" << room[1];
                bool atMinimum = s.width == b.minWidth && s.height == b.minHeight;
                ASSERT_TRUE(atMinimum || KeepsAspect(s)) << s.width << "x" << s.height << " for " << v;
            }
        }
    }
}

} // namespace
