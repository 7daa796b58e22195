// main_window.cpp: the main window: menus, keyboard commands, the status line and the title.
#include "apps/quorvane/hints.h"
#include "apps/quorvane/host.h"
#include "apps/quorvane/rect_size.h"
#include "apps/quorvane/trainer.h"

#include <algorithm>
#include <cstdio>

namespace {

constexpr int StatusHeight = 24;
constexpr DWORD WarningHoldMs = 15000;   // a warning stays in view this long before routine news
bool statusIsWarning = false;


void PaintStatus(HWND window)
{
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(window, &ps);
    RECT client;
    GetClientRect(window, &client);
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

    std::string summary = std::to_string(host.tools.size()) + (host.tools.size() == 1 ? " tool" : " tools");
    if (host.options.noSave)
        summary += "  |  not saving";
    RECT right = {client.left + 8, client.top, client.right - 10, client.bottom};
    SetTextColor(dc, RGB(170, 190, 176));
    DrawTextA(dc, summary.c_str(), -1, &right, DT_RIGHT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    SIZE used = {};
    GetTextExtentPoint32A(dc, summary.c_str(), static_cast<int>(summary.size()), &used);

    RECT left = {client.left + 10, client.top, client.right - 24 - used.cx, client.bottom};
    SetTextColor(dc, statusIsWarning ? RGB(255, 204, 96) : RGB(232, 240, 232));
    DrawTextA(dc, text, -1, &left, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS | DT_NOPREFIX);
    SelectObject(dc, oldFont);
    EndPaint(window, &ps);
}

LRESULT CALLBACK StatusWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_ERASEBKGND:
        return 1;
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

void LayoutChildren(HWND window)
{
    RECT client;
    GetClientRect(window, &client);
    int panelHeight = client.bottom > StatusHeight ? client.bottom - StatusHeight : 0;
    MoveWindow(host.panelWindow, 0, 0, client.right, panelHeight, TRUE);
    MoveWindow(host.statusWindow, 0, panelHeight, client.right, client.bottom - panelHeight, TRUE);
}

HMENU BuildMenu()
{
    HMENU bar = CreateMenu();
    HMENU panel = CreatePopupMenu();
    host.addToolMenu = CreatePopupMenu();
    AppendMenuA(panel, MF_POPUP, reinterpret_cast<UINT_PTR>(host.addToolMenu), "&Add tool");
    AppendMenuA(panel, MF_STRING, CmdRemoveTool, "&Remove tool\tDel");
    AppendMenuA(panel, MF_SEPARATOR, 0, nullptr);
    AppendMenuA(panel, MF_STRING, CmdProperties, "&Properties...\tAlt+Enter");
    AppendMenuA(panel, MF_SEPARATOR, 0, nullptr);
    AppendMenuA(panel, MF_STRING, CmdSaveNow, "&Save now\tCtrl+S");
    AppendMenuA(panel, MF_STRING, CmdExit, "E&xit\tAlt+F4");
    AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(panel), "&Panel");

    HMENU tool = CreatePopupMenu();
    AppendMenuA(tool, MF_STRING, CmdSelectNext, "Select &next tool\tF6");
    AppendMenuA(tool, MF_STRING, CmdSelectPrevious, "Select &previous tool\tShift+F6");
    AppendMenuA(tool, MF_STRING, CmdNextButton, "Next &button\tTab");
    AppendMenuA(tool, MF_SEPARATOR, 0, nullptr);
    AppendMenuA(tool, MF_STRING, CmdLarger, "&Larger\tCtrl++");
    AppendMenuA(tool, MF_STRING, CmdSmaller, "&Smaller\tCtrl+-");
    AppendMenuA(tool, MF_STRING, CmdDefaultSize, "&Default size\tCtrl+0");
    AppendMenuA(tool, MF_SEPARATOR, 0, nullptr);
    AppendMenuA(tool, MF_STRING, CmdMoveLeft, "Move l&eft\tCtrl+Left");
    AppendMenuA(tool, MF_STRING, CmdMoveRight, "Move r&ight\tCtrl+Right");
    AppendMenuA(tool, MF_STRING, CmdMoveUp, "Move &up\tCtrl+Up");
    AppendMenuA(tool, MF_STRING, CmdMoveDown, "Move do&wn\tCtrl+Down");
    AppendMenuA(tool, MF_STRING, CmdBringToFront, "Bring to &front");
    AppendAdviceMenuItems(tool);
    AppendMenuA(tool, MF_STRING, CmdTrainer, "T&rainer: judge each draw\tCtrl+R");
    AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(tool), "&Tool");

