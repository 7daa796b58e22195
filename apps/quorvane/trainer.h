// trainer.h: playing the selected Video Poker tool from the keyboard, and the trainer that flags holds
// worse than the best. Keys reach the tool as the button presses and card clicks a mouse makes.
#pragma once

#include "apps/quorvane/host_state.h"

struct PlayedHand;

constexpr int CmdHoldCard1 = 1210;      // 1..5: CmdHoldCard1 + 0..4 toggles that card's hold
constexpr int CmdBetOneKey = 1215;      // B: "+1"
constexpr int CmdBetFiveKey = 1216;     // M: "Bet 5"
constexpr int CmdTrainer = 1217;        // Tool > Trainer: flag mistakes

// Enter and Space: the button Tab walked to, or else Deal/Draw of the selected tool.
void PressDealDrawOrFocused();

// Carries out the commands above; false for any other.
bool HandleTrainerCommand(int command);

// A hand of a tool was drawn: with the trainer on, the status line judges its holds.
void JudgeDrawnHand(const PanelTool &tool, const PlayedHand &hand);
