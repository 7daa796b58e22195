// main_window.cpp: the main window: the panel and the status line in it, and its messages and timers
// (saves, the screenshot sequence).
#include "apps/quorvane/main_window.h"
#include "apps/quorvane/companion.h"
#include "apps/quorvane/tools.h"
#include "apps/quorvane/panel_window.h"
#include "apps/quorvane/status_line.h"
#include "apps/quorvane/screen_scale.h"
#include "apps/quorvane/commands.h"
#include "apps/quorvane/key_focus.h"
#include "apps/quorvane/persistence.h"
#include "apps/quorvane/window_png.h"
#include "apps/quorvane/rect_size.h"

#include <algorithm>
#include <cstdio>

namespace {

void LayoutChildren(HWND window)
{
    RECT client;
    GetClientRect(window, &client);
    int statusHeight = StatusHeight(client.right);
    int panelHeight = client.bottom > statusHeight ? client.bottom - statusHeight : 0;
    MoveWindow(host.panelWindow, 0, 0, client.right, panelHeight, TRUE);
    MoveWindow(host.statusWindow, 0, panelHeight, client.right, client.bottom - panelHeight, TRUE);
}

HWND screenshotTarget;      // the window to picture: the main window, or the companion's of --screenshot-of

LRESULT CALLBACK MainWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CREATE:
        host.mainWindow = window;
        host.panelWindow = CreatePanelWindow(window);
        host.statusWindow = CreateStatusLine(window);
        if (!host.panelWindow || !host.statusWindow)
            return -1;
        LayoutChildren(window);     // a hidden window gets no WM_SIZE yet, and tools are placed before it shows
        return 0;
    case WM_SIZE:
        LayoutChildren(window);
        return 0;
    case WM_GETMINMAXINFO: {
        MINMAXINFO *info = reinterpret_cast<MINMAXINFO *>(lParam);
        info->ptMinTrackSize.x = Scaled(360);
        info->ptMinTrackSize.y = Scaled(260);
        return 0;
    }
    case WM_ACTIVATE:
        // Leaving, the keyboard is on a tool's button or plays the selected tool: a button Tab reached
        // before a click elsewhere must not take the keys back when the host is active again.
        if (LOWORD(wParam) == WA_INACTIVE) {
            HWND focus = GetFocus();
            host.keyFocus = IsToolButton(focus) ? focus : nullptr;
        }
        return DefWindowProcA(window, message, wParam, lParam);
    case WM_SETFOCUS:
        // Coming back to the host puts the keyboard back where the player left it.
        SetFocus(IsToolButton(host.keyFocus) && IsWindowEnabled(host.keyFocus) ? host.keyFocus
                                                                                : host.panelWindow);
        return 0;
    case WM_INITMENUPOPUP:
        EnableToolCommands(reinterpret_cast<HMENU>(wParam));
        return 0;
    case WM_MENUSELECT: {
        int item = LOWORD(wParam);
        int type = item - CmdAddFirstType;
        if (!(HIWORD(wParam) & MF_POPUP) && type >= 0 && type < static_cast<int>(host.types.size()))
            SetStatus(host.types[type].description + " (" + host.types[type].moduleFile + ")");
        return 0;
    }
    case WM_COMMAND:
        HandleCommand(LOWORD(wParam));
        return 0;
    case WM_TIMER:
        switch (wParam) {
        case AutosaveTimer:
            SaveIfChanged();
            return 0;
        case SoonSaveTimer:
            KillTimer(window, SoonSaveTimer);
            SaveIfChanged();
            return 0;
        case ScreenshotTimer:
            // The picture is read from the screen: nothing else may lie over the window then.
            KillTimer(window, ScreenshotTimer);
            screenshotTarget = host.options.screenshotOf.empty() ? window
                                                                 : CompanionOpenWindow(host.options.screenshotOf);
            if (screenshotTarget && screenshotTarget != window)
                SetWindowPos(screenshotTarget, HWND_TOPMOST, 0, 0, 0, 0,
                             SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
            else
                SetWindowPos(window, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
            RedrawWindow(screenshotTarget, nullptr, nullptr,
                         RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN | RDW_FRAME);
            SetTimer(window, ScreenshotCaptureTimer, 300, nullptr);
            return 0;
        case ScreenshotCaptureTimer: {
            // A companion's window shows its figures once its workers are done (a minute at the most).
            static int waited = 0;
            if (CompanionStillWorking() && ++waited < 200)
                return 0;
            KillTimer(window, ScreenshotCaptureTimer);
            HWND target = screenshotTarget;
            RedrawWindow(target, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN | RDW_FRAME);
            GdiFlush();
            host.exitCode = target && WriteWindowPng(target, host.options.screenshotPath) ? 0 : 1;
            DestroyWindow(window);
            return 0;
        }
        }
        return 0;
    case QUORVANE_PING:
        PostMessageA(reinterpret_cast<HWND>(wParam), QUORVANE_PING, 0, lParam);
        return 0;
    case WM_QUERYENDSESSION:
        SaveNow(false);
        return TRUE;
    case WM_CLOSE:
        if (!SaveNow(false) && !host.options.unattended &&
            !AskYesNo("The panel could not be saved to " + host.configPath + ". Quit anyway?"))
            return 0;
        // The panel is saved: the run ends here, input behind the Close is dropped, and the windows go
        // with the process, all at once. Destroyed one by one, a full panel's (some 900) take a quarter
        // of a second under Wine.
        host.closing = true;
        PostQuitMessage(host.exitCode);     // wakes the loop when Close was sent rather than posted
        return 0;
    case WM_DESTROY:
        KillTimer(window, AutosaveTimer);
        KillTimer(window, SoonSaveTimer);
        if (host.propertiesWindow)
            DestroyWindow(host.propertiesWindow);
        DestroyAllTools();
        PostQuitMessage(host.exitCode);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

} // namespace

bool RegisterMainClass()
{
    HICON icon = LoadIcon(host.instance, MAKEINTRESOURCE(1));    // the host's own icon
    return RegisterHostClass(QUORVANE_MAIN_CLASS, MainWndProc, nullptr, 0, icon) && RegisterStatusClass();
}

HWND CreateMainWindow(const SavedPanel *saved)
{
    host.accelerators = BuildAccelerators();
    RECT work = {0, 0, 1024, 768};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    int width = Scaled(780), height = Scaled(560);
    int x = work.left + (Width(work) - width) / 2, y = work.top + (Height(work) - height) / 2;
    if (saved && saved->hasWindow) {
        // A saved place is kept only as far as it is on this screen.
        const SavedWindow place = WindowAtDpi(saved->window, StoreDpi, ScreenDpi());
        width = std::min<int>(place.width, Width(work));
        height = std::min<int>(place.height, Height(work));
        x = std::max<int>(work.left, std::min<int>(place.x, work.right - width));
        y = std::max<int>(work.top, std::min<int>(place.y, work.bottom - height));
    }
    return CreateWindowExA(0, QUORVANE_MAIN_CLASS, "Quorvane", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, x, y,
                           width, height, nullptr, BuildMenu(), host.instance, nullptr);
}
