// property_window.cpp: the host's property window, which embeds the page a tool makes for it.
#include "apps/quorvane/property_window.h"
#include "apps/quorvane/tools.h"
#include "apps/quorvane/status_line.h"
#include "apps/quorvane/persistence.h"
#include "apps/quorvane/screen_scale.h"

#include <algorithm>

namespace {

// At the screen's DPI: the module's page is its own dialog template, which the system scales.
const int HeaderHeight = Scaled(46);
const int Margin = Scaled(12);
const int ButtonWidth = Scaled(88), ButtonHeight = Scaled(26);
constexpr int NoPageId = 100;

void PaintHeader(HWND window)
{
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(window, &ps);
    RECT client;
    GetClientRect(window, &client);
    FillRect(dc, &client, GetSysColorBrush(COLOR_BTNFACE));
    RECT band = {0, 0, client.right, HeaderHeight};
    HBRUSH brush = CreateSolidBrush(RGB(30, 92, 56));
    FillRect(dc, &band, brush);
    DeleteObject(brush);
    PanelTool *tool = host.ByWindow(host.propertiesTool);
    const PanelType *type = tool && tool->type >= 0 ? &host.types[tool->type] : nullptr;
    int x = Margin;
    if (type && type->colorBitmap) {
        HDC source = CreateCompatibleDC(dc);
        HGDIOBJ old = SelectObject(source, type->colorBitmap);
        StretchBlt(dc, x, (HeaderHeight - Scaled(32)) / 2, Scaled(32), Scaled(32), source, 0, 0, 16, 16, SRCCOPY);
        SelectObject(source, old);
        DeleteDC(source);
        x += Scaled(44);
    }
    SetBkMode(dc, TRANSPARENT);
    HGDIOBJ oldFont = SelectObject(dc, host.tabFont);
    SetTextColor(dc, RGB(255, 255, 255));
    std::string title = tool ? ToolTitle(*tool) : "Tool";
    RECT line = {x, Scaled(6), client.right - Margin, HeaderHeight / 2 + Scaled(2)};
    DrawTextA(dc, title.c_str(), -1, &line, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
    SelectObject(dc, host.uiFont);
    SetTextColor(dc, RGB(200, 228, 208));
    std::string description = type ? type->description : "";
    RECT second = {x, HeaderHeight / 2, client.right - Margin, HeaderHeight - Scaled(4)};
    DrawTextA(dc, description.c_str(), -1, &second, DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS | DT_NOPREFIX);
    SelectObject(dc, oldFont);
    EndPaint(window, &ps);
}

std::string PropertiesNews(const PanelTool &tool)
{
    return "Properties of " + ToolTitle(tool) + ". Esc closes them.";
}

LRESULT CALLBACK PropertiesWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_PAINT:
        PaintHeader(window);
        return 0;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDCANCEL || LOWORD(wParam) == IDOK)
            DestroyWindow(window);
        return 0;
    case WM_CLOSE:
        DestroyWindow(window);
        return 0;
    case WM_DESTROY:
        if (host.propertiesWindow == window) {
            if (PanelTool *tool = host.ByWindow(host.propertiesTool))
                ClearStatus(PropertiesNews(*tool));
            host.propertiesWindow = nullptr;
            host.propertiesTool = nullptr;
        }
        // The page may have changed the game ("New Game"): save soon.
        if (host.mainWindow)
            SaveSoon();
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

HWND MakeButton(HWND parent, const char *text, int id, int x, int y)
{
    HWND button = CreateWindowExA(0, "Button", text, WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON, x, y,
                                  ButtonWidth, ButtonHeight, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                  host.instance, nullptr);
    SendMessageA(button, WM_SETFONT, reinterpret_cast<WPARAM>(host.uiFont), FALSE);
    return button;
}

} // namespace

bool RegisterPropertiesClass()
{
    return RegisterHostClass(QUORVANE_PROPERTIES_CLASS, PropertiesWndProc, GetSysColorBrush(COLOR_BTNFACE));
}

void ShowPropertiesFor(HWND toolWindow)
{
    PanelTool *tool = host.ByWindow(toolWindow);
    if (!tool)
        return;
    // One property window at a time: a page serves the tool that asked for it last, so an older
    // page for another tool would act on the wrong game.
    if (host.propertiesWindow) {
        if (host.propertiesTool == toolWindow) {
            SetForegroundWindow(host.propertiesWindow);
            return;
        }
        DestroyWindow(host.propertiesWindow);
    }
    SelectTool(tool->number);
    tool = host.ByWindow(toolWindow);     // selecting raised it: the model's order moved under the pointer
    std::string title = ToolTitle(*tool) + " - Properties";
    HWND window = CreateWindowExA(WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT, QUORVANE_PROPERTIES_CLASS,
                                  title.c_str(), WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN,
                                  CW_USEDEFAULT, CW_USEDEFAULT, 400, 300, host.mainWindow, nullptr,
                                  host.instance, nullptr);
    if (!window)
        return;
    host.propertiesWindow = window;
    host.propertiesTool = toolWindow;
    int top = HeaderHeight + Margin;
    HWND page = reinterpret_cast<HWND>(SendMessageA(toolWindow, PTM_CREATEPAGE, reinterpret_cast<WPARAM>(window),
                                                    MAKELONG(Margin, top)));
    int pageWidth = Scaled(260), pageHeight = Scaled(40);
    if (page && IsWindow(page)) {
        RECT r;
        GetWindowRect(page, &r);
        pageWidth = r.right - r.left;
        pageHeight = r.bottom - r.top;
        // Tab and arrow keys reach the page's controls from this window.
        SetWindowLongPtrA(page, GWL_EXSTYLE, GetWindowLongPtrA(page, GWL_EXSTYLE) | WS_EX_CONTROLPARENT);
    } else {
        HWND note = CreateWindowExA(0, "Static", "This tool has no properties page.", WS_CHILD | WS_VISIBLE,
                                    Margin, top, pageWidth, pageHeight, window,
                                    reinterpret_cast<HMENU>(static_cast<INT_PTR>(NoPageId)), host.instance, nullptr);
        SendMessageA(note, WM_SETFONT, reinterpret_cast<WPARAM>(host.uiFont), FALSE);
    }
    int clientWidth = std::max(pageWidth + 2 * Margin, Scaled(300));
    int clientHeight = top + pageHeight + Margin + ButtonHeight + Margin;
    MakeButton(window, "Close", IDCANCEL, clientWidth - Margin - ButtonWidth, clientHeight - Margin - ButtonHeight);
    RECT frame = {0, 0, clientWidth, clientHeight};
    AdjustWindowRectEx(&frame, WS_POPUP | WS_CAPTION | WS_SYSMENU, FALSE, WS_EX_DLGMODALFRAME);
    RECT owner;
    GetWindowRect(host.mainWindow, &owner);
    int w = frame.right - frame.left, h = frame.bottom - frame.top;
    int x = owner.left + (owner.right - owner.left - w) / 2, y = owner.top + (owner.bottom - owner.top - h) / 2;
    SetWindowPos(window, nullptr, std::max(0, x), std::max(0, y), w, h, SWP_NOZORDER);
    ShowWindow(window, SW_SHOW);
    SetStatus(PropertiesNews(*tool));
}

void ClosePropertiesFor(HWND toolWindow)
{
    if (host.propertiesWindow && host.propertiesTool == toolWindow)
        DestroyWindow(host.propertiesWindow);
}
