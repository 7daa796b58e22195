// trainer.h: playing the selected Video Poker tool from the keyboard, and the trainer that flags holds
// worse than the best. Keys reach the tool as the button presses and card clicks a mouse makes.
#pragma once

#include "apps/quorvane/companion.h"

struct PlayedHand;
struct JudgedHand;
struct VideoPokerGame;

// Its commands (CmdHoldCard1 to CmdBetFiveKey, CmdTrainer) are in trainer_ids.h.

// The trainer is on: each draw is judged (a setting of the panel).
bool TrainerOn();

// Enter and Space: the button Tab walked to, or else Deal/Draw of the selected tool.
void PressDealDrawOrFocused();

// Carries out the commands above; false for any other.
bool HandleTrainerCommand(int command);

// A tool's game changed (drawn: the hand it drew, if it was a draw): the status line clears a verdict
// that play has left behind, and tells a player out of credits how to start again.
void FollowGame(const PanelToolView &tool, const VideoPokerGame &now, const PlayedHand *drawn);
// A hand the tool drew this run has been valued: with the trainer on, the status line gives the verdict.
void ShowJudgement(int toolNumber, const JudgedHand &judged);
// Holds are valued by another dealing now: a verdict under the old one goes, the news takes its place.
void DealingSwitched(const std::string &news);
// The selection moved to this Video Poker tool.
void SelectionChanged(const PanelToolView &tool, const VideoPokerGame &game);
