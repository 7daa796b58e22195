// panel_felt.cpp: the panel's felt, drawn once per size into a bitmap of its own, and the canvas each
// paint of the panel composes over it (the felt, the tools' soft shadows, then their decorations).
#include "apps/quorvane/panel_parts.h"
#include "apps/quorvane/panel_window.h"
#include "apps/quorvane/rect_size.h"
#include "apps/quorvane/screen_scale.h"

#include <cmath>
#include <cstring>

namespace {

// A bitmap we draw into directly: 32 bits a pixel, top row first.
struct PixelBuffer {
    HDC dc = nullptr;
    HBITMAP bitmap = nullptr;
    HGDIOBJ oldBitmap = nullptr;
    uint32_t *bits = nullptr;
    int width = 0, height = 0;

    bool Resize(int w, int h)
    {
        if (w == width && h == height && dc)
            return true;
        Release();
        BITMAPINFO info = {};
        info.bmiHeader.biSize = sizeof info.bmiHeader;
        info.bmiHeader.biWidth = w > 0 ? w : 1;
        info.bmiHeader.biHeight = -(h > 0 ? h : 1);
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        void *pixels = nullptr;
        bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &pixels, nullptr, 0);
        if (!bitmap)
            return false;
        dc = CreateCompatibleDC(nullptr);
        oldBitmap = SelectObject(dc, bitmap);
        bits = static_cast<uint32_t *>(pixels);
        width = w > 0 ? w : 1;
        height = h > 0 ? h : 1;
        return true;
    }
    void Release()
    {
        if (dc) {
            SelectObject(dc, oldBitmap);
            DeleteDC(dc);
        }
        if (bitmap)
            DeleteObject(bitmap);
        dc = nullptr;
        bitmap = nullptr;
        bits = nullptr;
        width = height = 0;
    }
};

PixelBuffer felt;     // the background alone: what tools get painted under them
PixelBuffer canvas;   // felt plus decorations, composed for each paint of the panel

const COLORREF FeltEdge = RGB(10, 58, 34);

uint32_t Pack(int r, int g, int b)
{
    auto clamp = [](int v) { return v < 0 ? 0 : v > 255 ? 255 : v; };
    return static_cast<uint32_t>(clamp(r) << 16 | clamp(g) << 8 | clamp(b));
}

// Felt: a lamp-lit green, brighter a little above the middle, darker towards the rim, with a fine
// twill so that it reads as cloth rather than a flat fill.
uint32_t FeltAt(int x, int y, int width, int height)
{
    double dx = (x - width * 0.5) / (width * 0.62);
    double dy = (y - height * 0.38) / (height * 0.75);
    double d = std::sqrt(dx * dx + dy * dy);
    double t = d > 1 ? 1 : d;
    t = t * t * (3 - 2 * t);
    int r = static_cast<int>(38 + (10 - 38) * t);
    int g = static_cast<int>(128 + (58 - 128) * t);
    int b = static_cast<int>(74 + (34 - 74) * t);
    int twill = ((x + (y >> 1)) & 3) < 2 ? 3 : -2;
    int fleck = ((x * 7 + y * 13) % 29 == 0) ? 4 : 0;
    return Pack(r + twill + fleck, g + twill + fleck, b + twill);
}


// Darkens the canvas under a soft shadow of rect, inside clip.
void Shadow(const RECT &rect, const RECT &clip)
{
    const int dx = Scaled(3), dy = Scaled(5), soft = Scaled(8);
    RECT s = {rect.left + dx, rect.top + dy, rect.right + dx, rect.bottom + dy};
    RECT area = {s.left - soft, s.top - soft, s.right + soft, s.bottom + soft};
    RECT bounds = {0, 0, canvas.width, canvas.height}, doing;
    if (!IntersectRect(&doing, &area, &clip) || !IntersectRect(&doing, &doing, &bounds))
        return;
    for (int y = doing.top; y < doing.bottom; ++y) {
        int oy = y < s.top ? s.top - y : y >= s.bottom ? y - s.bottom + 1 : 0;
        uint32_t *row = canvas.bits + static_cast<size_t>(y) * canvas.width;
        for (int x = doing.left; x < doing.right; ++x) {
            int ox = x < s.left ? s.left - x : x >= s.right ? x - s.right + 1 : 0;
            double d = std::sqrt(static_cast<double>(ox * ox + oy * oy));
            if (d >= soft)
                continue;
            double keep = 1.0 - 0.5 * (1.0 - d / soft) * (1.0 - d / soft);
            uint32_t p = row[x];
            row[x] = Pack(static_cast<int>(((p >> 16) & 255) * keep), static_cast<int>(((p >> 8) & 255) * keep),
                          static_cast<int>((p & 255) * keep));
        }
    }
}

} // namespace

void RebuildFelt(int width, int height)
{
    if (!felt.Resize(width, height))
        return;
    for (int y = 0; y < felt.height; ++y)
        for (int x = 0; x < felt.width; ++x)
            felt.bits[static_cast<size_t>(y) * felt.width + x] = FeltAt(x, y, felt.width, felt.height);
    GdiFlush();
}

void PaintFeltInto(HDC dc, const RECT &rect, POINT panelOrigin)
{
    FillWithFeltEdge(dc, rect);     // beyond the panel's own area: the felt's rim colour
    if (!felt.dc)
        return;
    RECT wanted = {panelOrigin.x + rect.left, panelOrigin.y + rect.top, panelOrigin.x + rect.right,
                   panelOrigin.y + rect.bottom};
    RECT have = {0, 0, felt.width, felt.height}, both;
    if (!IntersectRect(&both, &wanted, &have))
        return;
    BitBlt(dc, both.left - panelOrigin.x, both.top - panelOrigin.y, Width(both), Height(both), felt.dc,
           both.left, both.top, SRCCOPY);
}


HDC ComposePanelCanvas(int width, int height, const RECT &area)
{
    if (!canvas.Resize(width, height) || !felt.bits)
        return nullptr;
    for (int y = area.top; y < area.bottom; ++y)
        memcpy(canvas.bits + static_cast<size_t>(y) * canvas.width + area.left,
               felt.bits + static_cast<size_t>(y) * felt.width + area.left, sizeof(uint32_t) * Width(area));
    GdiFlush();
    for (const PanelTool &t : host.tools) {
        RECT shadowed = {t.rect.left - 2, t.rect.top - TabHeight, t.rect.right + 2, t.rect.bottom + 2};
        Shadow(shadowed, area);
    }
    return canvas.dc;
}

void FillWithFeltEdge(HDC dc, const RECT &rect)
{
    HBRUSH edge = CreateSolidBrush(FeltEdge);
    FillRect(dc, &rect, edge);
    DeleteObject(edge);
}

void ReleasePanelBitmaps()
{
    felt.Release();
    canvas.Release();
}
