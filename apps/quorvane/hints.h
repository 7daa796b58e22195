// hints.h: the host's hint and statistics windows for the Video Poker tools on the panel.
#pragma once

#include <windows.h>

#define QUORVANE_HINT_CLASS "QuorvaneHint"
#define QUORVANE_STATISTICS_CLASS "QuorvaneStatistics"
#define QUORVANE_CHART_CLASS "QuorvaneChart"

#include "apps/quorvane/command_ids.h"   // CmdHint, CmdStatistics, CmdChart

// Reads every Video Poker tool's block and follows its game; refreshes the open windows when a game
// or the selection changed. The message loop calls it for every message, so no change goes unseen.
void WatchToolGames();
// Brings the open hint and statistics windows up to date (AdviceRefreshTimer ends here).
void RefreshAdviceWindows();

// Shows the machine's own chart, worked out in the background since the chart window first opened
// (WM_APP_MACHINE_CHART ends here).
void ShowMachineChart();

// Carries out CmdHint, CmdStatistics and CmdChart; false for any other command.
bool HandleAdviceCommand(int command);

// The open window of CmdHint, CmdStatistics or CmdChart, or null.
HWND AdviceWindowOf(int command);

struct AnalysisTables;
struct PanelTool;
struct VideoPokerGame;
// The analysis tables, built at the first question; null when memory ran out.
const AnalysisTables *AdviceTables();
// The game of a Video Poker tool, read from its block; false for any other tool.
bool ReadPokerGame(const PanelTool &tool, VideoPokerGame *game);
