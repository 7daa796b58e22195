// size_question.cpp: the host's size questions as messages to a tool window.
#include "apps/quorvane/size_question.h"
#include "host/host_messages.h"

ToolSize NegotiateToolSize(HWND tool, SizeQuestionKind kind, bool heightLeads, ToolSize wished,
                           const SizeBounds &bounds)
{
    SizeQuestion q = AskSize(kind, heightLeads, wished, bounds);
    if (!tool)
        return SettleSize(0, wished, bounds);
    PanelSizeRequest request = {};
    request.minWidth = q.bounds.minWidth;
    request.minHeight = q.bounds.minHeight;
    request.maxWidth = q.bounds.maxWidth;
    request.maxHeight = q.bounds.maxHeight;
    request.heightGiven = q.heightGiven ? 1 : 0;
    request.length = q.length;
    UINT message = PTM_ADJUSTSIZE1 + (q.kind - WidthEdgeQuestion);
    LRESULT answer = SendMessageA(tool, message, 0, reinterpret_cast<LPARAM>(&request));
    // What the host asked for leads when the tool is silent: the proposal, already clamped.
    ToolSize asked = wished;
    if (q.heightGiven)
        asked.height = q.length;
    else
        asked.width = q.length;
    return SettleSize(static_cast<uint32_t>(answer), asked, bounds);
}

ToolSize AskDefaultSize(HWND tool, ToolSize fallback)
{
    if (!tool)
        return fallback;
    LRESULT packed = SendMessageA(tool, PTM_GETDEFAULTSIZE, 0, 0);
    ToolSize size = {LOWORD(packed), HIWORD(packed)};
    if (size.width == 0 || size.height == 0)
        return fallback;
    return size;
}
