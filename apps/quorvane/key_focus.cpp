// key_focus.cpp: Tab and Shift+Tab across the tools' buttons, and which windows count as those buttons.
#include "apps/quorvane/key_focus.h"
#include "apps/quorvane/tools.h"
#include "apps/quorvane/status_line.h"

#include <algorithm>

namespace {

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

// Tab walks the buttons tool by tool in number order, wrapping around. Only the tools it passes are
// looked at: a full panel has hundreds of buttons.
} // namespace

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
    const PanelTool *holder = ToolHolding(focus);
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
    if (PanelTool *t = ToolHolding(next))
        if (t->number != host.selected)
            SelectTool(t->number);
    char caption[64] = {};
    GetWindowTextA(next, caption, sizeof caption);
    SetStatus(std::string("\"") + caption + "\" has the focus: Space or Enter presses it.");
}

bool PressFocusedButton()
{
    // While another window is active this thread has no focus, but the walk's button is still the one
    // a press means.
    HWND focus = GetFocus() ? GetFocus() : host.keyFocus;
    if (focus != host.keyFocus || !IsToolButton(focus) || !IsWindowEnabled(focus))
        return false;
    SendMessageA(focus, BM_CLICK, 0, 0);
    return true;
}

bool IsToolButton(HWND window)
{
    char name[16] = {};
    return window && IsWindow(window) && GetClassNameA(window, name, sizeof name) &&
           lstrcmpiA(name, "Button") == 0 && ToolHolding(window);
}

