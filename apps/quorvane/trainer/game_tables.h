// game_tables.h: what the trainer reads the games with and values holds by: the Video Poker tools' blocks,
// the analysis tables, and the dealing in force (this machine's own, or an even deck).
#pragma once

#include "apps/quorvane/companion.h"

struct AnalysisTables;
struct VideoPokerGame;
struct WeightedTables;

// A Video Poker tool, known by its panel type's name.
bool IsPokerTool(const PanelToolView &tool);
// Its game, read from its block through PTM_GETSTATE; false for any other tool.
bool ReadPokerGame(const PanelToolView &tool, VideoPokerGame *game);

// The analysis tables, built at the first question; null when memory ran out.
const AnalysisTables *AdviceTables();
// The dealing hints, verdicts and statistics value holds by (a setting of the panel, CmdDealing switches
// it): this machine's own, the default, as the tables of its dealing for that many coins; null for an
// even deck (or when memory ran out for the machine's).
const WeightedTables *AdviceDealing(int coins);
void SwitchDealing();
