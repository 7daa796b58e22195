// memory.h: the trainer's memory of play on this panel, kept in tables of the panel's store across runs.
#pragma once

#include "apps/quorvane/trainer/trainer_log.h"

#include <string>

#include "apps/quorvane/companion.h"

// What is remembered (empty until the store opened).
const TrainerMemory &Memory();
// A tool drew a hand, valued under the dealing in force: counted, and a mistake logged.
void RememberHand(int toolNumber, const JudgedHand &judged);
// The tool left the panel: its own lifetime goes, the panel's keeps its hands.
void ForgetToolPlay(int toolNumber);

// The store opened: the tables made or upgraded, the memory read; trouble is told once on the status line.
void OpenMemory(Store &store);
// An older host's "<panel file>.trainer" (found: there was one) into the new store's tables; damage is told.
bool ImportMemory(Store &store, bool found, const std::string &text, const std::string &name);
bool MemoryUnsaved();
// Inside the host's save: the rows play added since the last committed save.
bool WriteMemory(Store &store);
void MemorySaveEnded(bool committed);
// The memory as text, for the export.
std::string MemoryText();
// Where it is kept, without the folder: the store's file name.
std::string MemoryFileName();
