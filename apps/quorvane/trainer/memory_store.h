// memory_store.h: the trainer's memory as tables of the panel's store: made or upgraded at open, read
// whole at start, and added to a few rows at a time inside the host's saves. No window system here.
#pragma once

#include "apps/quorvane/store.h"
#include "apps/quorvane/trainer/trainer_log.h"

#include <set>
#include <string>
#include <vector>

constexpr char TrainerTablesOwner[] = "trainer";
constexpr int TrainerTablesVersion = 2;   // 2: the hands drawn and not yet valued

// What play added since the last committed save: written as rows, forgotten only once committed.
struct MemoryChanges {
    std::set<int> lifetimes;                  // tools whose lifetime changed; 0 is the panel's
    std::set<int> forgotten;                  // tools that left the panel
    std::vector<HandPoint> hands;             // oldest first
    std::vector<RememberedMistake> mistakes;  // oldest first
    std::vector<HandToValue> drawn;           // hands drawn and not yet valued, oldest first
    std::set<int64_t> valued;                 // waiting hands of earlier saves valued since

    bool Empty() const
    {
        return lifetimes.empty() && forgotten.empty() && hands.empty() && mistakes.empty() && drawn.empty() &&
               valued.empty();
    }
};

// A hand drawn: its facts wait in the store (saved with the purse it changed) until it is valued.
void NoteDrawn(MemoryChanges &changes, const HandToValue &hand);
// Its valuation, remembered as Remember does; the hand no longer waits (its row goes, or is never written).
void RememberAndNote(TrainerMemory &memory, MemoryChanges &changes, const HandToValue &drawn, const JudgedHand &judged);
void ForgetAndNote(TrainerMemory &memory, MemoryChanges &changes, int toolNumber);

// Makes the tables, or brings older ones up to this version; false for a newer version's (left alone).
bool MakeTrainerTables(Store &store, std::string *why);
// The tables of this version, inside a transaction the caller holds (an import's).
bool CreateTrainerTables(Store &store);
// The whole memory; rows that fail their checks (an edit by hand) are skipped and counted.
bool ReadTrainerMemory(Store &store, TrainerMemory *memory, int *badRows);
// The hands a run drew and did not see valued, oldest first, to be valued now; bad rows skipped and counted.
// lastId: the highest id of any row, so that new hands never take one.
bool ReadWaitingHands(Store &store, std::vector<HandToValue> *hands, int64_t *lastId, int *badRows);
// Inside a transaction: the changed lifetimes, the new hands and mistakes, the forgotten tools, and the
// oldest rows past the caps deleted.
bool WriteTrainerChanges(Store &store, const TrainerMemory &memory, const MemoryChanges &changes);
// All of a memory as rows of empty tables: what an old "<panel file>.trainer" held, at its import.
bool WriteWholeMemory(Store &store, const TrainerMemory &memory);
