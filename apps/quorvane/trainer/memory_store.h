// memory_store.h: the trainer's memory as tables of the panel's store: made or upgraded at open, read
// whole at start, and added to a few rows at a time inside the host's saves. No window system here.
#pragma once

#include "apps/quorvane/store.h"
#include "apps/quorvane/trainer/trainer_log.h"

#include <set>
#include <string>
#include <vector>

constexpr char TrainerTablesOwner[] = "trainer";
constexpr int TrainerTablesVersion = 1;

// What play added since the last committed save: written as rows, forgotten only once committed.
struct MemoryChanges {
    std::set<int> lifetimes;                  // tools whose lifetime changed; 0 is the panel's
    std::set<int> forgotten;                  // tools that left the panel
    std::vector<HandPoint> hands;             // oldest first
    std::vector<RememberedMistake> mistakes;  // oldest first

    bool Empty() const { return lifetimes.empty() && forgotten.empty() && hands.empty() && mistakes.empty(); }
};

// Remember and ForgetTool, with the rows the next save must write noted.
void RememberAndNote(TrainerMemory &memory, MemoryChanges &changes, int toolNumber, const JudgedHand &judged);
void ForgetAndNote(TrainerMemory &memory, MemoryChanges &changes, int toolNumber);

// Makes the tables, or brings older ones up to this version; false for a newer version's (left alone).
bool MakeTrainerTables(Store &store, std::string *why);
// The tables of this version, inside a transaction the caller holds (an import's).
bool CreateTrainerTables(Store &store);
// The whole memory; rows that fail their checks (an edit by hand) are skipped and counted.
bool ReadTrainerMemory(Store &store, TrainerMemory *memory, int *badRows);
// Inside a transaction: the changed lifetimes, the new hands and mistakes, the forgotten tools, and the
// oldest rows past the caps deleted.
bool WriteTrainerChanges(Store &store, const TrainerMemory &memory, const MemoryChanges &changes);
// All of a memory as rows of empty tables: what an old "<panel file>.trainer" held, at its import.
bool WriteWholeMemory(Store &store, const TrainerMemory &memory);
