// tools.cpp: the window side of the panel's tools: their windows created, placed, sized, raised and
// destroyed as the model (panel_model.h) changes, and the panel repainted where they were.
#include "apps/quorvane/tools.h"
#include "apps/quorvane/modules.h"
#include "apps/quorvane/status_line.h"
#include "apps/quorvane/rect_size.h"
#include "apps/quorvane/size_question.h"
#include "apps/quorvane/screen_scale.h"

#include <algorithm>

namespace {

constexpr ToolSize ProvisionalSize = {100, 100};  // until a tool of the type tells its default
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

void SendLayout(HWND window)
{
    SendMessageA(window, PTM_LAYOUT, 0, 0);
}

// What the tools above the i-th cover of it with their windows, tabs and frames, in its own coordinates.
std::vector<RECT> HolesIn(size_t i)
{
    const RECT &r = host.tools[i].rect;
    std::vector<RECT> holes;
    for (size_t j = i + 1; j < host.tools.size(); ++j) {
        RECT above = DecoratedRect(host.tools[j].rect);
        if (above.left < r.right && r.left < above.right && above.top < r.bottom && r.top < above.bottom) {
            OffsetRect(&above, -r.left, -r.top);
            holes.push_back(above);
        }
    }
    return holes;
}

bool SameRects(const std::vector<RECT> &a, const std::vector<RECT> &b)
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                              [](const RECT &x, const RECT &y) { return EqualRect(&x, &y) != 0; });
}

HRGN RegionWithout(const RECT &own, const std::vector<RECT> &holes)
{
    HRGN region = CreateRectRgnIndirect(&own);
    for (const RECT &h : holes) {
        HRGN hole = CreateRectRgnIndirect(&h);
        CombineRgn(region, region, hole, RGN_DIFF);
        DeleteObject(hole);
    }
    return region;
}

