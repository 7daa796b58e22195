// tools.cpp: the tools on the panel: creating, placing, sizing, selecting and removing them.
#include "apps/quorvane/tools.h"
#include "apps/quorvane/modules.h"
#include "apps/quorvane/main_window.h"
#include "apps/quorvane/status_line.h"
#include "apps/quorvane/property_window.h"
#include "apps/quorvane/rect_size.h"
#include "apps/quorvane/size_question.h"

#include <algorithm>

namespace {

constexpr ToolSize ProvisionalSize = {120, 70};   // until a tool of the type tells its default
constexpr int SpotStep = 8;
constexpr int ToolGap = 6;                        // between the decorations of neighbouring tools
constexpr int ShadowReach = 12;                   // the drop shadow's spread beyond the decoration


RECT RectAt(int x, int y, ToolSize size)
{
    RECT r = {x, y, x + size.width, y + size.height};
    return r;
}

SIZE PanelSize()
{
    RECT client = {};
    GetClientRect(host.panelWindow, &client);
    SIZE s = {client.right, client.bottom};
    return s;
}

int NextFreeNumber()
{
    for (int n = 1;; ++n)
        if (!ToolByNumber(n))
            return n;
}

void SendLayout(HWND window)
{
    SendMessageA(window, PTM_LAYOUT, 0, 0);
}

// Places the tool's window at rect; PTM_LAYOUT follows every change of size.
void ApplyRect(PanelTool &tool, const RECT &rect)
{
    RECT old = tool.rect;
    bool sizeChanged = Width(old) != Width(rect) || Height(old) != Height(rect);
    bool moved = old.left != rect.left || old.top != rect.top;
    if (!sizeChanged && !moved)
        return;
    tool.rect = rect;
    if (tool.window) {
        // The background under a tool depends on where it stands, so its old pixels are useless.
        SetWindowPos(tool.window, nullptr, rect.left, rect.top, Width(rect), Height(rect),
                     SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOCOPYBITS);
        if (sizeChanged)
            SendLayout(tool.window);
        RedrawWindow(tool.window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
    }
    InvalidateToolDecoration(old);
    InvalidateToolDecoration(rect);
}

bool SpotIsFree(const RECT &candidate, SIZE panel)
{
    RECT decorated = DecoratedRect(candidate);
    if (decorated.left < PanelMargin || decorated.top < PanelMargin ||
        decorated.right > panel.cx - PanelMargin || decorated.bottom > panel.cy - PanelMargin)
        return false;
    InflateRect(&decorated, ToolGap, ToolGap);
    for (const PanelTool &t : host.tools) {
        RECT other = DecoratedRect(t.rect), overlap;
        if (IntersectRect(&overlap, &decorated, &other))
            return false;
    }
    return true;
}

// The first free place, row by row; with none free, a step down and right from the selected tool.
POINT FindFreeSpot(ToolSize size)
{
    SIZE panel = PanelSize();
    int startX = PanelMargin + EdgeBand, startY = PanelMargin + TabHeight;
    for (int y = startY; y + size.height + EdgeBand + PanelMargin <= panel.cy; y += SpotStep)
        for (int x = startX; x + size.width + EdgeBand + PanelMargin <= panel.cx; x += SpotStep)
            if (SpotIsFree(RectAt(x, y, size), panel))
                return POINT{x, y};
    POINT p = {startX, startY};
    if (PanelTool *t = SelectedTool()) {
        p.x = t->rect.left + 24;
        p.y = t->rect.top + 24;
    }
    if (p.x + size.width > panel.cx)
        p.x = startX;
    if (p.y + size.height > panel.cy)
        p.y = startY;
    return p;
}

// Creates the window of a tool of the given type at rect: the first PTM_LAYOUT follows at once.
HWND CreateToolWindow(int type, RECT rect, const std::vector<uint8_t> &state)
{
    const PanelType &t = host.types[type];
    RECT asked = rect;
    HWND window = t.create(host.panelWindow, &asked, state.empty() ? nullptr : state.data(),
                           static_cast<DWORD>(state.size()), 0);
    if (!window)
        return nullptr;
    SendLayout(window);
    // A module that placed its window elsewhere is put where the host wants it.
    RECT actual = {};
    GetWindowRect(window, &actual);
    MapWindowPoints(nullptr, host.panelWindow, reinterpret_cast<POINT *>(&actual), 2);
    if (!EqualRect(&actual, &rect)) {
        SetWindowPos(window, nullptr, rect.left, rect.top, Width(rect), Height(rect),
                     SWP_NOZORDER | SWP_NOACTIVATE);
        if (Width(actual) != Width(rect) || Height(actual) != Height(rect))
            SendLayout(window);
    }
    return window;
}

PanelTool &PushTool(int type, HWND window, const std::string &moduleFile, const std::string &typeName,
                    const RECT &rect, const std::vector<uint8_t> &state)
{
    PanelTool tool;
    tool.number = NextFreeNumber();
    tool.window = window;
    tool.type = type;
    tool.moduleFile = moduleFile;
    tool.typeName = typeName;
    tool.rect = rect;
    tool.state = state;
    host.tools.push_back(tool);
    InvalidateToolDecoration(rect);
    UpdateTitle();
    return host.tools.back();
}

void RaiseToTop(int number)
{
    int index = IndexOfTool(number);
    if (index < 0)
        return;
    PanelTool tool = host.tools[index];
    host.tools.erase(host.tools.begin() + index);
    host.tools.push_back(tool);
    if (tool.window)
        SetWindowPos(tool.window, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    InvalidateToolDecoration(tool.rect);
}

} // namespace

PanelTool *ToolByNumber(int number)
{
    for (PanelTool &t : host.tools)
        if (t.number == number)
            return &t;
    return nullptr;
}

PanelTool *ToolByWindow(HWND window)
{
    if (!window)
        return nullptr;
    for (PanelTool &t : host.tools)
        if (t.window == window)
            return &t;
    return nullptr;
}

PanelTool *SelectedTool()
{
    return host.selected ? ToolByNumber(host.selected) : nullptr;
}

int IndexOfTool(int number)
{
    for (size_t i = 0; i < host.tools.size(); ++i)
        if (host.tools[i].number == number)
            return static_cast<int>(i);
    return -1;
}

std::string ToolTitle(const PanelTool &tool)
{
    return tool.typeName + " " + std::to_string(tool.number);
}

RECT DecoratedRect(const RECT &r)
{
    RECT d = {r.left - EdgeBand, r.top - TabHeight, r.right + EdgeBand, r.bottom + EdgeBand};
    return d;
}

void InvalidateToolDecoration(const RECT &toolRect)
{
    if (!host.panelWindow)
        return;
    RECT d = DecoratedRect(toolRect);
    InflateRect(&d, ShadowReach, ShadowReach);
    InvalidateRect(host.panelWindow, &d, FALSE);
}

// A file may place a tool where no one can see or grab it, or make it larger than the panel: it is
// brought onto the panel, shrunk first if need be at a size the tool agrees to, as a resize would.
static void BringWithinReach(PanelTool &tool)
{
    SIZE panel = PanelSize();
    if (panel.cx <= 2 * EdgeBand || panel.cy <= TabHeight + EdgeBand)
        return;                       // no panel to speak of yet (minimised): leave it as saved
    int w = Width(tool.rect), h = Height(tool.rect);
    int x = std::max(EdgeBand, std::min<int>(tool.rect.left, panel.cx - w - EdgeBand));
    int y = std::max(TabHeight, std::min<int>(tool.rect.top, panel.cy - h - EdgeBand));
    if (w > panel.cx - x - EdgeBand || h > panel.cy - y - EdgeBand)
        ResizeTool(tool, CornerQuestion, false, ToolSize{w, h}, RectAt(x, y, ToolSize{w, h}),
                   DragKind::BottomRight);
    MoveToolTo(tool, x, y);
}

bool CreateToolFromSaved(const SavedTool &saved)
{
    RECT rect = {saved.x, saved.y, saved.x + saved.width, saved.y + saved.height};
    int type = FindType(saved.moduleFile, saved.typeName);
    HWND window = type >= 0 ? CreateToolWindow(type, rect, saved.state) : nullptr;
    // Without a window the record still stands, and is saved back as it was read.
    PanelTool &tool = PushTool(window ? type : -1, window, saved.moduleFile, saved.typeName, rect, saved.state);
    if (window)
        BringWithinReach(tool);
    return window != nullptr;
}

PanelTool *AddTool(int type, bool select)
{
    if (type < 0 || type >= static_cast<int>(host.types.size()) ||
        static_cast<int>(host.tools.size()) >= MaxPanelTools)
        return nullptr;
    PanelType &t = host.types[type];
    ToolSize size = t.defaultSizeKnown ? t.defaultSize : ProvisionalSize;
    POINT at = FindFreeSpot(size);
    HWND window = CreateToolWindow(type, RectAt(at.x, at.y, size), {});
    if (!window) {
        SetWarning("The " + t.name + " module could not create a tool.");
        return nullptr;
    }
    PanelTool &tool = PushTool(type, window, t.moduleFile, t.name, RectAt(at.x, at.y, size), {});
    if (!t.defaultSizeKnown) {
        t.defaultSize = AskDefaultSize(window, ProvisionalSize);
        t.defaultSizeKnown = true;
        if (!(t.defaultSize == size))
            ApplyRect(tool, RectAt(at.x, at.y, t.defaultSize));
    }
    int number = tool.number;
    if (select)
        SelectTool(number);
    return ToolByNumber(number);
}

void RemoveTool(int number, bool ask)
{
    PanelTool *tool = ToolByNumber(number);
    if (!tool)
        return;
    std::string title = ToolTitle(*tool);
    if (ask && !AskYesNo("Remove " + title + "? Its game goes with it."))
        return;
    tool = ToolByNumber(number);
    if (!tool)
        return;
    RECT rect = tool->rect;
    HWND window = tool->window;
    if (window) {
        ClosePropertiesFor(window);
        DestroyWindow(window);
    }
    host.tools.erase(host.tools.begin() + IndexOfTool(number));
    InvalidateToolDecoration(rect);
    if (host.selected == number)
        host.selected = 0;
    if (!host.tools.empty())
        SelectTool(host.tools.back().number);
    UpdateTitle();
    SetStatus("Removed " + title + ".");
}

void SelectTool(int number)
{
    PanelTool *old = SelectedTool();
    PanelTool *next = ToolByNumber(number);
    if (old)
        InvalidateToolDecoration(old->rect);
    host.selected = next ? number : 0;
    if (next)
        RaiseToTop(number);
    UpdateTitle();
}

void SelectNeighbour(int step)
{
    if (host.tools.empty())
        return;
    std::vector<int> numbers;
    for (const PanelTool &t : host.tools)
        numbers.push_back(t.number);
    std::sort(numbers.begin(), numbers.end());
    auto at = std::find(numbers.begin(), numbers.end(), host.selected);
    int index = at == numbers.end() ? 0 : static_cast<int>(at - numbers.begin());
    int count = static_cast<int>(numbers.size());
    if (at != numbers.end())
        index = ((index + step) % count + count) % count;
    SelectTool(numbers[index]);
    if (PanelTool *t = SelectedTool())
        SetStatus("Selected " + ToolTitle(*t) + ".");
}

void MoveToolTo(PanelTool &tool, int x, int y)
{
    SIZE panel = PanelSize();
    int w = Width(tool.rect), h = Height(tool.rect);
    // The tab must stay reachable: a tool never leaves the panel.
    x = std::max(EdgeBand, std::min(x, static_cast<int>(panel.cx) - w - EdgeBand));
    y = std::max(TabHeight, std::min(y, static_cast<int>(panel.cy) - h - EdgeBand));
    ApplyRect(tool, RectAt(x, y, ToolSize{w, h}));
}

bool ResizeTool(PanelTool &tool, SizeQuestionKind kind, bool heightLeads, ToolSize wished, RECT from,
                DragKind anchor)
{
    SIZE panel = PanelSize();
    bool rightStays = anchor == DragKind::Left || anchor == DragKind::BottomLeft;
    int roomWidth = rightStays ? from.right - EdgeBand : panel.cx - from.left - EdgeBand;
    int roomHeight = panel.cy - from.top - EdgeBand;
    SizeBounds bounds = BoundsWithRoom(roomWidth, roomHeight);
    ToolSize size = NegotiateToolSize(tool.window, kind, heightLeads, wished, bounds);
    int left = rightStays ? from.right - size.width : from.left;
    RECT next = RectAt(left, from.top, size);
    bool changed = !EqualRect(&next, &tool.rect);
    ApplyRect(tool, next);
    return changed;
}

void StepToolSize(PanelTool &tool, int widthStep)
{
    ToolSize wished = {Width(tool.rect) + widthStep, Height(tool.rect) + widthStep * 7 / 12};
    ResizeTool(tool, CornerQuestion, false, wished, tool.rect, DragKind::BottomRight);
    SetStatus(ToolTitle(tool) + ": " + std::to_string(Width(tool.rect)) + " x " +
              std::to_string(Height(tool.rect)) + ".");
}

void ToolToDefaultSize(PanelTool &tool)
{
    ToolSize size = AskDefaultSize(tool.window, ProvisionalSize);
    ApplyRect(tool, RectAt(tool.rect.left, tool.rect.top, size));
    SetStatus(ToolTitle(tool) + " is back at its default size, " + std::to_string(size.width) + " x " +
              std::to_string(size.height) + ".");
}

void ReadToolStates()
{
    for (PanelTool &t : host.tools) {
        if (!t.window)
            continue;
        if (!IsWindow(t.window)) {
            // The tool's window went away behind the host's back: keep its last block and save it.
            t.window = nullptr;
            t.type = -1;
            continue;
        }
        void *block = nullptr;
        LRESULT size = SendMessageA(t.window, PTM_GETSTATE, 0, reinterpret_cast<LPARAM>(&block));
        if (!block || size <= 0 || static_cast<size_t>(size) > MaxToolStateBytes) {
            t.state.clear();
            continue;
        }
        const uint8_t *bytes = static_cast<const uint8_t *>(block);
        t.state.assign(bytes, bytes + size);
    }
}

void DestroyAllTools()
{
    for (PanelTool &t : host.tools) {
        if (!t.window)
            continue;
        ClosePropertiesFor(t.window);
        DestroyWindow(t.window);
        t.window = nullptr;
    }
    host.tools.clear();
    host.selected = 0;
}
