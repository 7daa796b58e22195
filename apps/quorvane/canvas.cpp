// canvas.cpp: the DIB canvas.
#include "apps/quorvane/canvas.h"

#include <algorithm>

#include "apps/quorvane/png_writer.h"

Canvas::Canvas(int w, int h, uint32_t fill) : width(w), height(h)
{
    BITMAPINFO info = {};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), w, -h, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    dc = CreateCompatibleDC(nullptr);
    void *p = nullptr;
    bitmap = w > 0 && h > 0 ? CreateDIBSection(dc, &info, DIB_RGB_COLORS, &p, nullptr, 0) : nullptr;
    bits = static_cast<uint32_t *>(p);
    if (bitmap)
        saved = SelectObject(dc, bitmap);
    Fill(fill);
}

Canvas::~Canvas()
{
    if (saved)
        SelectObject(dc, saved);
    if (bitmap)
        DeleteObject(bitmap);
    if (dc)
        DeleteDC(dc);
}

void Canvas::Fill(uint32_t colour)
{
    GdiFlush();
    if (bits)
        std::fill(bits, bits + static_cast<size_t>(width) * height, colour);
}

uint32_t Canvas::At(int x, int y)
{
    GdiFlush();
    return bits[static_cast<size_t>(y) * width + x] & 0xFFFFFF;
}

std::vector<uint32_t> Canvas::Pixels()
{
    GdiFlush();
    std::vector<uint32_t> pixels(bits, bits + (bits ? static_cast<size_t>(width) * height : 0));
    for (uint32_t &p : pixels)
        p &= 0xFFFFFF;
    return pixels;
}

std::vector<uint8_t> Canvas::Png()
{
    if (!bits)
        return {};
    std::vector<uint8_t> rgb;
    rgb.reserve(static_cast<size_t>(width) * height * 3);
    for (uint32_t p : Pixels())
        rgb.insert(rgb.end(), {uint8_t(p >> 16), uint8_t(p >> 8), uint8_t(p)});
    return EncodePng(width, height, rgb.data());
}
