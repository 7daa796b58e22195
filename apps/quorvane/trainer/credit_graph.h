// credit_graph.h: the statistics window's graph of credits, hand by hand, as played and with the best holds.
#pragma once

#include <windows.h>

#define QUORVANE_CREDIT_GRAPH_CLASS "QuorvaneCreditGraph"

// Played credits are drawn in this colour, the best holds' in the other.
constexpr COLORREF PlayedLineColour = RGB(0, 90, 210);
constexpr COLORREF BestLineColour = RGB(230, 120, 0);

bool RegisterCreditGraphClass();
