// child_window.h: what the card and display windows share: the background request and the right click.
#pragma once

#include "panel/tool.h"
#include "host/host_messages.h"

// The child's client origin in the tool window's client coordinates.
inline POINT ChildOriginInTool(HWND child, HWND toolWindow)
{
    POINT origin = {0, 0};
    ClientToScreen(child, &origin);
    ScreenToClient(toolWindow, &origin);
    return origin;
}

// The host paints the panel under the child into dc before this returns.
inline void RequestChildBackground(HWND child, const VideoPokerToolData *tool, HDC dc,
                                   const RECT &client)
{
    PanelPaintRequest request = {};
    request.window = tool->toolWindow;
    request.dc = dc;
    request.rect = client;
    request.isChild = 1;
    request.offset = ChildOriginInTool(child, tool->toolWindow);
    SendMessageA(GetParent(tool->toolWindow), PTM_PAINTBACKGROUND, 0,
                 reinterpret_cast<LPARAM>(&request));
}

// One context menu serves the whole tool: the release is posted to it at the same screen point,
// so the menu opens after the child's handler has returned.
inline LRESULT ForwardRightClickToTool(HWND child, const VideoPokerToolData *tool, WPARAM wParam,
                                       LPARAM lParam)
{
    POINT point = {LOWORD(lParam), HIWORD(lParam)};
    ClientToScreen(child, &point);
    ScreenToClient(tool->toolWindow, &point);
    PostMessageA(tool->toolWindow, WM_RBUTTONUP, wParam,
                 MAKELPARAM(static_cast<WORD>(point.x), static_cast<WORD>(point.y)));
    return 0;
}
