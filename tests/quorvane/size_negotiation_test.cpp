// size_negotiation_test.cpp: how the host asks for a size and settles whatever the tool answers.
#include <gtest/gtest.h>

#include <cstdint>

#include "apps/quorvane/size_negotiation.h"

namespace {

constexpr SizeBounds Edge = {60, 35, 240, 140};

TEST(HostSizeQuestion, TheLeadingLengthIsClampedBeforeTheToolSeesIt)
{
    struct Case { SizeQuestionKind kind; bool heightLeads; ToolSize wished; uint16_t length; };
    const Case cases[] = {
        {WidthEdgeQuestion, false, {500, 10}, 240}, {HeightEdgeQuestion, true, {500, 141}, 140},
        {CornerQuestion, true, {0, -20}, 35},       {CornerQuestion, false, {-5, 900}, 60},
        {WidthEdgeQuestion, false, {205, 1}, 205},
    };
    for (const Case &c : cases) {
        SizeQuestion q = AskSize(c.kind, c.heightLeads, c.wished, Edge);
        EXPECT_EQ(q.kind, c.kind);
        EXPECT_EQ(q.heightGiven, c.heightLeads);
        EXPECT_EQ(q.length, c.length) << c.wished.width << "x" << c.wished.height;
        EXPECT_EQ(q.bounds.maxWidth, Edge.maxWidth);
        EXPECT_EQ(q.bounds.minHeight, Edge.minHeight);
    }
}

TEST(HostSizeQuestion, AnyAnswerEndsWithinTheBounds)
{
    struct Case { uint32_t answer; ToolSize wished, settled; };
    const SizeBounds b = LimitsFor({120, 70});
    EXPECT_TRUE(b.minWidth == 96 && b.minHeight == 56 && b.maxWidth == 1200 && b.maxHeight == 700);
    const Case cases[] = {
        {0, {500, 100}, {500, 100}},                           // silent: the wish
        {0, {5000, 1}, {b.maxWidth, b.minHeight}},             // silent: the wish, clamped
        {300u, {500, 100}, {500, 100}},                        // no height is no answer
        {0xFFFFFFFFu, {500, 100}, {b.maxWidth, b.maxHeight}},
        {10u | (5u << 16), {500, 100}, {b.minWidth, b.minHeight}},
        {240u | (140u << 16), {1, 1}, {240, 140}},             // a fair answer wins over the wish
    };
    for (const Case &c : cases)
        EXPECT_EQ(SettleSize(c.answer, c.wished, b), c.settled) << std::hex << c.answer;
}

TEST(HostSizeQuestion, RoomLowersTheMaximumButNeverBelowTheMinimumAndCornersFollowTheBiggerMove)
{
    const SizeBounds limits = LimitsFor({120, 70});
    SizeBounds b = BoundsWithRoom(limits, 500, 2000);
    EXPECT_EQ(b.maxWidth, 500);
    EXPECT_EQ(b.maxHeight, limits.maxHeight);
    EXPECT_EQ(b.minWidth, limits.minWidth);
    b = BoundsWithRoom(limits, 10, -40);
    EXPECT_EQ(b.maxWidth, limits.minWidth);
    EXPECT_EQ(b.maxHeight, limits.minHeight);

    ToolSize start = {240, 140};
    EXPECT_FALSE(HeightLeads(start, {264, 140}));
    EXPECT_TRUE(HeightLeads(start, {240, 150}));
    EXPECT_FALSE(HeightLeads(start, {252, 147})) << "12 and 7 pixels at 240 x 140: an even move, the width leads";
    EXPECT_TRUE(HeightLeads(start, {251, 147}));
}

} // namespace
