// panel_drag.cpp: which part of a tool's decoration lies under a point, and dragging a tab to move a
// tool or an edge or corner to resize it (Esc or a lost capture puts it back).
#include "apps/quorvane/panel_parts.h"
#include "apps/quorvane/tools.h"
#include "apps/quorvane/panel_window.h"
#include "apps/quorvane/commands.h"
#include "apps/quorvane/status_line.h"
#include "apps/quorvane/persistence.h"
#include "apps/quorvane/rect_size.h"
#include "apps/quorvane/screen_scale.h"

namespace {

void DescribeSize(const PanelTool &tool)
{
    SetStatus(ToolTitle(tool) + ": " + std::to_string(Width(tool.rect)) + " x " +
              std::to_string(Height(tool.rect)) + " (the tool keeps its shape).");
}

} // namespace

Hit HitTest(POINT p)
{
    Hit hit;
    for (auto t = host.tools.rbegin(); t != host.tools.rend(); ++t) {
        const RECT &r = t->rect;
        RECT decorated = DecoratedRect(r);
        if (!PtInRect(&decorated, p))
            continue;
        hit.tool = &*t;
        RECT close = CloseBox(r);
        InflateRect(&close, 1, 1);
        if (p.y < r.top) {
            hit.kind = PtInRect(&close, p) && Width(r) > Scaled(60) ? DragKind::Close : DragKind::Move;
            return hit;
        }
        bool nearLeft = p.x < r.left + 12, nearRight = p.x >= r.right - 12;
        bool low = p.y >= r.bottom - 12;
        if (p.y >= r.bottom || p.x < r.left || p.x >= r.right) {
            if (low && nearLeft)
                hit.kind = DragKind::BottomLeft;
            else if (low && nearRight)
                hit.kind = DragKind::BottomRight;
            else if (p.y >= r.bottom)
                hit.kind = DragKind::Bottom;
            else
                hit.kind = p.x < r.left ? DragKind::Left : DragKind::Right;
            return hit;
        }
        hit.kind = DragKind::None;     // inside the tool: the tool's own window has it
        return hit;
    }
    return hit;
}

LPCSTR CursorFor(DragKind kind)
{
    switch (kind) {
    case DragKind::Move:        return IDC_SIZEALL;
    case DragKind::Left:
    case DragKind::Right:       return IDC_SIZEWE;
    case DragKind::Bottom:      return IDC_SIZENS;
    case DragKind::BottomLeft:  return IDC_SIZENESW;
    case DragKind::BottomRight: return IDC_SIZENWSE;
    case DragKind::Close:       return IDC_HAND;
    default:                    return IDC_ARROW;
    }
}

void BeginDrag(HWND panel, DragKind kind, PanelTool &tool, POINT at)
{
    host.drag = kind;
    host.dragTool = tool.number;
    host.dragAnchor = at;
    host.dragStartRect = tool.rect;
    SetCapture(panel);
    if (kind == DragKind::Move)
        SetStatus("Moving " + ToolTitle(tool) + ": release to place it, Esc to cancel.");
    else if (kind != DragKind::Close)
        DescribeSize(tool);
}

void ContinueDrag(POINT at)
{
    PanelTool *tool = host.ByNumber(host.dragTool);
    if (!tool)
        return;
    const RECT &s = host.dragStartRect;
    int dx = at.x - host.dragAnchor.x, dy = at.y - host.dragAnchor.y;
    ToolSize start = {Width(s), Height(s)};
    switch (host.drag) {
    case DragKind::Move:
        MoveToolTo(*tool, s.left + dx, s.top + dy);
        SetStatus("Moving " + ToolTitle(*tool) + " to " + std::to_string(tool->rect.left) + ", " +
                  std::to_string(tool->rect.top) + ".");
        return;
    case DragKind::Right:
        ResizeTool(*tool, WidthEdgeQuestion, false, ToolSize{start.width + dx, start.height}, s, host.drag);
        break;
    case DragKind::Left:
        ResizeTool(*tool, WidthEdgeQuestion, false, ToolSize{start.width - dx, start.height}, s, host.drag);
        break;
    case DragKind::Bottom:
        ResizeTool(*tool, HeightEdgeQuestion, true, ToolSize{start.width, start.height + dy}, s, host.drag);
        break;
    case DragKind::BottomRight:
    case DragKind::BottomLeft: {
        ToolSize wished = {host.drag == DragKind::BottomRight ? start.width + dx : start.width - dx,
                           start.height + dy};
        ResizeTool(*tool, CornerQuestion, HeightLeads(start, wished), wished, s, host.drag);
        break;
    }
    default:
        return;
    }
    DescribeSize(*tool);
}

void EndDrag(HWND panel, POINT at, bool keep)
{
    DragKind kind = host.drag;
    host.drag = DragKind::None;
    if (GetCapture() == panel)
        ReleaseCapture();
    PanelTool *tool = host.ByNumber(host.dragTool);
    if (!tool)
        return;
    if (kind == DragKind::Close) {
        Hit hit = HitTest(at);
        if (keep && hit.tool == tool && hit.kind == DragKind::Close)
            RemoveToolAsked(tool->number);
        return;
    }
    if (!keep) {
        const RECT &s = host.dragStartRect;
        if (kind == DragKind::Move)
            MoveToolTo(*tool, s.left, s.top);
        else
            ResizeTool(*tool, CornerQuestion, false, ToolSize{Width(s), Height(s)}, s, DragKind::BottomRight);
        SetStatus("Cancelled.");
        return;
    }
    const std::string place = std::to_string(tool->rect.left) + ", " + std::to_string(tool->rect.top);
    const std::string size = std::to_string(Width(tool->rect)) + " x " + std::to_string(Height(tool->rect));
    SetStatus(kind == DragKind::Move ? "Moved " + ToolTitle(*tool) + " to " + place + "."
                                     : "Resized " + ToolTitle(*tool) + " to " + size + ".");
    SaveSoon();
}

void BeginMoveDrag(int number, POINT panelPoint)
{
    if (PanelTool *tool = host.ByNumber(number))
        BeginDrag(host.panelWindow, DragKind::Move, *tool, panelPoint);
}

