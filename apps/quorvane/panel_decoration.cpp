// panel_decoration.cpp: what the host draws around each tool: its tab (the type's picture, its title,
// the close box), its outline with the grips of the selected one, and the stand-in of a tool whose
// module is not loaded.
#include "apps/quorvane/panel_parts.h"
#include "apps/quorvane/tools.h"
#include "apps/quorvane/rect_size.h"
#include "apps/quorvane/screen_scale.h"

#include <algorithm>

RECT CloseBox(const RECT &r)
{
    RECT c = {r.right - Scaled(17), r.top - TabHeight + Scaled(3), r.right - 1, r.top - Scaled(3)};
    return c;
}

namespace {

void FillGradient(HDC dc, const RECT &r, COLORREF top, COLORREF bottom)
{
    int h = Height(r);
    for (int i = 0; i < h; ++i) {
        int f = h > 1 ? i * 256 / (h - 1) : 0;
        COLORREF c = RGB(GetRValue(top) + (GetRValue(bottom) - GetRValue(top)) * f / 256,
                         GetGValue(top) + (GetGValue(bottom) - GetGValue(top)) * f / 256,
                         GetBValue(top) + (GetBValue(bottom) - GetBValue(top)) * f / 256);
        HBRUSH brush = CreateSolidBrush(c);
        RECT line = {r.left, r.top + i, r.right, r.top + i + 1};
        FillRect(dc, &line, brush);
        DeleteObject(brush);
    }
}

void FrameBox(HDC dc, const RECT &r, COLORREF colour, int thickness)
{
    HBRUSH brush = CreateSolidBrush(colour);
    for (int i = 0; i < thickness; ++i) {
        RECT f = {r.left + i, r.top + i, r.right - i, r.bottom - i};
        FrameRect(dc, &f, brush);
    }
    DeleteObject(brush);
}

void FillBox(HDC dc, const RECT &r, COLORREF colour)
{
    HBRUSH brush = CreateSolidBrush(colour);
    FillRect(dc, &r, brush);
    DeleteObject(brush);
}

// The type's picture: the colour bitmap, through the mono bitmap as its mask (1 bits let the tab show
// through, 0 bits take the picture); without a mask the picture is drawn whole.
void DrawTypePicture(HDC dc, const PanelType &type, int x, int y)
{
    BITMAP info = {};
    if (!type.colorBitmap || !GetObject(type.colorBitmap, sizeof info, &info))
        return;
    HDC source = CreateCompatibleDC(dc);
    HGDIOBJ old = SelectObject(source, type.colorBitmap);
    BITMAP maskInfo = {};
    bool masked = type.monoBitmap && GetObject(type.monoBitmap, sizeof maskInfo, &maskInfo) &&
                  maskInfo.bmBitsPixel == 1 && maskInfo.bmWidth >= info.bmWidth && maskInfo.bmHeight >= info.bmHeight;
    const DWORD keepDestination = 0x00AA0029;
    if (!masked || !MaskBlt(dc, x, y, info.bmWidth, info.bmHeight, source, 0, 0, type.monoBitmap, 0, 0,
                            MAKEROP4(keepDestination, SRCCOPY)))
        BitBlt(dc, x, y, info.bmWidth, info.bmHeight, source, 0, 0, SRCCOPY);
    SelectObject(source, old);
    DeleteDC(source);
}

RECT TabRect(const RECT &r)
{
    RECT t = {r.left - 2, r.top - TabHeight, r.right + 2, r.top};
    return t;
}

void DrawTab(HDC dc, const PanelTool &tool, bool selected)
{
    RECT tab = TabRect(tool.rect);
    HRGN round = CreateRoundRectRgn(tab.left, tab.top, tab.right + 1, tab.bottom + Scaled(10), Scaled(9), Scaled(9));
    SelectClipRgn(dc, round);
    if (selected)
        FillGradient(dc, tab, RGB(255, 221, 110), RGB(222, 166, 36));
    else
        FillGradient(dc, tab, RGB(66, 84, 72), RGB(34, 46, 39));
    SelectClipRgn(dc, nullptr);
    DeleteObject(round);

    const PanelType *type = tool.type >= 0 ? &host.types[tool.type] : nullptr;
    COLORREF ink = selected ? RGB(52, 36, 4) : RGB(226, 234, 226);
    int x = tab.left + Scaled(5);
    if (type)     // the module's picture at its own size, in the middle of the tab's height
        DrawTypePicture(dc, *type, x, tab.top + std::max(Scaled(2), (TabHeight - 16) / 2));
    x += Scaled(20);
    HGDIOBJ oldFont = SelectObject(dc, host.tabFont);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, ink);
    RECT text = {x, tab.top, CloseBox(tool.rect).left - 2, tab.bottom};
    std::string title = ToolTitle(tool);
    DrawTextA(dc, title.c_str(), -1, &text, DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS | DT_NOPREFIX);
    SelectObject(dc, oldFont);

