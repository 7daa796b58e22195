// status_line.cpp: what the host tells the person: the line under the panel (routine news, warnings held
// in view a while, and the count of tools), the main window's title, and the host's message boxes.
#include "apps/quorvane/status_line.h"
#include "apps/quorvane/canvas.h"
#include "apps/quorvane/companion.h"
#include "apps/quorvane/screen_scale.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstring>

namespace {

constexpr DWORD WarningHoldMs = 15000;   // a warning stays in view this long before routine news
bool statusIsWarning = false;

constexpr int StatusLineHeight = 24, StatusMaxLines = 3;

std::string Summary()
{
    std::string summary = Plural(static_cast<int>(host.tools.size()), "tool", "tools");
    if (host.options.noSave)
        summary += "  |  not saving";
    return summary;
}

// Where the news goes, on a status line width wide: left of the summary; its height when measure.
RECT NewsRect(HDC dc, int width, const char *text, bool measure)
{
    std::string summary = Summary();
    SIZE used = {};
    GetTextExtentPoint32A(dc, summary.c_str(), static_cast<int>(summary.size()), &used);
    RECT r = {Scaled(10), 0, width - Scaled(24) - used.cx, 0};
    if (measure)
        DrawTextA(dc, text, -1, &r, DT_LEFT | DT_WORDBREAK | DT_NOPREFIX | DT_CALCRECT);
    return r;
}

// The room the news needs: one line, or up to three for a long one, so that nothing is cut.
int NeededHeight(int width)
{
    char text[512] = {};
    GetWindowTextA(host.statusWindow, text, sizeof text);
    HDC dc = GetDC(host.statusWindow);
    HGDIOBJ oldFont = SelectObject(dc, host.uiFont);
    TEXTMETRICA metrics = {};
    GetTextMetricsA(dc, &metrics);
    RECT r = NewsRect(dc, width, text, true);
    SelectObject(dc, oldFont);
    ReleaseDC(host.statusWindow, dc);
    int most = metrics.tmHeight * StatusMaxLines + Scaled(8);
    return std::max(Scaled(StatusLineHeight), std::min(most, static_cast<int>(r.bottom - r.top) + Scaled(8)));
}

// A news that needs more (or less) room than the line has lays the main window out again.
void FitStatus()
{
    RECT line = {}, client = {};
    GetClientRect(host.statusWindow, &line);
    GetClientRect(host.mainWindow, &client);
    if (host.mainWindow && line.bottom != NeededHeight(client.right))
        SendMessageA(host.mainWindow, WM_SIZE, SIZE_RESTORED, MAKELPARAM(client.right, client.bottom));
}

void PaintStatus(HWND window)
{
    PAINTSTRUCT ps;
    HDC screen = BeginPaint(window, &ps);
    RECT client;
    GetClientRect(window, &client);
    // Drawn off screen and shown at once: the shading and the text never flicker as the news changes.
    Canvas canvas(std::max<int>(1, client.right), std::max<int>(1, client.bottom));
    HDC dc = canvas.Ready() ? canvas.dc : screen;
    for (int y = 0; y < client.bottom; ++y) {
        int f = client.bottom > 1 ? y * 255 / (client.bottom - 1) : 0;
        HBRUSH brush = CreateSolidBrush(RGB(40 - f * 14 / 255, 48 - f * 16 / 255, 44 - f * 15 / 255));
        RECT line = {0, y, client.right, y + 1};
        FillRect(dc, &line, brush);
        DeleteObject(brush);
    }
    HBRUSH rule = CreateSolidBrush(RGB(90, 110, 96));
    RECT top = {0, 0, client.right, 1};
    FillRect(dc, &top, rule);
    DeleteObject(rule);

    char text[512];
    GetWindowTextA(window, text, sizeof text);
    HGDIOBJ oldFont = SelectObject(dc, host.uiFont);
    SetBkMode(dc, TRANSPARENT);

    std::string summary = Summary();
    RECT right = {client.left + Scaled(8), client.top, client.right - Scaled(10), client.bottom};
    SetTextColor(dc, RGB(170, 190, 176));
    DrawTextA(dc, summary.c_str(), -1, &right, DT_RIGHT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    RECT left = NewsRect(dc, client.right, text, true);
    int height = std::min<int>(left.bottom - left.top, client.bottom);
    left = NewsRect(dc, client.right, text, false);
    left.top = (client.bottom - height) / 2;
    left.bottom = left.top + height;
    SetTextColor(dc, statusIsWarning ? RGB(255, 204, 96) : RGB(232, 240, 232));
    DrawTextW(dc, CompanionShownText(text).c_str(), -1, &left, DT_LEFT | DT_WORDBREAK | DT_END_ELLIPSIS | DT_NOPREFIX);
    SelectObject(dc, oldFont);
    if (canvas.Ready())
        BitBlt(screen, 0, 0, client.right, client.bottom, canvas.dc, 0, 0, SRCCOPY);
    EndPaint(window, &ps);
}

LRESULT CALLBACK StatusWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_ERASEBKGND:
        return 1;
    case WM_SIZE:      // the shading follows the height and the summary the right edge: all of it moves
        InvalidateRect(window, nullptr, FALSE);
        return 0;
    case WM_PAINT:
        PaintStatus(window);
        return 0;
    case WM_SETTEXT: {
        LRESULT result = DefWindowProcA(window, message, wParam, lParam);
        InvalidateRect(window, nullptr, FALSE);
        return result;
    }
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

} // namespace

bool RegisterStatusClass()
{
    return RegisterHostClass(QUORVANE_STATUS_CLASS, StatusWndProc);
}

int StatusHeight(int width)
{
    return host.statusWindow ? NeededHeight(width) : Scaled(StatusLineHeight);
}

HWND CreateStatusLine(HWND parent)
{
    return CreateWindowExA(0, QUORVANE_STATUS_CLASS, "Starting...", WS_CHILD | WS_VISIBLE, 0, 0, 0, 0, parent,
                           nullptr, host.instance, nullptr);
}

void SetStatus(const std::string &text)
{
    if (!host.statusWindow || GetTickCount() < host.warningUntil)
        return;
    statusIsWarning = false;
    SetWindowTextA(host.statusWindow, text.c_str());
    FitStatus();
}

void SetWarning(const std::string &text)
{
    if (!host.statusWindow) {     // before the window: said together once it shows
        host.startupWarning += (host.startupWarning.empty() ? "" : " ") + text;
        if (host.options.unattended)
            fprintf(stderr, "quorvane: %s\n", text.c_str());
        return;
    }
    host.warningUntil = GetTickCount() + WarningHoldMs;
    statusIsWarning = true;
    if (host.statusWindow)
        SetWindowTextA(host.statusWindow, text.c_str()), FitStatus();
    if (host.options.unattended)
        fprintf(stderr, "quorvane: %s\n", text.c_str());
}

void AddWarning(const std::string &text)
{
    char shown[512] = {};
    if (host.statusWindow && GetTickCount() < host.warningUntil)
        GetWindowTextA(host.statusWindow, shown, sizeof shown);
    SetWarning(shown[0] ? std::string(shown) + " " + text : text);
}

void ClearStatus(const std::string &text)
{
    char shown[512] = {};
    if (host.statusWindow && GetWindowTextA(host.statusWindow, shown, sizeof shown) && text == shown)
        SetWindowTextA(host.statusWindow, ""), FitStatus();
}

void UpdateTitle()
{
    if (!host.mainWindow)
        return;
    std::string title = "Quorvane - " + Plural(static_cast<int>(host.tools.size()), "tool", "tools");
    if (PanelTool *t = host.Selected())
        title += " - " + ToolTitle(*t) + " selected";
    SetWindowTextA(host.mainWindow, title.c_str());
    if (host.statusWindow)
        InvalidateRect(host.statusWindow, nullptr, FALSE);
}

bool AskYesNo(const std::string &question)
{
    if (host.options.unattended)
        return true;
    return MessageBoxA(host.mainWindow, question.c_str(), "Quorvane", MB_YESNO | MB_ICONQUESTION) == IDYES;
}

void ShowMessage(const std::string &text, UINT icon)
{
    if (host.options.unattended) {
        fprintf(stderr, "quorvane: %s\n", text.c_str());
        return;
    }
    MessageBoxA(host.mainWindow, text.c_str(), "Quorvane", MB_OK | icon);
}

