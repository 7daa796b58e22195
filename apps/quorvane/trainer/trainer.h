// trainer.h: playing the selected Video Poker tool from the keyboard, and the trainer that flags holds
// worse than the best. Keys reach the tool as the button presses and card clicks a mouse makes.
#pragma once

#include "apps/quorvane/host_state.h"

struct PlayedHand;

// Its commands (CmdHoldCard1 to CmdBetFiveKey, CmdTrainer) are in trainer_ids.h.

// The trainer is on: each draw is judged (a setting of the panel file).
bool TrainerOn();

// Enter and Space: the button Tab walked to, or else Deal/Draw of the selected tool.
void PressDealDrawOrFocused();

// Carries out the commands above; false for any other.
bool HandleTrainerCommand(int command);

// A hand of a tool was drawn: with the trainer on, the status line judges its holds.
void JudgeDrawnHand(const PanelTool &tool, const PlayedHand &hand);
