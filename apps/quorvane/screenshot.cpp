// screenshot.cpp: --screenshot: what a window shows on screen, written as a PNG file.
#include "apps/quorvane/screenshot.h"
#include "apps/quorvane/files.h"
#include "apps/quorvane/window_png.h"

bool WriteWindowPng(HWND window, const std::string &path)
{
    std::vector<uint8_t> png = WindowPng(window);
    DWORD error = 0;
    return !png.empty() && WriteFileAtomically(path, std::string(png.begin(), png.end()), &error);
}