// Each tool's window gives up what the tools above it cover with their windows, tabs and frames, so
// that a tool and its decoration stand together in the z-order: the upper one whole, the lower one's
// windows never painting over the upper one's tab. Only windows whose cut changed are touched, and
// they repaint only what they gained: what they lost is the upper tool's to paint, and the moves,
// raises and removals that cause a cut invalidate that themselves.
void ClipTools()
{
    for (size_t i = 0; i < host.tools.size(); ++i) {
        PanelTool &t = host.tools[i];
        RECT own = {0, 0, Width(t.rect), Height(t.rect)};
        std::vector<RECT> holes = t.window ? HolesIn(i) : std::vector<RECT>();
        if (!t.window || (SameRects(holes, t.clipHoles) && (holes.empty() || EqualRect(&own, &t.clipOwn))))
            continue;
        HRGN region = holes.empty() ? nullptr : RegionWithout(own, holes), gained = nullptr;
        if (!t.clipHoles.empty()) {
            gained = holes.empty() ? CreateRectRgnIndirect(&own) : RegionWithout(own, holes);
            HRGN before = RegionWithout(t.clipOwn, t.clipHoles);
            CombineRgn(gained, gained, before, RGN_DIFF);
            DeleteObject(before);
        }
        SetWindowRgn(t.window, region, FALSE);     // the window owns the region now
        if (gained) {
            RedrawWindow(t.window, nullptr, gained, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
            DeleteObject(gained);
        }
        t.clipOwn = own;
        t.clipHoles = holes;
    }
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
    ClipTools();
    InvalidateToolDecoration(old);
    InvalidateToolDecoration(rect);
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
                    const RECT &rect, const std::vector<uint8_t> &state, int number = 0)
{
    PanelTool tool;
    tool.number = number;
    tool.window = window;
    tool.type = type;
    tool.moduleFile = moduleFile;
    tool.typeName = typeName;
    tool.rect = rect;
    tool.state = state;
    PanelTool &placed = host.Place(tool);
    ClipTools();
    InvalidateToolDecoration(rect);
    UpdateTitle();
    return placed;
}

// The selected tool came to the top of the model: its window goes on top of the others.
void ShowRaised(const PanelTool &tool)
{
    if (tool.window)
        SetWindowPos(tool.window, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    ClipTools();
    if (tool.window)       // what lay under another tool is drawn whole again
        RedrawWindow(tool.window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
    InvalidateToolDecoration(tool.rect);
}

} // namespace

void InvalidateToolDecoration(const RECT &toolRect)
{
    if (!host.panelWindow)
        return;
    RECT d = DecoratedRect(toolRect);
    InflateRect(&d, Scaled(ShadowReach), Scaled(ShadowReach));
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

bool CreateToolFromSaved(const SavedTool &kept)
{
    const SavedTool saved = ToolAtDpi(kept, StoreDpi, ScreenDpi());
    RECT rect = {saved.x, saved.y, saved.x + saved.width, saved.y + saved.height};
    int type = FindType(saved.moduleFile, saved.typeName);
    HWND window = type >= 0 ? CreateToolWindow(type, rect, saved.state) : nullptr;
    // Without a window the record still stands, and is saved back as it was read.
    PanelTool &tool = PushTool(window ? type : -1, window, saved.moduleFile, saved.typeName, rect, saved.state,
                               saved.number);
    if (window)
        BringWithinReach(tool);
    return window != nullptr;
}

ToolSize FreshToolSize()
{
    const ToolSize at96 = host.options.freshWidth > 0 ? ToolSize{host.options.freshWidth, host.options.freshHeight}
                                                      : WelcomeSize;
    return ToolSize{Scaled(at96.width), Scaled(at96.height)};
}

PanelTool *AddTool(int type, bool select, const ToolSize *wished)
{
    if (type < 0 || type >= static_cast<int>(host.types.size()) ||
        static_cast<int>(host.tools.size()) >= MaxPanelTools)
        return nullptr;
    PanelType &t = host.types[type];
    ToolSize size = t.defaultSizeKnown ? t.defaultSize : ProvisionalSize;
    POINT at = host.FreeSpot(size, PanelSize());
    HWND window = CreateToolWindow(type, RectAt(at.x, at.y, size), {});
    if (!window) {
        SetWarning("The " + t.name + " module could not create a tool.");
        return nullptr;
    }
    ToolSize next = size;
    if (!t.defaultSizeKnown) {
        // The first tool of a type tells the size it and every later one starts at, and its place.
        t.defaultSize = AskDefaultSize(window, ProvisionalSize);
        t.defaultSizeKnown = true;
        next = t.defaultSize;
    }
    // A size a tool of the same type already has was that tool's own answer: taken as it is, since
    // asking again from the width alone may round it off (120 x 70 coming back as 120 x 69).
    bool knownSize = false;
    for (const PanelTool &other : host.tools)
        knownSize = knownSize || (wished && other.type == type && Width(other.rect) == wished->width &&
                                  Height(other.rect) == wished->height);
    if (knownSize) {
        next = *wished;
    } else if (wished) {
        // The tool is asked for the size wished, as a resize would ask it, and its answer taken.
        SIZE panel = PanelSize();
        SizeBounds bounds = BoundsWithRoom(LimitsFor(t.defaultSize), panel.cx - 2 * EdgeBand,
                                           panel.cy - TabHeight - EdgeBand);
        next = NegotiateToolSize(window, CornerQuestion, false, *wished, bounds);
    }
    if (!(next == size)) {
        size = next;
        at = host.FreeSpot(size, PanelSize());
        SetWindowPos(window, nullptr, at.x, at.y, size.width, size.height, SWP_NOZORDER | SWP_NOACTIVATE);
        SendLayout(window);
    }
    PanelTool &tool = PushTool(type, window, t.moduleFile, t.name, RectAt(at.x, at.y, size), {});
    int number = tool.number;
    if (select)
        SelectTool(number);
    return host.ByNumber(number);
}

void RemoveTool(int number)
{
    if (PanelTool *old = host.Selected())
        InvalidateToolDecoration(old->rect);
    PanelTool removed;
    if (!host.Remove(number, &removed))
        return;
    if (removed.window)
        DestroyWindow(removed.window);
    ClipTools();
    InvalidateToolDecoration(removed.rect);
    if (PanelTool *top = host.Selected())
        ShowRaised(*top);
    UpdateTitle();
    SetStatus("Removed " + ToolTitle(removed) + ".");
}

void SelectTool(int number)
{
    if (PanelTool *old = host.Selected())
        InvalidateToolDecoration(old->rect);
    if (PanelTool *next = host.Select(number))
        ShowRaised(*next);
    UpdateTitle();
}

bool SelectNeighbour(int step)
{
    if (host.tools.empty())
        return false;
    SelectTool(host.Neighbour(step));
    PanelTool *t = host.Selected();
    if (!t)
        return false;
    // A smaller window may have left the tool out of view: the tool the keys chose comes into it, the
    // least move that shows it whole (or its top left, when the panel is smaller than the tool).
    RECT shown = host.Within(t->rect, t->rect.left, t->rect.top, PanelSize());
    bool moved = !EqualRect(&shown, &t->rect);
    if (moved)
        ApplyRect(*t, shown);
    SetStatus("Selected " + ToolTitle(*t) + (moved ? ", brought into view." : "."));
    return moved;
}

void MoveToolTo(PanelTool &tool, int x, int y)
{
    ApplyRect(tool, host.Within(tool.rect, x, y, PanelSize()));   // the tab stays in reach
}

bool ResizeTool(PanelTool &tool, SizeQuestionKind kind, bool heightLeads, ToolSize wished, RECT from,
                DragKind anchor)
{
    SIZE panel = PanelSize();
    bool rightStays = anchor == DragKind::Left || anchor == DragKind::BottomLeft;
    int roomWidth = rightStays ? from.right - EdgeBand : panel.cx - from.left - EdgeBand;
    int roomHeight = panel.cy - from.top - EdgeBand;
    SizeBounds limits = LimitsFor(AskDefaultSize(tool.window, ProvisionalSize));
    SizeBounds bounds = BoundsWithRoom(limits, roomWidth, roomHeight);
    ToolSize size = NegotiateToolSize(tool.window, kind, heightLeads, wished, bounds);
    int left = rightStays ? from.right - size.width : from.left;
    RECT next = RectAt(left, from.top, size);
    bool changed = !EqualRect(&next, &tool.rect);
    ApplyRect(tool, next);
    return changed;
}

void StepToolSize(PanelTool &tool, int widthStep)
{
    // The width leads; the height wished is the tool's own shape kept, for a tool that does not answer.
    int width = std::max(1, Width(tool.rect));
    ToolSize wished = {width + widthStep, Height(tool.rect) + widthStep * Height(tool.rect) / width};
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
        t.state = ReadToolBlock(t.window);
    }
}

std::vector<uint8_t> ReadToolBlock(HWND window)
{
    void *block = nullptr;
    LRESULT size = SendMessageA(window, PTM_GETSTATE, 0, reinterpret_cast<LPARAM>(&block));
    if (!block || size <= 0 || static_cast<size_t>(size) > MaxToolStateBytes)
        return {};
    const uint8_t *bytes = static_cast<const uint8_t *>(block);
    return std::vector<uint8_t>(bytes, bytes + size);
}

PanelTool *ToolHolding(HWND window)
{
    while (window && window != host.panelWindow) {
        HWND parent = GetParent(window);
        if (parent == host.panelWindow)
            return host.ByWindow(window);
        window = parent;
    }
    return nullptr;
}

void DestroyAllTools()
{
    for (PanelTool &t : host.tools) {
        if (!t.window)
            continue;
        DestroyWindow(t.window);
        t.window = nullptr;
    }
    host.tools.clear();
    host.selected = 0;
}
