// paint_reference.cpp: draws the expected card and display pixels with plain GDI in a memory bitmap.
#include "tests/paint/paint_reference.h"

#include <cstring>

// Client sizes 24 x 38, 47 x 77 and 58 x 96 come from tool layouts of 120 x 70, 240 x 140, 300 x 175.
const CardGeometry cardGeometries[3] = {
    {{120, 70}, {24, 38}, 4, 3, {4, 4, 24, 37}, {0, 0, 20, 33},
     {2, 1}, {16, 15}, {2, 16}, {16, 13}, {2, 15}, {16, 6}},
    {{240, 140}, {47, 77}, 7, 7, {4, 4, 47, 76}, {0, 0, 43, 72},
     {3, 3}, {36, 33}, {3, 36}, {36, 33}, {3, 30}, {36, 14}},
    {{300, 175}, {58, 96}, 9, 9, {4, 4, 58, 95}, {0, 0, 54, 91},
     {4, 4}, {45, 41}, {4, 45}, {45, 42}, {4, 39}, {45, 18}},
};

namespace {

// A canvas of a window's size under the panel background it stands on.
struct BackgroundCanvas : Canvas {
    BackgroundCanvas(HWND window, int w, int h) : Canvas(w, h, 0)
    {
        GdiFlush();
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                COLORREF c = TestHost::Instance().BackgroundUnder(window, x, y);
                bits[y * w + x] = (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c);
            }
    }
};

} // namespace

// The x, y at which a display's text starts, for a display index, client size and measured text size.
static POINT ExpectedTextOrigin(int display, SIZE client, SIZE text)
{
    // Each half is truncated toward zero by itself: -81 / 2 is -40, not -41.
    POINT origin;
    origin.y = client.cy / 2 + (0 - text.cy) / 2;
    if (display == 0)
        origin.x = 4;
    else if (display == 1)
        origin.x = client.cx - text.cx - 4;
    else
        origin.x = client.cx / 2 + (0 - text.cx) / 2;
    return origin;
}

// The size a text measures in a font (the device context's own when font is null).
static SIZE MeasureText(HFONT font, const std::string &text)
{
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = font ? SelectObject(dc, font) : nullptr;
    SIZE size = {0, 0};
    GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &size);
    TEXTMETRICA metrics;
    GetTextMetricsA(dc, &metrics);
    size.cy = metrics.tmHeight;     // a line's height, whatever characters it holds
    if (text.empty())
        size.cy = 0;
    if (old)
        SelectObject(dc, old);
    DeleteDC(dc);
    return size;
}

Capture ReferenceDisplay(HWND displayWindow, int display, HFONT font, const std::string &text)
{
    RECT client;
    GetClientRect(displayWindow, &client);
    BackgroundCanvas canvas(displayWindow, client.right, client.bottom);
    HDC dc = canvas.dc;
    HGDIOBJ oldFont = font ? SelectObject(dc, font) : nullptr;
    POINT at = ExpectedTextOrigin(display, SIZE{client.right, client.bottom}, MeasureText(font, text));
    const int length = static_cast<int>(text.size());
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(COLOR_CAPTIONTEXT));
    TextOutA(dc, at.x + 1, at.y + 1, text.c_str(), length);
    SetTextColor(dc, GetSysColor(COLOR_ACTIVECAPTION));
    TextOutA(dc, at.x, at.y, text.c_str(), length);
    if (oldFont)
        SelectObject(dc, oldFont);
    return canvas.Take();
}

Capture PlayedPicture(HMODULE module, int artworkId, SIZE size, POINT origin, POINT extent)
{
    Canvas canvas(size.cx, size.cy, 0xFFFFFF);
    HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(artworkId), "MetaFile");
    HGLOBAL loaded = found ? LoadResource(module, found) : nullptr;
    HMETAFILE picture = loaded ? SetMetaFileBitsEx(SizeofResource(module, found),
                                                    static_cast<const BYTE *>(LockResource(loaded)))
                               : nullptr;
    if (picture) {
        SetMapMode(canvas.dc, MM_ANISOTROPIC);
        SetWindowExtEx(canvas.dc, 1000, 1000, nullptr);
        SetViewportExtEx(canvas.dc, extent.x, extent.y, nullptr);
        SetViewportOrgEx(canvas.dc, origin.x, origin.y, nullptr);
        PlayMetaFile(canvas.dc, picture);
        DeleteMetaFile(picture);
    }
    return canvas.Take();
}

::testing::AssertionResult SameInside(const Capture &actual, const Capture &expected, const RECT &area)
{
    int differing = 0;
    for (int y = area.top; y < area.bottom; ++y)
        for (int x = area.left; x < area.right; ++x)
            differing += actual.At(x, y) != expected.At(x, y);
    if (differing == 0)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << differing << " pixels differ";
}

::testing::AssertionResult SameImage(const Capture &actual, const Capture &expected)
{
    if (actual.width != expected.width || actual.height != expected.height)
        return ::testing::AssertionFailure() << "size " << actual.width << "x" << actual.height
                                             << ", expected " << expected.width << "x" << expected.height;
    int differing = 0;
    std::string first;
    for (int y = 0; y < actual.height; ++y)
        for (int x = 0; x < actual.width; ++x) {
            COLORREF a = actual.At(x, y), e = expected.At(x, y);
            if (a == e)
                continue;
            if (++differing <= 5) {
                char line[96];
                snprintf(line, sizeof line, " (%d,%d) is %06lx, expected %06lx;", x, y,
                         static_cast<unsigned long>(a), static_cast<unsigned long>(e));
                first += line;
            }
        }
    if (differing == 0)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << differing << " pixels differ:" << first;
}

int CountColour(const Capture &capture, const RECT &area, COLORREF colour)
{
    int count = 0;
    for (int y = area.top < 0 ? 0 : area.top; y < area.bottom && y < capture.height; ++y)
        for (int x = area.left < 0 ? 0 : area.left; x < area.right && x < capture.width; ++x)
            count += capture.At(x, y) == colour;
    return count;
}

RECT BoundsOfColour(const Capture &capture, COLORREF colour)
{
    RECT bounds = {capture.width, capture.height, 0, 0};
    for (int y = 0; y < capture.height; ++y)
        for (int x = 0; x < capture.width; ++x)
            if (capture.At(x, y) == colour) {
                if (x < bounds.left) bounds.left = x;
                if (y < bounds.top) bounds.top = y;
                if (x + 1 > bounds.right) bounds.right = x + 1;
                if (y + 1 > bounds.bottom) bounds.bottom = y + 1;
            }
    if (bounds.right == 0)
        SetRectEmpty(&bounds);
    return bounds;
}

VideoPokerGame WaitingHand(const Card cards[HandSize], const uint8_t held[HandSize], int wager,
                           int credits)
{
    VideoPokerGame game;
    memset(&game, 0, sizeof game);
    for (int i = 0; i < HandSize; ++i) {
        game.card[i] = cards[i];
        game.held[i] = held[i];
        game.dealt[cards[i]] = 1;
    }
    game.handComplete = 0;
    game.wager = wager;
    game.credits = credits;
    return game;
}
