// commands.cpp: the host's menus and keys as menus.rc and a companion give them, and what each command does.
#include "apps/quorvane/commands.h"
#include "apps/quorvane/companion.h"
#include "apps/quorvane/tools.h"
#include "apps/quorvane/status_line.h"
#include "apps/quorvane/key_focus.h"
#include "apps/quorvane/persistence.h"
#include "apps/quorvane/property_window.h"
#include "apps/quorvane/screen_scale.h"

#include <cstring>
#include <vector>

namespace {

// F1: the lines of the string table's key list, in the order of their ids.
void ShowKeysHelp()
{
    std::string text;
    char line[256];
    for (int id = IDS_KEYS_HELP_FIRST; id <= IDS_KEYS_HELP_LAST; ++id)
        if (LoadStringA(host.instance, id, line, sizeof line) > 0)
            text += std::string(line) + "\n";
    ShowMessage(OneColumn(text), MB_ICONINFORMATION);
}

// A key as a menu shows it: "Ctrl+S", "Shift+F6", "Del".
std::string KeyName(const ACCEL &key)
{
    std::string name = std::string(key.fVirt & FCONTROL ? "Ctrl+" : "") + (key.fVirt & FSHIFT ? "Shift+" : "") +
                       (key.fVirt & FALT ? "Alt+" : "");
    const struct { WORD key; const char *name; } named[] = {
        {VK_INSERT, "Ins"}, {VK_DELETE, "Del"}, {VK_ESCAPE, "Esc"}, {VK_RETURN, "Enter"}, {VK_TAB, "Tab"}, {VK_SPACE, "Space"},
        {VK_LEFT, "Left"}, {VK_RIGHT, "Right"}, {VK_UP, "Up"}, {VK_DOWN, "Down"}, {VK_OEM_PLUS, "+"},
        {VK_OEM_MINUS, "-"}, {VK_ADD, "Num +"}, {VK_SUBTRACT, "Num -"}};
    for (const auto &n : named)
        if (key.key == n.key)
            return name + n.name;
    if (key.key >= VK_F1 && key.key <= VK_F24)
        return name + "F" + std::to_string(key.key - VK_F1 + 1);
    if (key.key >= VK_NUMPAD0 && key.key <= VK_NUMPAD9)
        return name + "Num " + std::to_string(key.key - VK_NUMPAD0);
    return name + static_cast<char>(key.key);
}

std::vector<ACCEL> KeysOf(HACCEL table)
{
    int count = table ? CopyAcceleratorTableA(table, nullptr, 0) : 0;
    std::vector<ACCEL> keys(static_cast<size_t>(count));
    if (count)
        CopyAcceleratorTableA(table, keys.data(), count);
    return keys;
}

// The first key of the key table that gives command, as a menu shows it; empty when none does.
std::string KeyFor(int command)
{
    for (const ACCEL &key : KeysOf(host.accelerators))
        if (key.cmd == command)
            return KeyName(key);
    return "";
}

// Writes each item's key after its text, as the key table gives it.
void ShowKeysIn(HMENU menu)
{
    for (int i = 0, count = GetMenuItemCount(menu); i < count; ++i) {
        char text[128] = {};
        MENUITEMINFOA item = {};
        item.cbSize = sizeof item;
        item.fMask = MIIM_ID | MIIM_SUBMENU | MIIM_STRING;
        item.dwTypeData = text;
        item.cch = sizeof text;
        if (!GetMenuItemInfoA(menu, static_cast<UINT>(i), TRUE, &item))
            continue;
        if (item.hSubMenu) {
            ShowKeysIn(item.hSubMenu);
            continue;
        }
        std::string key = item.wID ? KeyFor(static_cast<int>(item.wID)) : "";
        if (key.empty() || strchr(text, '\t'))
            continue;
        std::string shown = std::string(text) + "\t" + key;
        item.fMask = MIIM_STRING;
        item.dwTypeData = const_cast<char *>(shown.c_str());
        SetMenuItemInfoA(menu, static_cast<UINT>(i), TRUE, &item);
    }
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

std::string TextOf(HMENU menu, int position)
{
    char text[128] = {};
    GetMenuStringA(menu, static_cast<UINT>(position), text, sizeof text, MF_BYPOSITION);
    return text;
}

// Each popup's items of the companion's menu go where the host's popup of the same name marks their place.
void MergeCompanionItems(HMENU bar, HMENU companion)
{
    for (int p = 0; p < GetMenuItemCount(companion); ++p) {
        HMENU from = GetSubMenu(companion, p), to = nullptr;
        for (int q = 0; q < GetMenuItemCount(bar) && !to; ++q)
            if (TextOf(bar, q) == TextOf(companion, p))
                to = GetSubMenu(bar, q);
        if (!from || !to)
            continue;
        for (int i = 0; i < GetMenuItemCount(from); ++i) {
            std::string text = TextOf(from, i);
            UINT id = GetMenuItemID(from, i);
            UINT flags = MF_BYCOMMAND | (GetMenuState(from, static_cast<UINT>(i), MF_BYPOSITION) & MF_SEPARATOR
                                            ? MF_SEPARATOR : MF_STRING);
            InsertMenuA(to, CmdCompanionItems, flags, id, text.c_str());
        }
    }
}

} // namespace

HMENU LoadHostMenu(int id)
{
    HMENU menu = LoadMenuA(host.instance, MAKEINTRESOURCEA(id));
    if (menu)
        ShowKeysIn(menu);
    return menu;
}

HMENU BuildMenu()
{
    HMENU bar = LoadHostMenu(IDR_MAIN_MENU);
    host.addToolMenu = GetSubMenu(GetSubMenu(bar, 0), 0);
    if (HMENU companion = LoadMenuA(host.instance, MAKEINTRESOURCEA(IDR_COMPANION_MENU))) {
        MergeCompanionItems(bar, companion);
        DestroyMenu(companion);
        ShowKeysIn(bar);
    }
    while (DeleteMenu(bar, CmdCompanionItems, MF_BYCOMMAND))
        ;
    return bar;
}

void EnableToolCommands(HMENU menu)
{
    UINT toolState = host.Selected() ? MF_ENABLED : MF_GRAYED;
    PanelTool *tool = host.Selected();
    UINT live = tool && tool->window ? MF_ENABLED : MF_GRAYED;
    const int commands[] = {CmdRemoveTool, CmdMoveLeft, CmdMoveRight, CmdMoveUp, CmdMoveDown, CmdBringToFront};
    for (int c : commands)
        EnableMenuItem(menu, c, MF_BYCOMMAND | toolState);
    const int liveCommands[] = {CmdProperties, CmdLarger, CmdSmaller, CmdDefaultSize};
    for (int c : liveCommands)
        EnableMenuItem(menu, c, MF_BYCOMMAND | live);
    EnableMenuItem(menu, CmdSaveNow, MF_BYCOMMAND | (host.options.noSave ? MF_GRAYED : MF_ENABLED));
    CompanionMenuOpening(menu);
}

HACCEL BuildAccelerators()
{
    std::vector<ACCEL> keys = KeysOf(LoadAcceleratorsA(host.instance, MAKEINTRESOURCEA(IDR_KEYS)));
    std::vector<ACCEL> more = KeysOf(LoadAcceleratorsA(host.instance, MAKEINTRESOURCEA(IDR_COMPANION_KEYS)));
    keys.insert(keys.end(), more.begin(), more.end());
    return CreateAcceleratorTableA(keys.data(), static_cast<int>(keys.size()));
}

void RebuildAddToolMenu()
{
    while (GetMenuItemCount(host.addToolMenu) > 0)
        DeleteMenu(host.addToolMenu, 0, MF_BYPOSITION);
    for (size_t i = 0; i < host.types.size(); ++i) {
        const PanelType &t = host.types[i];
        std::string text = "&" + t.name + (i == 0 ? "\t" + KeyFor(CmdAddFirstType) : "");
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

void RemoveToolAsked(int number)
{
    PanelTool *tool = host.ByNumber(number);
    if (!tool || !AskYesNo("Remove " + ToolTitle(*tool) + "? Its game goes with it."))
        return;
    if (PanelTool *still = host.ByNumber(number)) {
        if (still->window)
            ClosePropertiesFor(still->window);
        RemoveTool(number);
        SaveSoon();
    }
}

void HandleCommand(int command)
{
    if (CompanionCommand(command))
        return;
    PanelTool *tool = host.Selected();
    int type = command - CmdAddFirstType;
    if (type >= 0 && type < 100) {
        if (type >= static_cast<int>(host.types.size()))
            return;
        // The new tool asks for the selected tool's size, or with none selected a new panel's first's.
        ToolSize wished = FreshToolSize();
        if (tool)
            wished = ToolSize{tool->rect.right - tool->rect.left, tool->rect.bottom - tool->rect.top};
        if (PanelTool *added = AddTool(type, true, &wished)) {
            SetFocus(host.panelWindow);
            SetStatus("Added " + ToolTitle(*added) + ". Drag its tab to move it, its edges to resize it.");
            SaveSoon();
        }
        return;
    }
    switch (command) {
    case CmdRemoveTool:
        if (tool)
            RemoveToolAsked(tool->number);
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
    case CmdSelectPrevious:
        if (SelectNeighbour(command == CmdSelectNext ? 1 : -1))
            SaveSoon();
        return;
    case CmdNextButton:
        StepFocus(1);
        return;
    case CmdPreviousButton:
        StepFocus(-1);
        return;
    case CmdPressButton:
        if (!CompanionPress() && PressFocusedButton())
            SaveSoon();
        return;
    case CmdKeysToPlay:
        if (host.drag != DragKind::None) {      // Escape in a drag puts the tool back
            SendMessageA(host.panelWindow, WM_KEYDOWN, VK_ESCAPE, 0);
            return;
        }
        if (CompanionEscape())
            return;
        host.keyFocus = nullptr;
        SetFocus(host.panelWindow);
        SetStatus("The keys play the selected tool again.");
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
        StepToolSize(*tool, Scaled(24));
        break;
    case CmdSmaller:
        StepToolSize(*tool, -Scaled(24));
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