    // The close box: a small cross.
    RECT box = CloseBox(tool.rect);
    if (Width(tool.rect) > Scaled(60)) {
        HPEN pen = CreatePen(PS_SOLID, Scaled(2), ink);
        HGDIOBJ oldPen = SelectObject(dc, pen);
        int cx = (box.left + box.right) / 2, cy = (box.top + box.bottom) / 2, arm = Scaled(4);
        MoveToEx(dc, cx - arm, cy - arm, nullptr);
        LineTo(dc, cx + arm, cy + arm);
        MoveToEx(dc, cx + arm, cy - arm, nullptr);
        LineTo(dc, cx - arm, cy + arm);
        SelectObject(dc, oldPen);
        DeleteObject(pen);
    }
}

void DrawFrame(HDC dc, const PanelTool &tool, bool selected)
{
    RECT r = tool.rect;
    if (!selected) {
        RECT outline = {r.left - 1, r.top, r.right + 1, r.bottom + 1};
        FrameBox(dc, outline, RGB(20, 34, 26), 1);
        return;
    }
    const COLORREF gold = RGB(244, 190, 40), dark = RGB(70, 50, 6);
    RECT outline = {r.left - 2, r.top, r.right + 2, r.bottom + 2};
    FrameBox(dc, outline, gold, 2);
    // Handles where the edges can be dragged.
    int midY = (r.top + r.bottom) / 2, midX = (r.left + r.right) / 2;
    POINT handles[] = {{r.left - 2, midY}, {r.right + 1, midY}, {midX, r.bottom + 1},
                       {r.left - 2, r.bottom + 1}, {r.right + 1, r.bottom + 1}};
    const int grip = Scaled(3);
    for (POINT h : handles) {
        RECT box = {h.x - grip, h.y - grip, h.x + grip + 1, h.y + grip + 1};
        FillBox(dc, box, gold);
        FrameBox(dc, box, dark, 1);
    }
}

void DrawPlaceholder(HDC dc, const PanelTool &tool)
{
    RECT r = tool.rect;
    FillBox(dc, r, RGB(24, 40, 30));
    HPEN pen = CreatePen(PS_DOT, 1, RGB(150, 170, 150));
    HGDIOBJ oldPen = SelectObject(dc, pen);
    HGDIOBJ oldBrush = SelectObject(dc, GetStockObject(NULL_BRUSH));
    Rectangle(dc, r.left + 3, r.top + 3, r.right - 3, r.bottom - 3);
    SelectObject(dc, oldBrush);
    SelectObject(dc, oldPen);
    DeleteObject(pen);
    HGDIOBJ oldFont = SelectObject(dc, host.uiFont);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, RGB(200, 214, 200));
    std::string text = "No " + tool.moduleFile + " runs this tool now.\nIts game is kept with the panel.";
    RECT inner = {r.left + 8, r.top + 8, r.right - 8, r.bottom - 8};
    DrawTextA(dc, text.c_str(), -1, &inner, DT_CENTER | DT_WORDBREAK | DT_NOPREFIX);
    SelectObject(dc, oldFont);
}

} // namespace

void DrawToolDecoration(HDC dc, const PanelTool &tool, bool selected)
{
    DrawTab(dc, tool, selected);
    DrawFrame(dc, tool, selected);
    if (!tool.window)
        DrawPlaceholder(dc, tool);
}
