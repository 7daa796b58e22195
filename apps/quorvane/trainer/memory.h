// memory.h: the trainer's memory of play on this panel, kept in "<panel file>.trainer" across runs.
#pragma once

#include "apps/quorvane/trainer/trainer_log.h"

#include <string>

// Read from its file at the first call; damage is told once on the status line and costs only itself.
const TrainerMemory &Memory();
// A tool drew a hand, valued under the dealing in force: counted, and a mistake logged.
void RememberHand(int toolNumber, const JudgedHand &judged);
// The tool left the panel: its own lifetime goes, the panel's keeps its hands.
void ForgetToolPlay(int toolNumber);
// The host saves: the file is written whole when play added to it since.
void SaveMemory();
// The file's name without its folder: "Quorvane.cfg.trainer".
std::string MemoryFileName();
