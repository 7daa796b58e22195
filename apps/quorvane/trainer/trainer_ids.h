// trainer_ids.h: the trainer's command ids and window classes, shared by its code, its resources
// (trainer.rc) and the programs that drive the host from outside. Plain defines, so that the resource
// compiler reads it too; the ids stay clear of the host's (command_ids.h).
#pragma once

#define CmdHint 1200                // the best hold for the selected tool's hand
#define CmdStatistics 1201          // the selected tool's play so far
#define CmdChart 1202               // the holds a player learns, in order
#define CmdHoldCard1 1210           // CmdHoldCard1 + 0..4 toggles that card's hold
#define CmdBetOneKey 1215           // "+1"
#define CmdBetFiveKey 1216          // "Bet 5"
#define CmdTrainer 1217             // flag mistakes
#define CmdDealAgain 1218           // the last hand's bet again, and deal
#define CmdDealing 1219             // values by an even deck instead of this machine's dealing, or back
#define CmdMistakes 1220            // the mistakes remembered, by kind
#define CmdAnalysisGo 1221          // a test's hook: the analysis held back at start (QUORVANE_HOLD_ANALYSIS) goes on

#define QUORVANE_HINT_CLASS "QuorvaneHint"
#define QUORVANE_STATISTICS_CLASS "QuorvaneStatistics"
#define QUORVANE_CHART_CLASS "QuorvaneChart"
#define QUORVANE_MISTAKES_CLASS "QuorvaneMistakes"
