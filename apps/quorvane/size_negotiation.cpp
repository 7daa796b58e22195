// size_negotiation.cpp: the host's side of the size questions; no window is touched here.
#include "apps/quorvane/size_negotiation.h"

namespace {

int Clamp(int v, int low, int high)
{
    return v < low ? low : v > high ? high : v;
}

int Magnitude(int v)
{
    return v < 0 ? -v : v;
}

} // namespace

SizeBounds LimitsFor(ToolSize defaultSize)
{
    return SizeBounds{defaultSize.width * 4 / 5, defaultSize.height * 4 / 5, defaultSize.width * 10,
                      defaultSize.height * 10};
}

SizeBounds BoundsWithRoom(const SizeBounds &limits, int roomWidth, int roomHeight)
{
    SizeBounds b = limits;
    b.maxWidth = Clamp(roomWidth, b.minWidth, b.maxWidth);
    b.maxHeight = Clamp(roomHeight, b.minHeight, b.maxHeight);
    return b;
}

bool HeightLeads(ToolSize start, ToolSize wished)
{
    int widthChange = Magnitude(wished.width - start.width);
    int heightChange = Magnitude(wished.height - start.height);
    return static_cast<long long>(heightChange) * start.width > static_cast<long long>(widthChange) * start.height;
}

SizeQuestion AskSize(SizeQuestionKind kind, bool heightLeads, ToolSize wished, const SizeBounds &bounds)
{
    SizeQuestion q;
    q.kind = kind;
    q.bounds = bounds;
    q.heightGiven = heightLeads;
    int length = heightLeads ? Clamp(wished.height, bounds.minHeight, bounds.maxHeight)
                             : Clamp(wished.width, bounds.minWidth, bounds.maxWidth);
    q.length = static_cast<uint16_t>(Clamp(length, 0, 0xFFFF));
    return q;
}

ToolSize SettleSize(uint32_t answer, ToolSize wished, const SizeBounds &bounds)
{
    ToolSize size = {static_cast<int>(answer & 0xFFFF), static_cast<int>(answer >> 16)};
    if (size.width == 0 || size.height == 0)
        size = wished;
    size.width = Clamp(size.width, bounds.minWidth, bounds.maxWidth);
    size.height = Clamp(size.height, bounds.minHeight, bounds.maxHeight);
    return size;
}