    HMENU help = CreatePopupMenu();
    AppendMenuA(help, MF_STRING, CmdKeysHelp, "&Keys and mouse\tF1");
    AppendMenuA(help, MF_STRING, CmdChart, "&Strategy chart");
    AppendMenuA(help, MF_STRING, CmdAbout, "&About Quorvane");
    AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(help), "&Help");
    return bar;
}

void EnableToolCommands(HMENU menu)
{
    UINT toolState = SelectedTool() ? MF_ENABLED : MF_GRAYED;
    PanelTool *tool = SelectedTool();
    UINT live = tool && tool->window ? MF_ENABLED : MF_GRAYED;
    const int commands[] = {CmdRemoveTool, CmdMoveLeft, CmdMoveRight, CmdMoveUp, CmdMoveDown, CmdBringToFront};
    for (int c : commands)
        EnableMenuItem(menu, c, MF_BYCOMMAND | toolState);
    const int liveCommands[] = {CmdProperties, CmdLarger, CmdSmaller, CmdDefaultSize};
    for (int c : liveCommands)
        EnableMenuItem(menu, c, MF_BYCOMMAND | live);
    EnableMenuItem(menu, CmdSaveNow, MF_BYCOMMAND | (host.options.noSave ? MF_GRAYED : MF_ENABLED));
    CheckMenuItem(menu, CmdTrainer, MF_BYCOMMAND | (host.trainer ? MF_CHECKED : MF_UNCHECKED));
}

