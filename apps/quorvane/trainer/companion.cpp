// companion.cpp: the poker trainer as the host's companion (apps/quorvane/companion.h): its commands,
// its check marks, the notice after each message, its memory in the store, its windows for a screenshot,
// and cards on the status line shown with their suits.
#include "apps/quorvane/companion.h"
#include "apps/quorvane/trainer/hints.h"
#include "apps/quorvane/trainer/game_tables.h"
#include "apps/quorvane/trainer/memory.h"
#include "apps/quorvane/trainer/trainer.h"
#include "analysis/cards.h"

#include <cctype>
#include <cstring>

const char CompanionFileSuffix[] = ".trainer";

bool CompanionCommand(int command)
{
    return HandleAdviceCommand(command) || HandleTrainerCommand(command);
}

bool CompanionPress()
{
    PressDealDrawOrFocused();     // Enter and Space: Deal/Draw, through the trainer's judgement
    return true;
}

bool CompanionEscape()
{
    return PutAwayNewestWindow();
}

void CompanionMenuOpening(HMENU menu)
{
    CheckMenuItem(menu, CmdTrainer, MF_BYCOMMAND | (TrainerOn() ? MF_CHECKED : MF_UNCHECKED));
    CheckMenuItem(menu, CmdDealing, MF_BYCOMMAND | (MachineDealing() ? MF_UNCHECKED : MF_CHECKED));
}

void CompanionToolsMayHaveChanged()
{
    WatchToolGames();
}

void CompanionOpenStore(Store &store)
{
    OpenMemory(store);
}

bool CompanionImport(Store &store, bool found, const std::string &text, const std::string &fileName)
{
    return ImportMemory(store, found, text, fileName);
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

std::string CompanionExportText()
{
    return MemoryText();
}

namespace {

const struct {
    const char *name;
    int command;
} Windows[] = {{"hint", CmdHint}, {"statistics", CmdStatistics}, {"chart", CmdChart}, {"mistakes", CmdMistakes}};

} // namespace

std::string CompanionWindowNames()
{
    return "hint, statistics, chart or mistakes";
}

HWND CompanionOpenWindow(const std::string &what)
{
    for (const auto &window : Windows)
        if (what == window.name)
            return HandleAdviceCommand(window.command) ? AdviceWindowOf(window.command) : nullptr;
    return nullptr;
}

bool CompanionStillWorking()
{
    return AdviceStillWorking();
}

// Cards named in the text ("KS", standing alone) shown as a player reads them, rank and suit symbol, as the
// trainer's windows show them; the text itself keeps the letters.
std::wstring CompanionShownText(const std::string &text)
{
    std::wstring shown;
    for (size_t i = 0; i < text.size(); ++i) {
        const char *suit = i + 1 < text.size() ? strchr(SuitLetters, text[i + 1]) : nullptr;
        bool card = suit && text[i + 1] && strchr(RankLetters, text[i]) && text[i] &&
                    !(i > 0 && isalnum(static_cast<unsigned char>(text[i - 1]))) &&
                    !(i + 2 < text.size() && isalnum(static_cast<unsigned char>(text[i + 2])));
        shown += static_cast<wchar_t>(static_cast<unsigned char>(text[i]));
        if (card)
            shown += L"\u2663\u2666\u2665\u2660"[suit - SuitLetters], ++i;
    }
    return shown;
}
