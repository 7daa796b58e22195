// game_tables.h: what the trainer reads the games with and values holds by: the Video Poker tools' blocks,
// the dealing in force (this machine's own, or an even deck), and the worker that builds the tables.
#pragma once

#include "apps/quorvane/companion.h"

#include <string>

struct AnalysisTables;
struct VideoPokerGame;
struct WeightedTables;
class AnalysisWorker;

// A Video Poker tool, known by its panel type's name.
bool IsPokerTool(const PanelToolView &tool);
// Its game, read from its block through PTM_GETSTATE; false for any other tool.
bool ReadPokerGame(const PanelToolView &tool, VideoPokerGame *game);

// The dealing hints, verdicts and statistics value holds by, a setting of the panel that CmdDealing
// switches: this machine's own (the default), or an even deck.
bool MachineDealing();
void SwitchDealing();

// The worker, started at the first call, whichever window or command asks first: its news is posted to
// the trainer's notice window (AnalysisNotices). With QUORVANE_HOLD_ANALYSIS set it waits for
// CmdAnalysisGo before any work (a test's hook).
AnalysisWorker &Analysis();
// What it should build first: the dealing in force at these bet sizes (bit c: c coins).
void PlanAnalysis(unsigned betSizes);
// The tables a hand of coins is valued by under the dealing in force, once built (false until then);
// *machine null: an even deck (also when memory ran out for the machine's).
bool ValuesFor(int coins, const AnalysisTables **tables, const WeightedTables **machine);
// What a window says while its figures are being worked out: "the values for this machine's dealing
// are being worked out (40%)", or that memory ran out.
std::string WorkingOutText();
