// size_negotiation.h: how the host turns a wished size into a question for the tool, and settles the answer.
//
// The host proposes one length (the leading one) within its own bounds; the tool answers a packed
// MAKELONG(width, height); the host clamps that answer into its bounds, so a tool that answers
// nonsense, or nothing (0), still ends up with a size the panel accepts.
#pragma once

#include <cstdint>

// Which of the three size questions the host asks (the tool may treat them alike):
// 1 the person drags a side edge (the width leads), 2 the bottom edge (the height leads),
// 3 a corner or a keyboard step (the host picked the leading dimension itself).
enum SizeQuestionKind { WidthEdgeQuestion = 1, HeightEdgeQuestion = 2, CornerQuestion = 3 };

struct SizeBounds {
    int minWidth, minHeight, maxWidth, maxHeight;
};

struct SizeQuestion {
    SizeQuestionKind kind;
    SizeBounds bounds;
    bool heightGiven;
    uint16_t length;
};

struct ToolSize {
    int width, height;
    bool operator==(const ToolSize &o) const { return width == o.width && height == o.height; }
};

// The host's limits for a tool, from the default size the tool gives (PTM_GETDEFAULTSIZE): it may shrink
// to four fifths of it and grow to ten times it.
SizeBounds LimitsFor(ToolSize defaultSize);

// The limits for a tool whose growing edges have roomWidth and roomHeight of panel left to grow into:
// never above its limits, never below its minimum.
SizeBounds BoundsWithRoom(const SizeBounds &limits, int roomWidth, int roomHeight);

// For a corner: the dimension the person changed more, measured against the tool's own size, leads.
bool HeightLeads(ToolSize start, ToolSize wished);

// The question for a wished size; the leading length is clamped into the bounds first.
SizeQuestion AskSize(SizeQuestionKind kind, bool heightLeads, ToolSize wished, const SizeBounds &bounds);

// The size to apply: the tool's packed answer clamped into the bounds, or, when the tool did not
// answer (0 or an empty size), the wished size clamped.
ToolSize SettleSize(uint32_t answer, ToolSize wished, const SizeBounds &bounds);
