// credit_graph.cpp: the graph of credits under the statistics: the selected tool's lifetime beside the
// panel's, each as played and as the best hold of every deal would have gone.
#include "apps/quorvane/trainer/credit_graph.h"
#include "apps/quorvane/trainer/memory.h"
#include "apps/quorvane/companion.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace {

// At the screen's DPI, as the host's font is.
const int Margin = Scaled(8);
const int AxisWidth = Scaled(52);       // room for the credit labels left of the plot
const int LegendHeight = Scaled(34);    // two lines under the plot

std::string Credits(double value)
{
    char text[32];
    // Rounded first: a value just under nought reads "0", never "-0".
    const double rounded = std::round(value);
    if (rounded == 0)
        return "0";
    snprintf(text, sizeof text, "%+.0f", rounded);
    return text;
}

void Text(HDC dc, int x, int y, const std::string &text, UINT align = TA_LEFT)
{
    SetTextAlign(dc, align | TA_TOP);
    TextOutA(dc, x, y, text.c_str(), static_cast<int>(text.size()));
}

void DrawSeries(HDC dc, const std::vector<double> &values, const RECT &plot, double low, double high, COLORREF colour)
{
    const int width = plot.right - plot.left, height = plot.bottom - plot.top;
    const size_t last = values.size() - 1;
    std::vector<POINT> points(values.size());
    for (size_t i = 0; i < values.size(); ++i) {
        points[i].x = plot.left + static_cast<LONG>(last ? (width * static_cast<double>(i)) / last : 0);
        points[i].y = plot.bottom - static_cast<LONG>(std::lround(height * (values[i] - low) / (high - low)));
    }
    HPEN pen = CreatePen(PS_SOLID, Scaled(2), colour);
    HGDIOBJ old = SelectObject(dc, pen);
    Polyline(dc, points.data(), static_cast<int>(points.size()));
    SelectObject(dc, old);
    DeleteObject(pen);
}

void LegendLine(HDC dc, int x, int y, COLORREF colour, const std::string &text)
{
    HPEN pen = CreatePen(PS_SOLID, Scaled(2), colour);
    HGDIOBJ old = SelectObject(dc, pen);
    MoveToEx(dc, x, y + Scaled(7), nullptr);
    LineTo(dc, x + Scaled(22), y + Scaled(7));
    SelectObject(dc, old);
    DeleteObject(pen);
    Text(dc, x + Scaled(28), y, text);
}

// One graph in area: its title, the credits from 0 at the first hand remembered, the zero line, the legend.
void PaintGraph(HDC dc, const RECT &area, const std::string &title, int toolNumber)
{
    std::vector<double> played, perfect;
    std::string dealing;
    CreditSeries(Memory().hands, toolNumber, &played, &perfect, &dealing);
    const int hands = static_cast<int>(played.size()) - 1;
    Text(dc, area.left, area.top, title + ": credits over " + std::to_string(hands) + (hands == 1 ? " hand" : " hands"));
    RECT plot = {area.left + AxisWidth, area.top + Scaled(20), area.right - Margin, area.bottom - LegendHeight};
    if (plot.right - plot.left < Scaled(20) || plot.bottom - plot.top < Scaled(20))
        return;
    FrameRect(dc, &plot, static_cast<HBRUSH>(GetStockObject(LTGRAY_BRUSH)));
    if (hands == 0) {
        Text(dc, (plot.left + plot.right) / 2, (plot.top + plot.bottom) / 2 - Scaled(8), "no hand drawn yet", TA_CENTER);
        return;
    }
    double low = 0, high = 0;
    for (const std::vector<double> *series : {&played, &perfect})
        for (double v : *series)
            low = std::min(low, v), high = std::max(high, v);
    if (high - low < 1)
        high = low + 1;
    const int zero = plot.bottom - static_cast<int>(std::lround((plot.bottom - plot.top) * (0 - low) / (high - low)));
    HPEN grey = CreatePen(PS_DOT, 1, RGB(150, 150, 150));
    HGDIOBJ old = SelectObject(dc, grey);
    MoveToEx(dc, plot.left, zero, nullptr);
    LineTo(dc, plot.right, zero);
    SelectObject(dc, old);
    DeleteObject(grey);
    Text(dc, plot.left - Scaled(4), plot.top - Scaled(6), Credits(high), TA_RIGHT);
    Text(dc, plot.left - Scaled(4), zero - Scaled(7), "0", TA_RIGHT);
    Text(dc, plot.left - Scaled(4), plot.bottom - Scaled(8), Credits(low), TA_RIGHT);
    DrawSeries(dc, perfect, plot, low, high, BestLineColour);
    DrawSeries(dc, played, plot, low, high, PlayedLineColour);
    LegendLine(dc, plot.left, plot.bottom + Scaled(2), PlayedLineColour, "as played: " + Credits(played.back()));
    LegendLine(dc, plot.left, plot.bottom + Scaled(17), BestLineColour,
               "best holds (" + dealing + "): " + Credits(perfect.back()));
}

void PaintGraphs(HWND window)
{
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window, &paint);
    RECT client;
    GetClientRect(window, &client);
    FillRect(dc, &client, GetSysColorBrush(COLOR_WINDOW));
    HGDIOBJ oldFont = SelectObject(dc, HostFont());
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
    RECT area = {client.left + Margin, client.top + Margin, client.right, client.bottom - Margin / 2};
    PanelToolView selected;
    const PanelToolView *tool = SelectedPanelTool(&selected) ? &selected : nullptr;
    if (tool) {
        RECT left = area, right = area;
        left.right = right.left = (area.left + area.right) / 2;
        PaintGraph(dc, left, tool->title, tool->number);
        PaintGraph(dc, right, "The panel", 0);
    } else {
        PaintGraph(dc, area, "The panel", 0);
    }
    SelectObject(dc, oldFont);
    EndPaint(window, &paint);
}

LRESULT CALLBACK CreditGraphProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_PAINT:
        PaintGraphs(window);
        return 0;
    case WM_SIZE:
        InvalidateRect(window, nullptr, TRUE);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

} // namespace

bool RegisterCreditGraphClass()
{
    return RegisterCompanionClass(QUORVANE_CREDIT_GRAPH_CLASS, CreditGraphProc, GetSysColorBrush(COLOR_WINDOW));
}
