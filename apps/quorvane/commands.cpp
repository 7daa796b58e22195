// commands.cpp: the host's menus and keys, and what each command does.
#include "apps/quorvane/commands.h"
#include "apps/quorvane/hints.h"
#include "apps/quorvane/tools.h"
#include "apps/quorvane/main_window.h"
#include "apps/quorvane/status_line.h"
#include "apps/quorvane/key_focus.h"
#include "apps/quorvane/persistence.h"
#include "apps/quorvane/property_window.h"
#include "apps/quorvane/trainer.h"

namespace {

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

} // namespace

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
