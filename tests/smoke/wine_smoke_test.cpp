// wine_smoke_test.cpp: a real window under Wine paints and its pixels are read back from the screen.
#include <gtest/gtest.h>
#include <windows.h>

namespace {

const COLORREF kPaint = RGB(200, 30, 60);

LRESULT CALLBACK SmokeWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_PAINT) {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(window, &ps);
        HBRUSH brush = CreateSolidBrush(kPaint);
        RECT client;
        GetClientRect(window, &client);
        FillRect(dc, &client, brush);
        DeleteObject(brush);
        EndPaint(window, &ps);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

// Reads one pixel of what the window shows on screen, through a 32-bit DIB.
COLORREF ReadPixel(HWND window, int x, int y)
{
    HDC windowDc = GetDC(window);
    HDC memory = CreateCompatibleDC(windowDc);
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = 1;
    info.bmiHeader.biHeight = -1;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void *bits = nullptr;
    HBITMAP dib = CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(memory, dib);
    BitBlt(memory, 0, 0, 1, 1, windowDc, x, y, SRCCOPY);
    GdiFlush();
    DWORD pixel = *static_cast<DWORD *>(bits);
    SelectObject(memory, old);
    DeleteObject(dib);
    DeleteDC(memory);
    ReleaseDC(window, windowDc);
    return RGB((pixel >> 16) & 0xFF, (pixel >> 8) & 0xFF, pixel & 0xFF);
}

TEST(WinePipeline, WindowPaintsAndReadsBack)
{
    WNDCLASSA wc = {};
    wc.lpfnWndProc = SmokeWndProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "VpSmoke";
    ASSERT_NE(RegisterClassA(&wc), 0);
    HWND window = CreateWindowExA(0, "VpSmoke", "smoke", WS_POPUP | WS_VISIBLE, 10, 10, 64, 48,
                                  nullptr, nullptr, wc.hInstance, nullptr);
    ASSERT_NE(window, nullptr) << "no display for Wine?";
    UpdateWindow(window);
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
        DispatchMessageA(&msg);
    EXPECT_EQ(ReadPixel(window, 5, 5), kPaint);
    EXPECT_EQ(ReadPixel(window, 60, 40), kPaint);
    DestroyWindow(window);
}

} // namespace
