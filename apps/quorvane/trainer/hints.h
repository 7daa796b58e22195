// hints.h: the trainer's hint, statistics, chart and mistakes windows for the Video Poker tools on the panel.
#pragma once

#include <windows.h>

#include "apps/quorvane/trainer/trainer_ids.h"   // CmdHint, CmdStatistics, CmdChart, the window classes

// Reads every Video Poker tool's block and follows its game; refreshes the open windows when a game
// or the selection changed. The message loop calls it for every message, so no change goes unseen.
void WatchToolGames();
// Carries out CmdHint, CmdStatistics, CmdChart, CmdMistakes and CmdDealing; false for any other command.
bool HandleAdviceCommand(int command);

// The hidden window the analysis worker posts AnalysisNews to; made at the first call.
constexpr UINT AnalysisNews = WM_APP + 1;   // something new: tables, figures, hands valued
HWND AnalysisNotices();
// True while a worker started for the windows (the returns of optimal play, the charts) is not done.
bool AdviceStillWorking();
// The open window of CmdHint, CmdStatistics, CmdChart or CmdMistakes, or null.
HWND AdviceWindowOf(int command);
// Escape from the panel: the trainer's window shown last is put away; false when none is open.
bool PutAwayNewestWindow();
