// panel_model.cpp: the placed tools, the selection and the placing rules (see panel_model.h).
#include "apps/quorvane/panel_model.h"

#include <algorithm>

namespace {

constexpr int SpotStep = 8;
constexpr int ToolGap = 6;                        // between the decorations of neighbouring tools

RECT RectAt(int x, int y, ToolSize size)
{
    return RECT{x, y, x + size.width, y + size.height};
}

} // namespace

void ScaleHostGeometry(int dpi)
{
    TabHeight = AtDpi(20, StoreDpi, dpi), EdgeBand = AtDpi(7, StoreDpi, dpi), PanelMargin = AtDpi(8, StoreDpi, dpi);
}

std::string ToolTitle(const PanelTool &tool)
{
    return tool.typeName + " " + std::to_string(tool.number);
}

RECT DecoratedRect(const RECT &r)
{
    return RECT{r.left - EdgeBand, r.top - TabHeight, r.right + EdgeBand, r.bottom + EdgeBand};
}

PanelTool *PanelModel::ByNumber(int number)
{
    for (PanelTool &t : tools)
        if (t.number == number)
            return &t;
    return nullptr;
}

PanelTool *PanelModel::ByWindow(HWND window)
{
    if (!window)
        return nullptr;
    for (PanelTool &t : tools)
        if (t.window == window)
            return &t;
    return nullptr;
}

PanelTool *PanelModel::Selected()
{
    return selected ? ByNumber(selected) : nullptr;
}

int PanelModel::IndexOf(int number) const
{
    for (size_t i = 0; i < tools.size(); ++i)
        if (tools[i].number == number)
            return static_cast<int>(i);
    return -1;
}

PanelTool &PanelModel::Place(PanelTool tool)
{
    if (tool.number <= 0 || IndexOf(tool.number) >= 0) {   // a number kept in the store stays when free
        // A new number is one the panel never gave, so nothing kept under an old tool's number passes
        // to a new one; only past the last number a tab can show are free ones taken again.
        tool.number = nextNumber <= MaxToolNumber ? nextNumber : 1;
        while (IndexOf(tool.number) >= 0)
            ++tool.number;
    }
    nextNumber = std::max(nextNumber, tool.number + 1);
    tools.push_back(tool);
    return tools.back();
}

PanelTool *PanelModel::Select(int number)
{
    int index = IndexOf(number);
    selected = index >= 0 ? number : 0;
    if (index < 0)
        return nullptr;
    std::rotate(tools.begin() + index, tools.begin() + index + 1, tools.end());
    return &tools.back();
}

bool PanelModel::Remove(int number, PanelTool *removed)
{
    int index = IndexOf(number);
    if (index < 0)
        return false;
    *removed = tools[index];
    tools.erase(tools.begin() + index);
    if (selected == number)
        selected = 0;
    if (!tools.empty())
        Select(tools.back().number);
    return true;
}

int PanelModel::Neighbour(int step) const
{
    if (tools.empty())
        return 0;
    std::vector<int> numbers;
    for (const PanelTool &t : tools)
        numbers.push_back(t.number);
    std::sort(numbers.begin(), numbers.end());
    auto at = std::find(numbers.begin(), numbers.end(), selected);
    if (at == numbers.end())
        return numbers.front();
    int count = static_cast<int>(numbers.size());
    return numbers[((at - numbers.begin() + step) % count + count) % count];
}

POINT PanelModel::FreeSpot(ToolSize size, SIZE panel) const
{
    // How much of the other tools (with the gap kept between neighbours) a place would cover.
    auto covered = [&](const RECT &candidate) {
        RECT decorated = DecoratedRect(candidate);
        RECT apart = {decorated.left - ToolGap, decorated.top - ToolGap, decorated.right + ToolGap,
                      decorated.bottom + ToolGap};
        long long area = 0;
        for (const PanelTool &t : tools) {
            RECT other = DecoratedRect(t.rect);
            long long w = std::min(apart.right, other.right) - std::max(apart.left, other.left);
            long long h = std::min(apart.bottom, other.bottom) - std::max(apart.top, other.top);
            if (w > 0 && h > 0)
                area += w * h;
        }
        return area;
    };
    // The places tried: a grid, and the places just beside and just below each tool, so that a tool
    // fits snugly by another where the grid would miss the room by a pixel or two.
    int startX = PanelMargin + EdgeBand, startY = PanelMargin + TabHeight;
    std::vector<int> xs, ys;
    for (int x = startX; x + size.width + EdgeBand + PanelMargin <= panel.cx; x += SpotStep)
        xs.push_back(x);
    for (int y = startY; y + size.height + EdgeBand + PanelMargin <= panel.cy; y += SpotStep)
        ys.push_back(y);
    for (const PanelTool &t : tools) {
        int x = t.rect.right + EdgeBand + ToolGap + EdgeBand, y = t.rect.bottom + EdgeBand + ToolGap + TabHeight;
        if (!xs.empty() && x + size.width + EdgeBand + PanelMargin <= panel.cx)
            xs.push_back(x);
        if (!ys.empty() && y + size.height + EdgeBand + PanelMargin <= panel.cy)
            ys.push_back(y);
    }
    std::sort(xs.begin(), xs.end());
    std::sort(ys.begin(), ys.end());
    // Row by row, the first place that covers nothing; with none, the one that covers least, so that a
    // new tool lands on the emptiest part of the felt rather than on another tool.
    long long least = -1;
    POINT best = {};
    for (int y : ys)
        for (int x : xs) {
            long long area = covered(RectAt(x, y, size));
            if (area == 0)
                return POINT{x, y};
            if (least < 0 || area < least)
                least = area, best = POINT{x, y};
        }
    if (least >= 0)
        return best;
    // No place on the panel takes the tool whole: a step down and right from the selected tool.
    POINT p = {startX, startY};
    int index = selected ? IndexOf(selected) : -1;
    if (index >= 0) {
        p.x = tools[index].rect.left + 24;
        p.y = tools[index].rect.top + 24;
    }
    if (p.x + size.width > panel.cx)
        p.x = startX;
    if (p.y + size.height > panel.cy)
        p.y = startY;
    return p;
}

RECT PanelModel::Within(const RECT &rect, int x, int y, SIZE panel) const
{
    int w = Width(rect), h = Height(rect);
    x = std::max(EdgeBand, std::min(x, static_cast<int>(panel.cx) - w - EdgeBand));
    y = std::max(TabHeight, std::min(y, static_cast<int>(panel.cy) - h - EdgeBand));
    return RectAt(x, y, ToolSize{w, h});
}

std::vector<SavedTool> PanelModel::Saved() const
{
    std::vector<SavedTool> saved;
    for (const PanelTool &t : tools) {
        SavedTool s;
        s.moduleFile = t.moduleFile;
        s.typeName = t.typeName;
        s.x = t.rect.left;
        s.y = t.rect.top;
        s.width = Width(t.rect);
        s.height = Height(t.rect);
        s.state = t.state;
        s.number = t.number;
        saved.push_back(s);
    }
    return saved;
}
