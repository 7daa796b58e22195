// hints.h: the trainer's hint, statistics, chart and mistakes windows for the Video Poker tools on the panel.
#pragma once

#include <windows.h>

#include "apps/quorvane/trainer/trainer_ids.h"   // CmdHint, CmdStatistics, CmdChart, the window classes

// Reads every Video Poker tool's block and follows its game; refreshes the open windows when a game
// or the selection changed. The message loop calls it for every message, so no change goes unseen.
void WatchToolGames();
// Carries out CmdHint, CmdStatistics, CmdChart, CmdMistakes and CmdDealing; false for any other command.
bool HandleAdviceCommand(int command);

// The open window of CmdHint, CmdStatistics, CmdChart or CmdMistakes, or null.
HWND AdviceWindowOf(int command);

struct AnalysisTables;
struct PanelToolView;
struct VideoPokerGame;
// The analysis tables, built at the first question; null when memory ran out.
const AnalysisTables *AdviceTables();
// The game of a Video Poker tool (known by its panel type's name), read from its block through
// PTM_GETSTATE; false for any other tool.
bool ReadPokerGame(const PanelToolView &tool, VideoPokerGame *game);

struct WeightedTables;
// The dealing hints, verdicts and statistics value holds by (CmdDealing switches, a setting of the
// panel file): this machine's own, the default, as the tables of its dealing for that many coins; null
// for an even deck (or when memory ran out for the machine's).
const WeightedTables *AdviceDealing(int coins);