// The push buttons of one tool that Tab can reach, in their window order.
std::vector<HWND> ButtonsOf(const PanelTool &tool)
{
    std::vector<HWND> buttons;
    for (HWND child = GetWindow(tool.window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        char name[16] = {};
        GetClassNameA(child, name, sizeof name);
        if (lstrcmpiA(name, "Button") == 0 && IsWindowVisible(child) && IsWindowEnabled(child))
            buttons.push_back(child);
    }
    return buttons;
}

HWND ToolWindowOf(HWND window)
{
    while (window && GetParent(window) != host.panelWindow)
        window = GetParent(window);
    return window;
}

// Tab walks the buttons tool by tool in number order, wrapping around. Only the tools it passes are
// looked at: a full panel has hundreds of buttons.
void StepFocus(int step)
{
    std::vector<const PanelTool *> ordered;
    for (const PanelTool &t : host.tools)
        if (t.window)
            ordered.push_back(&t);
    std::sort(ordered.begin(), ordered.end(),
              [](const PanelTool *a, const PanelTool *b) { return a->number < b->number; });
    const int count = static_cast<int>(ordered.size());
    if (count == 0) {
        SetFocus(host.panelWindow);
        return;
    }
    HWND focus = GetFocus();
    const PanelTool *holder = ToolByWindow(ToolWindowOf(focus));
    int at = step > 0 ? count - 1 : 0;      // with no button focused, the walk starts at an end
    for (int i = 0; i < count; ++i)
        if (ordered[i] == holder)
            at = i;
    HWND next = nullptr;
    for (int passed = 0; passed <= count && !next; ++passed) {
        std::vector<HWND> buttons = ButtonsOf(*ordered[at]);
        int n = static_cast<int>(buttons.size());
        int mine = static_cast<int>(std::find(buttons.begin(), buttons.end(), focus) - buttons.begin());
        int index = step > 0 ? 0 : n - 1;   // entering a tool: its first or last button
        if (passed == 0)
            index = mine < n ? mine + step : -1;
        if (index >= 0 && index < n)
            next = buttons[index];
        else
            at = ((at + step) % count + count) % count;
    }
    if (!next) {
        SetFocus(host.panelWindow);
        return;
    }
    SetFocus(next);
    host.keyFocus = next;
    if (PanelTool *t = ToolByWindow(ToolWindowOf(next)))
        if (t->number != host.selected)
            SelectTool(t->number);
    char caption[64] = {};
    GetWindowTextA(next, caption, sizeof caption);
    SetStatus(std::string("\"") + caption + "\" has the focus: Space or Enter presses it.");
}

void ShowKeysHelp()
{
    ShowMessage("Mouse\n"
                "  Click a tool to select it; play it with its own buttons and cards.\n"
                "  Drag a tool's tab to move it (or Alt+drag anywhere on the tool).\n"
                "  Drag its side, bottom or corner to resize it: the tool keeps its shape.\n"
                "  Double-click the tab for the tool's properties; click the cross to remove it.\n"
                "  Right-click a tool for its own menu; right-click its tab or the panel for the host's.\n\n"
                "Keys\n"
                "  Insert / Ctrl+N\tadd a tool\n"
                "  Delete\t\tremove the selected tool\n"
                "  F6 / Shift+F6\tselect the next / previous tool\n"
                "  Tab / Shift+Tab\tmove the focus between the tools' buttons\n"
                "  Space / Enter\tDeal/Draw on the selected tool (after Tab: the focused button)\n"
                "  1 to 5\t\thold or release cards one to five\n"
                "  B / M\t\t\"+1\" / \"Bet 5\"\n"
                "  Ctrl+Arrows\tmove the selected tool\n"
                "  Ctrl++ / Ctrl+-\tmake it larger / smaller;  Ctrl+0 default size\n"
                "  Alt+Enter\tproperties of the selected tool\n"
                "  Ctrl+H\t\thint: the best hold for the selected tool's hand\n"
                "  Ctrl+T\t\tstatistics of the selected tool's play\n"
                "  Ctrl+R\t\ttrainer on or off: each draw judged against the best hold\n"
                "  Ctrl+S\t\tsave now (the panel is also saved by itself)\n",
                MB_ICONINFORMATION);
}

void ShowAbout()
{
    std::string text = "Quorvane, a panel host.\n\nPanel file: " + host.configPath + "\n\nPanel types:\n";
    for (const PanelType &t : host.types)
        text += "  " + t.name + " (" + t.moduleFile + "): " + t.description + "\n";
    if (host.types.empty())
        text += "  none\n";
    for (const std::string &problem : host.moduleProblems)
        text += "  " + problem + "\n";
    ShowMessage(text, MB_ICONINFORMATION);
}

HACCEL BuildAccelerators()
{
    ACCEL keys[] = {
        {FVIRTKEY, VK_INSERT, static_cast<WORD>(CmdAddFirstType)},
        {FVIRTKEY | FCONTROL, 'N', static_cast<WORD>(CmdAddFirstType)},
        {FVIRTKEY, VK_DELETE, CmdRemoveTool},
        {FVIRTKEY | FALT, VK_RETURN, CmdProperties},
        {FVIRTKEY | FCONTROL, 'S', CmdSaveNow},
        {FVIRTKEY, VK_F6, CmdSelectNext},
        {FVIRTKEY | FSHIFT, VK_F6, CmdSelectPrevious},
        {FVIRTKEY | FCONTROL, VK_TAB, CmdSelectNext},
        {FVIRTKEY | FCONTROL | FSHIFT, VK_TAB, CmdSelectPrevious},
        {FVIRTKEY, VK_TAB, CmdNextButton},
        {FVIRTKEY | FSHIFT, VK_TAB, CmdPreviousButton},
        {FVIRTKEY, VK_RETURN, CmdPressButton},
        {FVIRTKEY, VK_SPACE, CmdPressButton},
        {FVIRTKEY, '1', CmdHoldCard1},
        {FVIRTKEY, '2', CmdHoldCard1 + 1},
        {FVIRTKEY, '3', CmdHoldCard1 + 2},
        {FVIRTKEY, '4', CmdHoldCard1 + 3},
        {FVIRTKEY, '5', CmdHoldCard1 + 4},
        {FVIRTKEY, VK_NUMPAD1, CmdHoldCard1},
        {FVIRTKEY, VK_NUMPAD2, CmdHoldCard1 + 1},
        {FVIRTKEY, VK_NUMPAD3, CmdHoldCard1 + 2},
        {FVIRTKEY, VK_NUMPAD4, CmdHoldCard1 + 3},
        {FVIRTKEY, VK_NUMPAD5, CmdHoldCard1 + 4},
        {FVIRTKEY, 'B', CmdBetOneKey},
        {FVIRTKEY, 'M', CmdBetFiveKey},
        {FVIRTKEY | FCONTROL, VK_OEM_PLUS, CmdLarger},
        {FVIRTKEY | FCONTROL, VK_ADD, CmdLarger},
        {FVIRTKEY | FCONTROL, VK_OEM_MINUS, CmdSmaller},
        {FVIRTKEY | FCONTROL, VK_SUBTRACT, CmdSmaller},
        {FVIRTKEY | FCONTROL, '0', CmdDefaultSize},
        {FVIRTKEY | FCONTROL, VK_LEFT, CmdMoveLeft},
        {FVIRTKEY | FCONTROL, VK_RIGHT, CmdMoveRight},
        {FVIRTKEY | FCONTROL, VK_UP, CmdMoveUp},
        {FVIRTKEY | FCONTROL, VK_DOWN, CmdMoveDown},
        {FVIRTKEY, VK_F1, CmdKeysHelp},
        {FVIRTKEY | FCONTROL, 'H', CmdHint},
        {FVIRTKEY | FCONTROL, 'T', CmdStatistics},
        {FVIRTKEY | FCONTROL, 'R', CmdTrainer},
    };
    return CreateAcceleratorTableA(keys, sizeof keys / sizeof keys[0]);
}

// --screenshot-of: the command that opens the window to picture; 0 for the main window.
int ScreenshotCommand()
{
    const std::string &of = host.options.screenshotOf;
    return of == "hint" ? CmdHint : of == "statistics" ? CmdStatistics : of == "chart" ? CmdChart : 0;
}

HWND ScreenshotTarget()
{
    return ScreenshotCommand() ? AdviceWindowOf(ScreenshotCommand()) : host.mainWindow;
}

LRESULT CALLBACK MainWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CREATE:
        host.mainWindow = window;
        host.panelWindow = CreatePanelWindow(window);
        host.statusWindow = CreateWindowExA(0, QUORVANE_STATUS_CLASS, "Starting...", WS_CHILD | WS_VISIBLE,
                                            0, 0, 0, 0, window, nullptr, host.instance, nullptr);
        if (!host.panelWindow || !host.statusWindow)
            return -1;
        LayoutChildren(window);     // a hidden window gets no WM_SIZE yet, and tools are placed before it shows
        return 0;
    case WM_SIZE:
        LayoutChildren(window);
        return 0;
    case WM_GETMINMAXINFO: {
        MINMAXINFO *info = reinterpret_cast<MINMAXINFO *>(lParam);
        info->ptMinTrackSize.x = 360;
        info->ptMinTrackSize.y = 260;
        return 0;
    }
    case WM_ACTIVATE:
        if (LOWORD(wParam) == WA_INACTIVE) {
            HWND focus = GetFocus();
            if (IsToolButton(focus))
                host.keyFocus = focus;
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
            if (HandleAdviceCommand(ScreenshotCommand()))
                SetWindowPos(AdviceWindowOf(ScreenshotCommand()), HWND_TOPMOST, 0, 0, 0, 0,
                             SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
            else
                SetWindowPos(window, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
            RedrawWindow(ScreenshotTarget(), nullptr, nullptr,
                         RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN | RDW_FRAME);
            SetTimer(window, ScreenshotCaptureTimer, 300, nullptr);
            return 0;
        case ScreenshotCaptureTimer: {
            KillTimer(window, ScreenshotCaptureTimer);
            HWND target = ScreenshotTarget();
            RedrawWindow(target, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN | RDW_FRAME);
            GdiFlush();
            host.exitCode = target && WriteWindowPng(target, host.options.screenshotPath) ? 0 : 1;
            DestroyWindow(window);
            return 0;
        }
        case ExitTimer:
            KillTimer(window, ExitTimer);
            PostMessageA(window, WM_CLOSE, 0, 0);
            return 0;
        case AdviceRefreshTimer:
            RefreshAdviceWindows();
            return 0;
        }
        return 0;
    case WM_APP_SAVE_LOOP:
        SaveLoopStep();
        return 0;
    case WM_QUERYENDSESSION:
        SaveNow(false);
        return TRUE;
    case WM_CLOSE:
        if (!SaveNow(false) && !host.options.unattended &&
            !AskYesNo("The panel could not be saved to " + host.configPath + ". Quit anyway?"))
            return 0;
        DestroyWindow(window);
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

bool IsToolButton(HWND window)
{
    char name[16] = {};
    return window && IsWindow(window) && GetClassNameA(window, name, sizeof name) &&
           lstrcmpiA(name, "Button") == 0 && ToolByWindow(ToolWindowOf(window));
}

bool RegisterMainClass()
{
    HICON icon = LoadIcon(host.instance, MAKEINTRESOURCE(1));    // the host's own icon
    return RegisterHostClass(QUORVANE_MAIN_CLASS, MainWndProc, nullptr, 0, icon) &&
           RegisterHostClass(QUORVANE_STATUS_CLASS, StatusWndProc);
}

HWND CreateMainWindow(const SavedPanel *saved)
{
    host.accelerators = BuildAccelerators();
    RECT work = {0, 0, 1024, 768};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    int width = 780, height = 560;
    int x = work.left + (Width(work) - width) / 2, y = work.top + (Height(work) - height) / 2;
    if (saved && saved->hasWindow) {
        // A saved place is kept only as far as it is on this screen.
        width = std::min<int>(saved->window.width, Width(work));
        height = std::min<int>(saved->window.height, Height(work));
        x = std::max<int>(work.left, std::min<int>(saved->window.x, work.right - width));
        y = std::max<int>(work.top, std::min<int>(saved->window.y, work.bottom - height));
    }
    return CreateWindowExA(0, QUORVANE_MAIN_CLASS, "Quorvane", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, x, y,
                           width, height, nullptr, BuildMenu(), host.instance, nullptr);
}

void RebuildAddToolMenu()
{
    while (GetMenuItemCount(host.addToolMenu) > 0)
        DeleteMenu(host.addToolMenu, 0, MF_BYPOSITION);
    for (size_t i = 0; i < host.types.size(); ++i) {
        const PanelType &t = host.types[i];
        std::string text = "&" + t.name + (i == 0 ? "\tIns" : "");
        MENUITEMINFOA item = {};
        item.cbSize = sizeof item;
        item.fMask = MIIM_ID | MIIM_STRING | (t.colorBitmap ? MIIM_BITMAP : 0);
        item.wID = CmdAddFirstType + static_cast<UINT>(i);
        item.dwTypeData = const_cast<char *>(text.c_str());
        item.hbmpItem = t.colorBitmap;
        InsertMenuItemA(host.addToolMenu, static_cast<UINT>(i), TRUE, &item);
    }
    if (host.types.empty())
        AppendMenuA(host.addToolMenu, MF_STRING | MF_GRAYED, 0, "(no panel-type module loaded)");
}

void SetStatus(const std::string &text)
{
    if (!host.statusWindow || GetTickCount() < host.warningUntil)
        return;
    statusIsWarning = false;
    SetWindowTextA(host.statusWindow, text.c_str());
}

void SetWarning(const std::string &text)
{
    host.warningUntil = GetTickCount() + WarningHoldMs;
    statusIsWarning = true;
    if (host.statusWindow)
        SetWindowTextA(host.statusWindow, text.c_str());
    if (host.options.unattended)
        fprintf(stderr, "quorvane: %s\n", text.c_str());
}

void UpdateTitle()
{
    if (!host.mainWindow)
        return;
    std::string title = "Quorvane - " + std::to_string(host.tools.size()) +
                        (host.tools.size() == 1 ? " tool" : " tools");
    if (PanelTool *t = SelectedTool())
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

void HandleCommand(int command)
{
    if (HandleAdviceCommand(command) || HandleTrainerCommand(command))
        return;
    PanelTool *tool = SelectedTool();
    int type = command - CmdAddFirstType;
    if (type >= 0 && type < 100) {
        if (type >= static_cast<int>(host.types.size()))
            return;
        if (PanelTool *added = AddTool(type, true)) {
            SetFocus(host.panelWindow);
            SetStatus("Added " + ToolTitle(*added) + ". Drag its tab to move it, its edges to resize it.");
            SaveSoon();
        }
        return;
    }
    switch (command) {
    case CmdRemoveTool:
        if (tool) {
            RemoveTool(tool->number, true);
            SaveSoon();
        }
        return;
    case CmdProperties:
        if (tool && tool->window)
            ShowPropertiesFor(tool->window);
        return;
    case CmdSaveNow:
        if (SaveNow(true) && host.options.noSave)
            SetStatus("Not saving: started with --no-save or for a screenshot.");
        return;
    case CmdExit:
        PostMessageA(host.mainWindow, WM_CLOSE, 0, 0);
        return;
    case CmdSelectNext:
        SelectNeighbour(1);
        return;
    case CmdSelectPrevious:
        SelectNeighbour(-1);
        return;
    case CmdNextButton:
        StepFocus(1);
        return;
    case CmdPreviousButton:
        StepFocus(-1);
        return;
    case CmdPressButton:
        PressDealDrawOrFocused();
        return;
    case CmdKeysHelp:
        ShowKeysHelp();
        return;
    case CmdAbout:
        ShowAbout();
        return;
    }
    if (!tool)
        return;
    const int step = 8;
    switch (command) {
    case CmdLarger:
        StepToolSize(*tool, 24);
        break;
    case CmdSmaller:
        StepToolSize(*tool, -24);
        break;
    case CmdDefaultSize:
        ToolToDefaultSize(*tool);
        break;
    case CmdMoveLeft:
        MoveToolTo(*tool, tool->rect.left - step, tool->rect.top);
        break;
    case CmdMoveRight:
        MoveToolTo(*tool, tool->rect.left + step, tool->rect.top);
        break;
    case CmdMoveUp:
        MoveToolTo(*tool, tool->rect.left, tool->rect.top - step);
        break;
    case CmdMoveDown:
        MoveToolTo(*tool, tool->rect.left, tool->rect.top + step);
        break;
    case CmdBringToFront:
        SelectTool(tool->number);
        break;
    default:
        return;
    }
    SaveSoon();
}
