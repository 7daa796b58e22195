// strategy_chart_print.cpp: a chart as text, and how two charts differ.
#include "analysis/strategy_chart.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

std::string Percent(double fraction)
{
    // Enough digits that a share above zero never reads as zero.
    int digits = 4;
    while (digits < 9 && fraction > 0 && fraction * 100 < 0.5 * std::pow(10.0, -digits))
        ++digits;
    char text[32];
    snprintf(text, sizeof text, "%.*f%%", digits, fraction * 100);
    return text;
}

std::string ChartText(const StrategyChart &chart)
{
    std::string text;
    char line[200];
    int width = 0;
    for (const ChartLine &chartLine : chart.lines)
        width = std::max(width, static_cast<int>(chartLine.text.size()));
    for (size_t i = 0; i < chart.lines.size(); ++i) {
        snprintf(line, sizeof line, "%2zu. %-*s %9s\n", i + 1, width, chart.lines[i].text.c_str(),
                 Percent(chart.lines[i].share).c_str());
        text += line;
    }
    snprintf(line, sizeof line, "Chart return:   %.6f%%\nOptimal return: %.6f%%\n", chart.chartReturn * 100,
             chart.optimalReturn * 100);
    text += line;
    if (chart.machineDealing && chart.comparedReturn > 0) {
        snprintf(line, sizeof line, "The even deck's chart on this dealing: %.6f%%\n", chart.comparedReturn * 100);
        text += line;
    }
    return text;
}

std::string ChartDifferences(const StrategyChart &even, const StrategyChart &machine)
{
    // A line differs when only one chart has it, or when a line both have stands above it in one chart
    // and below it in the other.
    auto indexOf = [](const StrategyChart &chart, int pattern) {
        for (size_t i = 0; i < chart.lines.size(); ++i)
            if (chart.lines[i].pattern == pattern)
                return static_cast<int>(i);
        return -1;
    };
    std::string text;
    char line[160];
    for (size_t i = 0; i < machine.lines.size(); ++i) {
        int there = indexOf(even, machine.lines[i].pattern);
        const char *what = nullptr;
        if (there < 0)
            what = "new";
        for (size_t j = 0; j < machine.lines.size() && !what; ++j) {
            int other = indexOf(even, machine.lines[j].pattern);
            if (other >= 0 && (j < i) != (other < there))
                what = "moved";
        }
        if (what) {
            if (there < 0)
                snprintf(line, sizeof line, "%2zu %s: %s\n", i + 1, machine.lines[i].text.c_str(), what);
            else
                snprintf(line, sizeof line, "%2zu (even %d) %s: %s\n", i + 1, there + 1,
                         machine.lines[i].text.c_str(), what);
            text += line;
        }
    }
    for (const ChartLine &evenLine : even.lines)
        if (indexOf(machine, evenLine.pattern) < 0)
            text += "   even deck only: " + evenLine.text + "\n";
    return text;
}
