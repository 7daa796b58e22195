// chart_texts.h: the strategy charts the trainer shows: the even deck's at five coins, the one a player
// learns first, and this machine's own, both derived on a worker thread the first question starts.
#pragma once

#include <windows.h>
#include <string>

#include "analysis/strategy_chart.h"

// The even deck's chart once derived; null until then (or when memory ran out). Either call starts the
// worker, which posts done to notify as each chart is there.
const StrategyChart *EvenChart(HWND notify, UINT done);
// True while the worker is deriving them.
bool ChartsBeingDerived();
// The chart window's text: the chart of the dealing in force first, each once worked out.
std::string ChartWindowText(HWND notify, UINT done);
