// chart_texts.h: the strategy charts the trainer shows: the even deck's at five coins, the one a player
// learns first, and this machine's own, both derived by the analysis worker.
#pragma once

#include <string>

#include "analysis/strategy_chart.h"

// The even deck's chart once derived; null until then (or when memory ran out).
const StrategyChart *EvenChart();
// The chart window's text: the chart of the dealing in force first, each once worked out.
std::string ChartWindowText();
