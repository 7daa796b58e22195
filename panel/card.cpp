// card.cpp: the card window: one card of the hand on a shadowed face, its hold marker, clicks.
#include "panel/tool.h"
#include "panel/artwork.h"
#include "panel/child_window.h"
#include "resources/resource_ids.h"

namespace {

// The card's position 0..4 in the hand, or -1 when the record does not list this window.
int CardPositionOf(const VideoPokerToolData *tool, HWND window)
{
    for (int i = 0; i < HandSize; ++i)
        if (tool->cardWindows[i] == window)
            return i;
    return -1;
}

// Only a card 0..51 has artwork; a damaged block's card shows a blank face instead.
bool IsValidCard(Card card)
{
    return card < DeckSize;
}

LRESULT PaintCard(HWND window, const VideoPokerToolData *tool, int position)
{
    if (!GetUpdateRect(window, nullptr, FALSE))
        return 0;
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window, &paint);
    RECT client;
    GetClientRect(window, &client);
    RequestChildBackground(window, tool, dc, client);
    const LONG L = client.left, T = client.top, R = client.right, B = client.bottom;

    HBRUSH whiteBrush = CreateSolidBrush(RGB(255, 255, 255));
    HBRUSH shadowBrush = CreateSolidBrush(GetSysColor(COLOR_BTNSHADOW));
    HGDIOBJ savedBrush = SelectObject(dc, shadowBrush);
    HGDIOBJ blackPen = GetStockObject(BLACK_PEN);
    HPEN shadowPen = CreatePen(PS_SOLID, 1, GetSysColor(COLOR_BTNSHADOW));
    HGDIOBJ savedPen = SelectObject(dc, shadowPen);

    const int ew = R / 6, eh = B / 10;
    RoundRect(dc, L + 4, T + 4, R, B - 1, ew, eh);

    // When the shadow brush or pen could not be made, the first selection that works keeps the
    // original, so the white brush is never left selected when it is deleted.
    HGDIOBJ replacedPen = SelectObject(dc, blackPen);
    if (!savedPen)
        savedPen = replacedPen;
    HGDIOBJ replacedBrush = SelectObject(dc, whiteBrush);
    if (!savedBrush)
        savedBrush = replacedBrush;
    RoundRect(dc, L, T, R - 4, B - 5, ew, eh);

    const int fr = R - 4, fb = B - 5;
    const int aw = fr - ew, ax = L + ew / 2, hh = (fb - T) / 2;
    const Card card = tool->game.card[position];
    if (IsValidCard(card)) {
        PlayArtworkInto(dc, RankArtworkOf(card), ax, T + fb / 20, aw, hh - fb / 20);
        PlayArtworkInto(dc, SuitArtworkOf(card), ax, fb / 2, aw, hh - 3);
    }
    if (tool->game.held[position])
        PlayArtworkInto(dc, IDA_HOLD_MARKER, ax, fb - fb / 2 - fb / 12, aw, fb / 5);

    if (savedPen)
        SelectObject(dc, savedPen);
    if (savedBrush)
        SelectObject(dc, savedBrush);
    if (shadowPen)
        DeleteObject(shadowPen);
    if (shadowBrush)
        DeleteObject(shadowBrush);
    if (whiteBrush)
        DeleteObject(whiteBrush);
    EndPaint(window, &paint);
    return 0;
}

// RunOnTool takes a plain engine operation, so each position has its own toggle.
template <int position>
void ToggleHoldAt(VideoPokerGame &game, GameView &view)
{
    ToggleHold(game, view, position);
}

void (*const toggleHoldOf[HandSize])(VideoPokerGame &, GameView &) = {
    ToggleHoldAt<0>, ToggleHoldAt<1>, ToggleHoldAt<2>, ToggleHoldAt<3>, ToggleHoldAt<4>};

} // namespace

LRESULT CALLBACK VideoPokerCardWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    VideoPokerToolData *tool = ToolDataOf(GetParent(window));
    if (!tool)
        return DefWindowProcA(window, message, wParam, lParam);   // tool being created or destroyed
    int position = CardPositionOf(tool, window);
    if (position < 0)
        return 0;                                                  // a card this tool does not know
    switch (message)
    {
    case WM_PAINT:
        return PaintCard(window, tool, position);
    case WM_LBUTTONUP:
        RunOnTool(tool, toggleHoldOf[position]);
        return 0;
    case WM_RBUTTONUP:
        return ForwardRightClickToTool(window, tool, wParam, lParam);
    }
    return DefWindowProcA(window, message, wParam, lParam);
}
