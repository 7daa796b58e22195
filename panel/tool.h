// tool.h: the per-instance record of a tool and the window procedures of its three classes.
#pragma once

#include <windows.h>
#include "engine/game.h"
#include "host/host_messages.h"

constexpr int DisplayCount = 3;
constexpr int ButtonCount = 3;
constexpr int DisplayTextSize = 60;   // a display keeps at most 59 characters

struct VideoPokerToolData {
    VideoPokerGame game;              // the saved block: must stay the head of the record
    HWND toolWindow;
    HWND cardWindows[HandSize];
    HWND displayWindows[DisplayCount];
    HWND buttons[ButtonCount];        // "+1" (262), "Bet 5" (263), "Deal"/"Draw" (264)
    char displayTexts[DisplayCount][DisplayTextSize];
    HFONT font;                       // owned: replaced at every layout, deleted on destruction
};

static_assert(offsetof(VideoPokerToolData, game) == 0, "the host reads the game at the record's head");

// The record of a tool window, from its one extra window word (null before creation ends).
VideoPokerToolData *ToolDataOf(HWND toolWindow);

HWND CreateVideoPokerTool(HWND parent, const RECT *rect, const void *savedState, DWORD savedSize);
LRESULT CALLBACK VideoPokerToolWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK VideoPokerCardWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK VideoPokerDisplayWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Plays one card picture (ids 231..261) through dc's current viewport; nonzero when played.
BOOL PlayMetafileResource(HDC dc, int artworkId);
// Plays one card picture scaled onto the rectangle at (x, y) of the given extent, as a card shows it,
// and leaves dc in MM_TEXT with its viewport origin at 0; nonzero when played.
BOOL PlayArtworkInto(HDC dc, int artworkId, int x, int y, int width, int height);

// The tool's answers to the host's state and size messages (data may be null: they then touch nothing).
LRESULT HandleGetState(HWND tool, VideoPokerToolData *data, WPARAM wParam, LPARAM lParam);
LRESULT HandleSetState(HWND tool, VideoPokerToolData *data, WPARAM wParam, LPARAM lParam);
LRESULT HandleGetDefaultSize(HWND tool, VideoPokerToolData *data, WPARAM wParam, LPARAM lParam);
LRESULT HandleAdjustSize(HWND tool, VideoPokerToolData *data, WPARAM wParam, LPARAM lParam);

// Runs one engine operation on a tool's game over that tool's own view (a card's click reaches its
// tool this way).
void RunOnTool(VideoPokerToolData *data, void (*operation)(VideoPokerGame &game, GameView &view));
