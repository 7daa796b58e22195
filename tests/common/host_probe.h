// host_probe.h: what the host's tests read from a running host beside the driver's own calls: window
// texts, the status line and title, tools and rectangles in panel coordinates, messages to the panel.
#pragma once

#include <windows.h>
#include <string>
#include "tools/hostdriver/host_run.h"

inline std::string Status(const HostRun &run) { return WindowText(run.status); }
inline std::string Title(const HostRun &run) { return WindowText(run.main); }

// A window's rectangle in the panel's client coordinates.
inline RECT PanelRect(const HostRun &run, HWND window)
{
    RECT r = {};
    GetWindowRect(window, &r);
    MapWindowPoints(nullptr, run.panel, reinterpret_cast<POINT *>(&r), 2);
    return r;
}

inline RECT PanelClient(const HostRun &run)
{
    RECT r = {};
    GetClientRect(run.panel, &r);
    return r;
}

// The tool whose window stands at (x, y) of the panel, or null.
inline HWND ToolAt(const HostRun &run, int x, int y)
{
    for (HWND tool : run.Tools()) {
        const RECT r = PanelRect(run, tool);
        if (r.left == x && r.top == y)
            return tool;
    }
    return nullptr;
}

inline LRESULT SendToPanel(const HostRun &run, UINT message, WPARAM wParam, LPARAM lParam)
{
    DWORD_PTR result = 0;
    SendMessageTimeoutA(run.panel, message, wParam, lParam, SMTO_NORMAL, LongWait, &result);
    return static_cast<LRESULT>(result);
}

// A tool's button by control id (262 "+1", 263 "Bet 5", 264 "Deal"/"Draw").
inline HWND ToolButton(HWND tool, int id) { return GetDlgItem(tool, id); }
