// companion_services.cpp: what the host offers its companion (companion.h), over the host's own records.
#include "apps/quorvane/companion.h"
#include "apps/quorvane/key_focus.h"
#include "apps/quorvane/persistence.h"
#include "apps/quorvane/status_line.h"
#include "apps/quorvane/tools.h"
#include "apps/quorvane/files.h"

namespace {

PanelToolView ViewOf(const PanelTool &tool)
{
    PanelToolView view;
    view.number = tool.number;
    view.title = ToolTitle(tool);
    if (tool.type >= 0 && tool.type < static_cast<int>(host.types.size()))
        view.typeName = host.types[tool.type].name;
    view.window = tool.window;
    return view;
}

bool Found(const PanelTool *tool, PanelToolView *view)
{
    if (tool)
        *view = ViewOf(*tool);
    return tool != nullptr;
}

} // namespace

std::vector<PanelToolView> PanelTools()
{
    std::vector<PanelToolView> views;
    for (const PanelTool &tool : host.tools)
        views.push_back(ViewOf(tool));
    return views;
}

bool FindPanelTool(int number, PanelToolView *tool)
{
    return Found(host.ByNumber(number), tool);
}

bool FindToolHolding(HWND window, PanelToolView *tool)
{
    return Found(ToolHolding(window), tool);
}

bool SelectedPanelTool(PanelToolView *tool)
{
    return Found(host.Selected(), tool);
}

int SelectedToolNumber()
{
    return host.selected;
}

std::vector<uint8_t> ToolBlock(const PanelToolView &tool)
{
    return ReadToolBlock(tool.window);
}

void PressToolButton(HWND button)
{
    SendMessageA(button, BM_CLICK, 0, 0);
    SaveSoon();
}

HWND WalkedToolButton()
{
    return IsToolButton(host.keyFocus) ? host.keyFocus : nullptr;
}

void ShowNews(const std::string &text)
{
    SetStatus(text);
}

void ShowWarning(const std::string &text)
{
    SetWarning(text);
}

void ShowNewsNow(const std::string &text, bool warning)
{
    host.warningUntil = 0;
    if (warning)
        SetWarning(text);
    else
        SetStatus(text);
}

void JoinWarning(const std::string &text)
{
    AddWarning(text);
}

void ClearNews(const std::string &text)
{
    ClearStatus(text);
}

RECT StatusLineOnScreen()
{
    RECT line = {};
    if (host.statusWindow)
        GetWindowRect(host.statusWindow, &line);
    return line;
}

std::string StatusLineText()
{
    char text[512] = {};
    if (host.statusWindow)
        GetWindowTextA(host.statusWindow, text, sizeof text);
    return text;
}

std::string PanelSetting(const std::string &name)
{
    auto found = host.settings.find(name);
    return found == host.settings.end() ? "" : found->second;
}

void SetPanelSetting(const std::string &name, const std::string &value)
{
    if (value.empty())
        host.settings.erase(name);
    else
        host.settings[name] = value;
    SaveSoon();
}

void SavePanelSoon()
{
    SaveSoon();
}

std::string PanelStoreName()
{
    return FileNameOf(host.configPath);
}

HINSTANCE HostInstance()
{
    return host.instance;
}

HWND HostMainWindow()
{
    return host.mainWindow;
}

HFONT HostFont()
{
    return host.uiFont;
}

bool RegisterCompanionClass(const char *className, WNDPROC procedure, HBRUSH background)
{
    return RegisterHostClass(className, procedure, background);
}
