// trainer.cpp: keyboard play of the selected tool and the trainer's verdicts on its holds.
#include "apps/quorvane/trainer/trainer.h"
#include "apps/quorvane/trainer/advice.h"
#include "apps/quorvane/trainer/hints.h"
#include "apps/quorvane/tools.h"
#include "apps/quorvane/status_line.h"
#include "apps/quorvane/key_focus.h"
#include "apps/quorvane/persistence.h"

#include <algorithm>
#include <cstring>

namespace {

// The Video Poker tool's buttons, by the control ids its window gives them.
constexpr int PlusOneId = 262, BetFiveId = 263, DealDrawId = 264;

const char TrainerSetting[] = "trainer";   // its line in the panel file: "setting trainer 1" while on

struct Warned {
    int toolNumber = 0;
    VideoPokerGame game = {};     // the hand the warning was for: pressing again on it draws
} warned;

HWND EnabledButton(const PanelTool &tool, int id)
{
    HWND button = GetDlgItem(tool.window, id);
    return button && IsWindowEnabled(button) ? button : nullptr;
}

// The five card windows, left to right as the player counts them.
std::vector<HWND> CardWindows(const PanelTool &tool)
{
    std::vector<std::pair<LONG, HWND>> found;
    for (HWND child = GetWindow(tool.window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        char name[32] = {};
        GetClassNameA(child, name, sizeof name);
        RECT r;
        if (lstrcmpA(name, "VideoPokerCard") == 0 && GetWindowRect(child, &r))
            found.push_back({r.left, child});
    }
    std::sort(found.begin(), found.end());
    std::vector<HWND> cards;
    for (const auto &f : found)
        cards.push_back(f.second);
    return cards;
}

void Press(HWND button)
{
    SendMessageA(button, BM_CLICK, 0, 0);
    SaveSoon();
}

// With the trainer on, a draw from the keyboard on holds worse than the best is held back once.
bool HoldBackDraw(const PanelTool &tool)
{
    VideoPokerGame game;
    const AnalysisTables *tables = AdviceTables();
    if (!TrainerOn() || !tables || !ReadPokerGame(tool, &game) || game.handComplete != 0)
        return false;
    if (warned.toolNumber == tool.number && memcmp(&warned.game, &game, sizeof game) == 0)
        return false;
    double cost = 0;
    std::string verdict;
    if (!JudgeHold(*tables, game.card, HeldMaskOf(game), game.wager, &cost, &verdict) || cost == 0)
        return false;
    warned.toolNumber = tool.number;
    warned.game = game;
    SetWarning(ToolTitle(tool) + ": " + verdict + " Enter draws anyway.");
    return true;
}

void DealOrDraw(const PanelTool &tool)
{
    if (HWND button = EnabledButton(tool, DealDrawId))
        if (!HoldBackDraw(tool))
            Press(button);
}

void ToggleHold(const PanelTool &tool, int position)
{
    VideoPokerGame game;
    std::vector<HWND> cards = CardWindows(tool);
    // Holds change only on a hand waiting for the draw, as the tool's own cards allow.
    if (position >= static_cast<int>(cards.size()) || !EnabledButton(tool, DealDrawId) ||
        !ReadPokerGame(tool, &game) || game.handComplete != 0)
        return;
    SendMessageA(cards[position], WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(4, 4));
    SendMessageA(cards[position], WM_LBUTTONUP, 0, MAKELPARAM(4, 4));
    SaveSoon();
}

} // namespace

bool TrainerOn()
{
    auto setting = host.settings.find(TrainerSetting);
    return setting != host.settings.end() && setting->second == "1";
}

void PressDealDrawOrFocused()
{
    // While another window is active this thread has no focus, but the walk's button is still the one
    // a press means.
    HWND focus = GetFocus();
    if (!focus)
        focus = host.keyFocus;
    if (focus == host.keyFocus && IsToolButton(focus) && IsWindowEnabled(focus)) {
        if (GetDlgCtrlID(focus) != DealDrawId || !HoldBackDraw(*ToolHolding(focus)))
            Press(focus);
        return;
    }
    if (const PanelTool *tool = host.Selected())
        if (tool->window)
            DealOrDraw(*tool);
}

bool HandleTrainerCommand(int command)
{
    if (command == CmdTrainer) {
        if (TrainerOn())
            host.settings.erase(TrainerSetting);
        else
            host.settings[TrainerSetting] = "1";
        SetStatus(TrainerOn() ? "Trainer on: each draw is judged against the best hold."
                               : "Trainer off.");
        SaveSoon();
        return true;
    }
    if (command < CmdHoldCard1 || command > CmdBetFiveKey)
        return false;
    const PanelTool *tool = host.Selected();
    if (!tool || !tool->window)
        return true;
    if (command == CmdBetOneKey || command == CmdBetFiveKey) {
        if (HWND button = EnabledButton(*tool, command == CmdBetOneKey ? PlusOneId : BetFiveId))
            Press(button);
    } else {
        ToggleHold(*tool, command - CmdHoldCard1);
    }
    return true;
}

void JudgeDrawnHand(const PanelTool &tool, const PlayedHand &hand)
{
    const AnalysisTables *tables = TrainerOn() ? AdviceTables() : nullptr;
    double cost = 0;
    std::string verdict;
    if (!tables || !JudgeHold(*tables, hand.cards, hand.heldMask, hand.wager, &cost, &verdict))
        return;
    if (cost > 0)
        SetWarning(ToolTitle(tool) + ": " + verdict);
    else
        SetStatus(ToolTitle(tool) + ": " + verdict);
}
