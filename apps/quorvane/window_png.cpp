// window_png.cpp: what the screen shows of a window, read back and encoded as a PNG.
#include "apps/quorvane/window_png.h"
#include "apps/quorvane/canvas.h"
#include "apps/quorvane/files.h"

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

    Canvas canvas(width, height);
    HDC screenDc = GetDC(nullptr);
    bool ok = canvas.Ready() && BitBlt(canvas.dc, 0, 0, width, height, screenDc, r.left, r.top, SRCCOPY) != 0;
    ReleaseDC(nullptr, screenDc);
    return ok ? canvas.Png() : std::vector<uint8_t>();
}

bool WriteWindowPng(HWND window, const std::string &path)
{
    std::vector<uint8_t> png = WindowPng(window);
    return !png.empty() && WriteFileAtomically(path, std::string(png.begin(), png.end()));
}
