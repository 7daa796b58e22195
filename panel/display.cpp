// display.cpp: the display window: one line of the record's text, shadowed, over the host's background.
#include <cstring>
#include "panel/tool.h"
#include "panel/child_window.h"

namespace {

// The display's index 0..2, or -1 when the record does not list this window.
int DisplayIndexOf(const VideoPokerToolData *tool, HWND window)
{
    for (int d = 0; d < DisplayCount; ++d)
        if (tool->displayWindows[d] == window)
            return d;
    return -1;
}

// The text lives in the record, not in the window: the window's own title stays empty.
LRESULT StoreText(HWND window, VideoPokerToolData *tool, int d, const char *text)
{
    // strncpy fills the first 59 bytes and never touches the last, so the slot stays terminated.
    strncpy(tool->displayTexts[d], text ? text : "", DisplayTextSize - 1);
    InvalidateRect(window, nullptr, TRUE);
    return TRUE;
}

LRESULT PaintDisplay(HWND window, const VideoPokerToolData *tool, int d)
{
    if (!GetUpdateRect(window, nullptr, FALSE))
        return 0;
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window, &paint);
    RECT client;
    GetClientRect(window, &client);
    const LONG L = client.left, T = client.top, R = client.right, B = client.bottom;

    RequestChildBackground(window, tool, dc, client);

    HGDIOBJ savedFont = nullptr;
    if (tool->font)
        savedFont = SelectObject(dc, tool->font);

    const char *text = tool->displayTexts[d];
    RECT measured = {0, 0, 10000, 10000};
    DrawTextA(dc, text, lstrlenA(text), &measured, DT_CALCRECT);
    const LONG ml = measured.left, mt = measured.top, mr = measured.right, mb = measured.bottom;

    int x = 4;
    if (d == CreditsDisplay)
        x = R - mr - 4;
    else if (d == ResultDisplay)
        x = (R - L) / 2 + (ml - mr) / 2;
    const int y = (B - T) / 2 + (mt - mb) / 2;

    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(COLOR_CAPTIONTEXT));
    TextOutA(dc, x + 1, y + 1, text, lstrlenA(text));
    SetTextColor(dc, GetSysColor(COLOR_ACTIVECAPTION));
    TextOutA(dc, x, y, text, lstrlenA(text));

    if (savedFont)
        SelectObject(dc, savedFont);
    EndPaint(window, &paint);
    return 0;
}

} // namespace

LRESULT CALLBACK VideoPokerDisplayWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    VideoPokerToolData *tool = ToolDataOf(GetParent(window));
    if (!tool) {
        // Creation updates the displays before the record is attached; those texts are dropped.
        if (message == WM_SETTEXT)
            return TRUE;
        return DefWindowProcA(window, message, wParam, lParam);
    }
    int d = DisplayIndexOf(tool, window);
    if (d < 0)
        return 0;                                    // a display this tool does not know
    switch (message)
    {
    case WM_SETTEXT:
        return StoreText(window, tool, d, reinterpret_cast<const char *>(lParam));
    case WM_PAINT:
        return PaintDisplay(window, tool, d);
    case WM_RBUTTONUP:
        return ForwardRightClickToTool(window, tool, wParam, lParam);
    }
    return DefWindowProcA(window, message, wParam, lParam);
}
