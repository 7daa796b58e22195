// window_png.cpp: what the screen shows of a window, read back and encoded as a PNG.
#include "apps/quorvane/window_png.h"
#include "apps/quorvane/png_writer.h"

std::vector<uint8_t> WindowPng(HWND window)
{
    RECT r;
    if (!GetWindowRect(window, &r))
        return {};
    // Only the part that is on the screen can be read.
    RECT screen = {GetSystemMetrics(SM_XVIRTUALSCREEN), GetSystemMetrics(SM_YVIRTUALSCREEN), 0, 0};
    screen.right = screen.left + GetSystemMetrics(SM_CXVIRTUALSCREEN);
    screen.bottom = screen.top + GetSystemMetrics(SM_CYVIRTUALSCREEN);
    if (!IntersectRect(&r, &r, &screen))
        return {};
    int width = r.right - r.left, height = r.bottom - r.top;

    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void *bits = nullptr;
    HDC screenDc = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screenDc);
    HBITMAP dib = CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    bool ok = dib != nullptr;
    if (ok) {
        HGDIOBJ old = SelectObject(memory, dib);
        ok = BitBlt(memory, 0, 0, width, height, screenDc, r.left, r.top, SRCCOPY) != 0;
        GdiFlush();
        SelectObject(memory, old);
    }
    std::vector<uint8_t> rgb;
    if (ok) {
        const uint32_t *pixels = static_cast<const uint32_t *>(bits);
        rgb.resize(static_cast<size_t>(width) * height * 3);
        for (size_t i = 0; i < static_cast<size_t>(width) * height; ++i) {
            rgb[i * 3] = static_cast<uint8_t>(pixels[i] >> 16);
            rgb[i * 3 + 1] = static_cast<uint8_t>(pixels[i] >> 8);
            rgb[i * 3 + 2] = static_cast<uint8_t>(pixels[i]);
        }
    }
    if (dib)
        DeleteObject(dib);
    DeleteDC(memory);
    ReleaseDC(nullptr, screenDc);
    return ok ? EncodePng(width, height, rgb.data()) : std::vector<uint8_t>();
}
