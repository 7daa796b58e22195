// memory.h: the trainer's memory of play on this panel, kept in tables of the panel's store across runs.
#pragma once

#include "apps/quorvane/trainer/trainer_log.h"

#include <string>

#include "apps/quorvane/companion.h"

// What is remembered (empty until the store opened), and a count of its changes, so that texts made from
// it are made again only when it changed.
const TrainerMemory &Memory();
int MemoryGeneration();
// A tool drew a hand: it waits, kept in the store with the purse it changed, until it is valued (evenDeck:
// the dealing in force now). The hand to value, numbered in the order of drawing.
HandToValue NoteHandDrawn(int toolNumber, const PlayedHand &hand, bool evenDeck);
// Hands an earlier run drew and did not see valued, oldest first (once: the caller values them).
std::vector<HandToValue> TakeHandsLeftWaiting();
// A hand valued: counted, a mistake logged; onPanel false: its tool has left the panel since.
void RememberHand(const HandToValue &drawn, const JudgedHand &judged, bool onPanel);
// Hands drawn and not yet valued.
int HandsWaiting();
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
