// companion.cpp: the poker trainer as the host's companion (apps/quorvane/companion.h): its commands,
// its check mark, the notice after each message, its memory saved with the panel, and its windows for a
// screenshot.
#include "apps/quorvane/companion.h"
#include "apps/quorvane/trainer/hints.h"
#include "apps/quorvane/trainer/memory.h"
#include "apps/quorvane/trainer/trainer.h"
#include "apps/quorvane/command_ids.h"

bool CompanionCommand(int command)
{
    if (command == CmdPressButton) {     // Enter and Space: Deal/Draw, through the trainer's judgement
        PressDealDrawOrFocused();
        return true;
    }
    return HandleAdviceCommand(command) || HandleTrainerCommand(command);
}

void CompanionMenuOpening(HMENU menu)
{
    CheckMenuItem(menu, CmdTrainer, MF_BYCOMMAND | (TrainerOn() ? MF_CHECKED : MF_UNCHECKED));
    CheckMenuItem(menu, CmdDealing, MF_BYCOMMAND | (AdviceDealing(5) ? MF_UNCHECKED : MF_CHECKED));
}

void CompanionToolsMayHaveChanged()
{
    WatchToolGames();
}

void CompanionOpenStore(Store &store)
{
    OpenMemory(store);
}

bool CompanionImport(Store &store, const std::string &panelFile)
{
    return ImportMemory(store, panelFile);
}

bool CompanionHasUnsaved()
{
    return MemoryUnsaved();
}

bool CompanionSave(Store &store)
{
    return WriteMemory(store);
}

void CompanionSaveEnded(bool committed)
{
    MemorySaveEnded(committed);
}

bool CompanionExport(const std::string &panelTextPath)
{
    return ExportMemory(panelTextPath);
}

HWND CompanionOpenWindow(const std::string &what)
{
    int command = what == "hint" ? CmdHint : what == "statistics" ? CmdStatistics : what == "chart" ? CmdChart
                  : what == "mistakes" ? CmdMistakes : 0;
    return command && HandleAdviceCommand(command) ? AdviceWindowOf(command) : nullptr;
}
