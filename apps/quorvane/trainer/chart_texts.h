// chart_texts.h: the strategy charts the trainer shows: the even deck's at five coins, the one a player
// learns first, derived at the first question; and this machine's own, derived on a worker thread.
#pragma once

#include <windows.h>
#include <string>

#include "analysis/strategy_chart.h"

// The even deck's chart; null when memory ran out.
const StrategyChart *EvenChart();
// The chart window's text: the even chart, then the machine's once it is worked out. The first call starts
// the worker, which posts done to notify when the machine's chart is there.
std::string ChartWindowText(HWND notify, UINT done);
