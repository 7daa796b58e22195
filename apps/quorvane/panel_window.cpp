// panel_window.cpp: the panel window: its paint (felt, then each tool's decoration), the background
// its tools ask for, their and its own context menus, and the mouse and keys that drag tools.
#include "apps/quorvane/panel_window.h"
#include "apps/quorvane/panel_parts.h"
#include "apps/quorvane/tools.h"
#include "apps/quorvane/commands.h"
#include "apps/quorvane/property_window.h"
#include "apps/quorvane/rect_size.h"

#include <windowsx.h>

namespace {

void PaintPanel(HWND window)
{
    // What is to be painted, as a region: the tools a repaint touches may lie far apart, and their
    // bounding box would take in the tabs of half the panel.
    HRGN update = CreateRectRgn(0, 0, 0, 0);
    GetUpdateRgn(window, update, FALSE);
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(window, &ps);
    RECT client;
    GetClientRect(window, &client);
    RECT area;
    IntersectRect(&area, &ps.rcPaint, &client);
    HDC composed = ComposePanelCanvas(client.right, client.bottom, area);
    if (!composed) {
        FillWithFeltEdge(dc, ps.rcPaint);
        EndPaint(window, &ps);
        DeleteObject(update);
        return;
    }
    // Only the decorations the region touches: a tab takes milliseconds under Wine (a rounded clip, a
    // gradient, the type's picture, its title), and drawing all 64 took 40 to 120 ms a repaint.
    for (const PanelTool &t : host.tools) {
        RECT decorated = DecoratedRect(t.rect);
        InflateRect(&decorated, 1, 1);
        if (RectInRegion(update, &decorated))
            DrawToolDecoration(composed, t, t.number == host.selected);
    }
    DeleteObject(update);
    if (host.tools.empty()) {
        HGDIOBJ oldFont = SelectObject(composed, host.uiFont);
        SetBkMode(composed, TRANSPARENT);
        SetTextColor(composed, RGB(196, 222, 200));
        const char *hint = host.types.empty()
                               ? "No panel-type module is loaded: see Help > About Quorvane."
                               : "The panel is empty. Press Insert, or use Panel > Add tool, to place a tool.";
        DrawTextA(composed, hint, -1, &client, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
        SelectObject(composed, oldFont);
    }
    BitBlt(dc, area.left, area.top, Width(area), Height(area), composed, area.left, area.top, SRCCOPY);
    EndPaint(window, &ps);
}

// A tool's request: the felt that lies under the asking window, found through the tool's place on
// the panel and the request's offset of the asking window within the tool.
void PaintBackgroundRequest(HWND panel, const PanelPaintRequest *request)
{
    POINT origin = {0, 0};
    if (request->window)
        MapWindowPoints(request->window, panel, &origin, 1);
    origin.x += request->offset.x;
    origin.y += request->offset.y;
    PaintFeltInto(request->dc, request->rect, origin);
}

void ShowToolMenu(HWND panel, PanelTool &tool, POINT at)
{
    SelectTool(tool.number);
    HMENU menu = LoadHostMenu(IDR_TOOL_MENU);
    ClientToScreen(panel, &at);
    TrackPopupMenuEx(GetSubMenu(menu, 0), TPM_RIGHTBUTTON, at.x, at.y, host.mainWindow, nullptr);
    DestroyMenu(menu);
}

void ShowPanelMenu(HWND panel, POINT at)
{
    HMENU bar = LoadHostMenu(IDR_PANEL_MENU), menu = GetSubMenu(bar, 0);
    InsertMenuA(menu, 0, MF_BYPOSITION | MF_POPUP | (host.types.empty() ? MF_GRAYED : 0),
                reinterpret_cast<UINT_PTR>(host.addToolMenu), "&Add tool");
    ClientToScreen(panel, &at);
    TrackPopupMenuEx(menu, TPM_RIGHTBUTTON, at.x, at.y, host.mainWindow, nullptr);
    RemoveMenu(menu, 0, MF_BYPOSITION);   // the submenu belongs to the main menu
    DestroyMenu(bar);
}

POINT PointOf(LPARAM lParam)
{
    POINT p = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    return p;
}

LRESULT CALLBACK PanelWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_SIZE:
        RebuildFelt(LOWORD(lParam), HIWORD(lParam));
        RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
        return 0;
    case WM_ERASEBKGND:
        return 1;
    case WM_PAINT:
        PaintPanel(window);
        return 0;
    case PTM_PAINTBACKGROUND:
        PaintBackgroundRequest(window, reinterpret_cast<const PanelPaintRequest *>(lParam));
        return 0;
    case PTM_SHOWPROPERTIES:
        ShowPropertiesFor(reinterpret_cast<HWND>(wParam));
        return 0;
    case WM_SETCURSOR:
        if (reinterpret_cast<HWND>(wParam) == window && LOWORD(lParam) == HTCLIENT) {
            POINT p;
            GetCursorPos(&p);
            ScreenToClient(window, &p);
            DragKind kind = host.drag != DragKind::None ? host.drag : HitTest(p).kind;
            SetCursor(LoadCursor(nullptr, CursorFor(kind)));
            return TRUE;
        }
        break;
    case WM_LBUTTONDOWN: {
        SetFocus(window);
        Hit hit = HitTest(PointOf(lParam));
        if (!hit.tool)
            return 0;
        int number = hit.tool->number;
        SelectTool(number);
        if (hit.kind != DragKind::None)
            BeginDrag(window, hit.kind, *host.ByNumber(number), PointOf(lParam));
        return 0;
    }
    case WM_LBUTTONDBLCLK: {
        Hit hit = HitTest(PointOf(lParam));
        if (hit.tool && hit.kind == DragKind::Move && hit.tool->window)
            ShowPropertiesFor(hit.tool->window);
        return 0;
    }
    case WM_MOUSEMOVE:
        // A move without the button held is not part of the drag (the release comes on its own).
        if (host.drag != DragKind::None && host.drag != DragKind::Close && (wParam & MK_LBUTTON))
            ContinueDrag(PointOf(lParam));
        return 0;
    case WM_LBUTTONUP:
        if (host.drag != DragKind::None)
            EndDrag(window, PointOf(lParam), true);
        return 0;
    case WM_CAPTURECHANGED:
        if (host.drag != DragKind::None && reinterpret_cast<HWND>(lParam) != window)
            EndDrag(window, host.dragAnchor, host.drag != DragKind::Close);
        return 0;
    case WM_KEYDOWN:
        if (wParam == VK_ESCAPE && host.drag != DragKind::None) {
            EndDrag(window, host.dragAnchor, false);
            return 0;
        }
        break;
    case WM_RBUTTONUP: {
        Hit hit = HitTest(PointOf(lParam));
        if (hit.tool)
            ShowToolMenu(window, *hit.tool, PointOf(lParam));
        else
            ShowPanelMenu(window, PointOf(lParam));
        return 0;
    }
    case WM_DESTROY:
        ReleasePanelBitmaps();
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

} // namespace

bool RegisterPanelClass()
{
    return RegisterHostClass(QUORVANE_PANEL_CLASS, PanelWndProc, nullptr, CS_DBLCLKS);
}

HWND CreatePanelWindow(HWND parent)
{
    return CreateWindowExA(0, QUORVANE_PANEL_CLASS, "", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_TABSTOP,
                           0, 0, 0, 0, parent, nullptr, host.instance, nullptr);
}
