// panel_parts.h: how the panel window's files share their work: the felt and the composed canvas
// (panel_felt.cpp), the decoration around each tool (panel_decoration.cpp), and hit-testing and dragging
// (panel_drag.cpp), all used by the window itself (panel_window.cpp).
#pragma once

#include "apps/quorvane/host_state.h"

// panel_felt.cpp
// The canvas for one paint: the felt under area with the tools' shadows; null when no bitmap could be made.
HDC ComposePanelCanvas(int width, int height, const RECT &area);
void FillWithFeltEdge(HDC dc, const RECT &rect);
void ReleasePanelBitmaps();

// panel_decoration.cpp
RECT CloseBox(const RECT &toolRect);    // the close box in a tool's tab
void DrawToolDecoration(HDC dc, const PanelTool &tool, bool selected);

// panel_drag.cpp
struct Hit {
    PanelTool *tool = nullptr;
    DragKind kind = DragKind::None;
};
Hit HitTest(POINT panelPoint);
LPCSTR CursorFor(DragKind kind);
void BeginDrag(HWND panel, DragKind kind, PanelTool &tool, POINT at);
void ContinueDrag(POINT at);
void EndDrag(HWND panel, POINT at, bool keep);
