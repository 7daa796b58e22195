// memory.cpp: the trainer's memory read when the store opens, added to as hands are drawn, and written in
// the host's saves as the rows added since the last one.
#include "apps/quorvane/trainer/memory.h"
#include "apps/quorvane/trainer/memory_store.h"
#include "apps/quorvane/companion.h"

namespace {

struct Kept {
    TrainerMemory memory;
    MemoryChanges changes;      // not yet committed
    bool usable = false;        // the tables are there and ours to write
    std::vector<HandToValue> leftWaiting;   // by an earlier run, until taken
    int64_t lastWaitingId = 0;
    int waiting = 0;            // drawn and not yet valued
    int generation = 0;
} kept;

// News of the memory joins a warning still in view (the panel's own, at start).
void Warn(const std::string &text)
{
    JoinWarning(text);
}

std::string Counted(int n, const char *one, const char *many)
{
    return std::to_string(n) + " " + (n == 1 ? one : many);
}

} // namespace

const TrainerMemory &Memory()
{
    return kept.memory;
}

int MemoryGeneration()
{
    return kept.generation;
}

HandToValue NoteHandDrawn(int toolNumber, const PlayedHand &hand, bool evenDeck)
{
    HandToValue drawn;
    drawn.id = ++kept.lastWaitingId;
    drawn.toolNumber = toolNumber;
    drawn.hand = hand;
    drawn.evenDeck = evenDeck;
    NoteDrawn(kept.changes, drawn);
    ++kept.waiting;
    return drawn;
}

std::vector<HandToValue> TakeHandsLeftWaiting()
{
    std::vector<HandToValue> taken;
    taken.swap(kept.leftWaiting);
    return taken;
}

void RememberHand(const HandToValue &drawn, const JudgedHand &judged, bool onPanel)
{
    RememberAndNote(kept.memory, kept.changes, drawn, judged);
    ++kept.generation;
    if (!onPanel)
        ForgetAndNote(kept.memory, kept.changes, drawn.toolNumber);
    --kept.waiting;
}

int HandsWaiting()
{
    return kept.waiting;
}

void ForgetToolPlay(int toolNumber)
{
    if (kept.memory.tools.count(toolNumber) != 0)
        ForgetAndNote(kept.memory, kept.changes, toolNumber);
    ++kept.generation;
}

void OpenMemory(Store &store)
{
    std::string why;
    ++kept.generation;
    kept.usable = MakeTrainerTables(store, &why);
    if (!kept.usable) {
        Warn("The trainer's memory in " + MemoryFileName() + " " + why +
             ": the trainer starts afresh this run and leaves it as it is.");
        return;
    }
    int badRows = 0;
    const bool read = ReadTrainerMemory(store, &kept.memory, &badRows) &&
                      ReadWaitingHands(store, &kept.leftWaiting, &kept.lastWaitingId, &badRows);
    kept.waiting = static_cast<int>(kept.leftWaiting.size());
    if (!read)
        Warn("The trainer's memory in " + MemoryFileName() + " could not be read whole (" + store.Error() + ").");
    else if (badRows > 0)
        Warn("The trainer's memory in " + MemoryFileName() + " had " +
             Counted(badRows, "entry that was", "entries that were") + " out of range: skipped.");
}

bool ImportMemory(Store &store, bool found, const std::string &text, const std::string &name)
{
    TrainerMemory memory;
    if (found) {
        TrainerFileReport report;
        memory = ParseTrainerFile(text.data(), text.size(), &report);
        if (report.newerVersion) {
            Warn(name + " was written by a newer Quorvane: the trainer starts afresh, and the file is left as it is.");
            memory = TrainerMemory();
        } else if (report.empty) {
            Warn("The trainer's memory " + name + " was empty: the trainer starts afresh.");
        } else if (report.badLines > 0) {
            Warn("The trainer's memory " + name + " was damaged: " + Counted(report.badLines, "line was", "lines were") +
                 " skipped, the rest kept; the file is left as it was.");
        }
    }
    // Inside the import's transaction: a failure here leaves no store at all, and the import runs again.
    return CreateTrainerTables(store) && WriteWholeMemory(store, memory);
}

bool MemoryUnsaved()
{
    return kept.usable && !kept.changes.Empty();
}

bool WriteMemory(Store &store)
{
    return !kept.usable || WriteTrainerChanges(store, kept.memory, kept.changes);
}

void MemorySaveEnded(bool committed)
{
    if (committed)
        kept.changes = MemoryChanges();
}

std::string MemoryText()
{
    return FormatTrainerFile(kept.memory);
}

std::string MemoryFileName()
{
    return PanelStoreName();
}
