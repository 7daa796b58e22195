// panel_decoration.cpp: what the host draws around each tool: its tab (the type's picture, its title,
// the close box), its outline with the grips of the selected one, and the stand-in of a tool whose
// module is not loaded.
#include "apps/quorvane/panel_parts.h"
#include "apps/quorvane/tools.h"
#include "apps/quorvane/rect_size.h"
#include "apps/quorvane/screen_scale.h"

#include <algorithm>
#include <map>
#include <vector>

RECT CloseBox(const RECT &r)
{
    RECT c = {r.right - Scaled(17), r.top - TabHeight + Scaled(3), r.right - 1, r.top - Scaled(3)};
    return c;
}

namespace {

// One call: a column of the gradient's lines stretched across (a brush and a fill for each line cost a
// panel of tabs tens of milliseconds under Wine).
void FillGradient(HDC dc, const RECT &r, COLORREF top, COLORREF bottom)
{
    const int h = Height(r);
    if (h <= 0 || Width(r) <= 0)
        return;
    std::vector<uint32_t> column(static_cast<size_t>(h));
    for (int i = 0; i < h; ++i) {
        int f = h > 1 ? i * 256 / (h - 1) : 0;
        column[static_cast<size_t>(i)] =
            static_cast<uint32_t>(GetRValue(top) + (GetRValue(bottom) - GetRValue(top)) * f / 256) << 16 |
            static_cast<uint32_t>(GetGValue(top) + (GetGValue(bottom) - GetGValue(top)) * f / 256) << 8 |
            static_cast<uint32_t>(GetBValue(top) + (GetBValue(bottom) - GetBValue(top)) * f / 256);
    }
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = 1;
    info.bmiHeader.biHeight = -h;   // top line first
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    StretchDIBits(dc, r.left, r.top, Width(r), h, 0, 0, 1, h, column.data(), &info, DIB_RGB_COLORS, SRCCOPY);
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
// A type's picture made ready once for a tab's two cheap blits: its mask in one memory DC, and its colours
// with the masked-out pixels black in another (MaskBlt on every tab cost a panel of 64 two seconds of a
// ten-second play under Wine).
struct ReadyPicture {
    HDC mask = nullptr, colour = nullptr;   // colour alone when the type has no usable mask
    int width = 0, height = 0;
};

const ReadyPicture &PictureOf(const PanelType &type, HDC like)
{
    static std::map<HBITMAP, ReadyPicture> ready;
    auto found = ready.find(type.colorBitmap);
    if (found != ready.end())
        return found->second;
    ReadyPicture &picture = ready[type.colorBitmap];
    BITMAP info = {}, maskInfo = {};
    if (!type.colorBitmap || !GetObject(type.colorBitmap, sizeof info, &info))
        return picture;
    picture.width = info.bmWidth, picture.height = info.bmHeight;
    // Made like the canvas the tabs are drawn on, so each blit is a plain copy.
    picture.colour = CreateCompatibleDC(like);
    SelectObject(picture.colour, CreateCompatibleBitmap(like, info.bmWidth, info.bmHeight));
    HDC source = CreateCompatibleDC(like);
    HGDIOBJ old = SelectObject(source, type.colorBitmap);
    BitBlt(picture.colour, 0, 0, info.bmWidth, info.bmHeight, source, 0, 0, SRCCOPY);
    SelectObject(source, old);
    DeleteDC(source);
    if (type.monoBitmap && GetObject(type.monoBitmap, sizeof maskInfo, &maskInfo) && maskInfo.bmBitsPixel == 1 &&
        maskInfo.bmWidth >= info.bmWidth && maskInfo.bmHeight >= info.bmHeight) {
        picture.mask = CreateCompatibleDC(like);   // a copy: the module's own bitmap stays free
        SelectObject(picture.mask, CreateBitmap(info.bmWidth, info.bmHeight, 1, 1, nullptr));
        source = CreateCompatibleDC(like);
        old = SelectObject(source, type.monoBitmap);
        BitBlt(picture.mask, 0, 0, info.bmWidth, info.bmHeight, source, 0, 0, SRCCOPY);
        SelectObject(source, old);
        DeleteDC(source);
        // Set mask bits (the glyph's outside) turn the colours black, so an OR lays the rest over the tab:
        // a monochrome source's 1 bits take the destination's background colour, its 0 bits the text colour.
        SetTextColor(picture.colour, RGB(255, 255, 255));
        SetBkColor(picture.colour, RGB(0, 0, 0));
        BitBlt(picture.colour, 0, 0, info.bmWidth, info.bmHeight, picture.mask, 0, 0, SRCAND);
    }
    return picture;
}

void DrawTypePicture(HDC dc, const PanelType &type, int x, int y)
{
    const ReadyPicture &picture = PictureOf(type, dc);
    if (!picture.colour)
        return;
    if (!picture.mask) {
        BitBlt(dc, x, y, picture.width, picture.height, picture.colour, 0, 0, SRCCOPY);
        return;
    }
    // Where the mask is set the tab stays (AND white, OR black); elsewhere the picture's colours.
    const COLORREF ink = SetTextColor(dc, RGB(0, 0, 0)), paper = SetBkColor(dc, RGB(255, 255, 255));
    BitBlt(dc, x, y, picture.width, picture.height, picture.mask, 0, 0, SRCAND);
    BitBlt(dc, x, y, picture.width, picture.height, picture.colour, 0, 0, SRCPAINT);
    SetTextColor(dc, ink);
    SetBkColor(dc, paper);
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
