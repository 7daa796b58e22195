// trainer.cpp: keyboard play of the selected tool and the trainer's verdicts on its holds.
#include "apps/quorvane/trainer/trainer.h"
#include "apps/quorvane/trainer/advice.h"
#include "apps/quorvane/trainer/game_tables.h"
#include "apps/quorvane/trainer/trainer_ids.h"
#include "apps/quorvane/trainer/trainer_log.h"
#include "apps/quorvane/companion.h"
#include "host/video_poker.h"

#include <algorithm>
#include <cstring>
#include <map>

namespace {

constexpr int PlusOneId = VIDEO_POKER_BET_ONE_ID, BetFiveId = VIDEO_POKER_BET_FIVE_ID,
              DealDrawId = VIDEO_POKER_DEAL_DRAW_ID;

const char TrainerSetting[] = "trainer";   // the panel's setting: "1" while on

struct Warned {
    int toolNumber = 0;
    VideoPokerGame game = {};     // the hand the warning was for: pressing again on it draws
    bool judged = false;          // false: the values were not there yet, and a press once they are judges
} warned;

std::string shownVerdict;          // the verdict on the status line, cleared by the next change of play
std::map<int, int> lastWager;      // by tool number: the coins bet on its last hand drawn

const char NoCreditsLeft[] = " has no credits left: Alt+Enter opens its properties, where New Game starts again.";

// Routine news would wait behind a warning still held in view: a verdict replaces the last one at once.
void ShowVerdict(const std::string &text, bool isMistake)
{
    ShowNewsNow(text, isMistake);
    shownVerdict = text;
}

bool IsOutOfCredits(const VideoPokerGame &game)
{
    return game.credits == 0 && game.wager == 0 && game.handComplete != 0;
}

HWND EnabledButton(const PanelToolView &tool, int id)
{
    HWND button = GetDlgItem(tool.window, id);
    return button && IsWindowEnabled(button) ? button : nullptr;
}

// The five card windows, left to right as the player counts them.
std::vector<HWND> CardWindows(const PanelToolView &tool)
{
    std::vector<std::pair<LONG, HWND>> found;
    for (HWND child = GetWindow(tool.window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        char name[32] = {};
        GetClassNameA(child, name, sizeof name);
        RECT r;
        if (lstrcmpA(name, VIDEO_POKER_CARD_CLASS) == 0 && GetWindowRect(child, &r))
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
    PressToolButton(button);
}

// With the trainer on, a draw from the keyboard on holds worse than the best is held back once; so is
// one before the values are there to judge it by (the first second after a start).
bool HoldBackDraw(const PanelToolView &tool)
{
    VideoPokerGame game;
    if (!TrainerOn() || !ReadPokerGame(tool, &game) || game.handComplete != 0)
        return false;
    double cost = 0;
    std::string verdict;
    const AnalysisTables *tables = nullptr;
    const WeightedTables *machine = nullptr;
    const bool ready = ValuesFor(game.wager, &tables, &machine);
    if (warned.toolNumber == tool.number && memcmp(&warned.game, &game, sizeof game) == 0 && (warned.judged || !ready))
        return false;
    if (!ready) {
        verdict = WorkingOutText();
        verdict.pop_back();   // its line's end
    } else if (!JudgeHold(*tables, game.card, HeldMaskOf(game), game.wager, &cost, &verdict, machine) || cost == 0) {
        return false;
    }
    warned.toolNumber = tool.number;
    warned.game = game;
    warned.judged = ready;
    ShowVerdict(tool.title + ": Enter draws anyway. " + verdict, true);
    return true;
}

void DealOrDraw(const PanelToolView &tool)
{
    if (HWND button = EnabledButton(tool, DealDrawId))
        if (!HoldBackDraw(tool))
            Press(button);
}

void ToggleHold(const PanelToolView &tool, int position)
{
    VideoPokerGame game;
    std::vector<HWND> cards = CardWindows(tool);
    // Holds change only on a hand waiting for the draw, as the tool's own cards allow.
    if (position >= static_cast<int>(cards.size()) || !EnabledButton(tool, DealDrawId) ||
        !ReadPokerGame(tool, &game) || game.handComplete != 0)
        return;
    SendMessageA(cards[position], WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(4, 4));
    SendMessageA(cards[position], WM_LBUTTONUP, 0, MAKELPARAM(4, 4));
    SavePanelSoon();
}

// D: the last hand's bet again, coin by coin, then the deal (five coins before any hand was drawn).
void DealAgain(const PanelToolView &tool)
{
    VideoPokerGame game;
    if (!ReadPokerGame(tool, &game) || game.handComplete == 0)
        return;
    auto known = lastWager.find(tool.number);
    const int wager = known != lastWager.end() ? known->second : 5;
    for (int coins = game.wager; coins < wager; ++coins)
        if (HWND button = EnabledButton(tool, PlusOneId))
            SendMessageA(button, BM_CLICK, 0, 0);
    // The fifth coin deals by itself.
    HWND deal = EnabledButton(tool, DealDrawId);
    if (deal && ReadPokerGame(tool, &game) && game.handComplete != 0)
        Press(deal);
    SavePanelSoon();
}

} // namespace

bool TrainerOn()
{
    return PanelSetting(TrainerSetting) == "1";
}

void PressDealDrawOrFocused()
{
    // While another window is active this thread has no focus, but the walk's button is still the one
    // a press means.
    HWND walked = WalkedToolButton(), focus = GetFocus();
    if (!focus)
        focus = walked;
    PanelToolView tool;
    if (walked && focus == walked && IsWindowEnabled(focus) && FindToolHolding(focus, &tool)) {
        if (GetDlgCtrlID(focus) != DealDrawId || !HoldBackDraw(tool))
            Press(focus);
        return;
    }
    if (SelectedPanelTool(&tool) && tool.window)
        DealOrDraw(tool);
}

bool HandleTrainerCommand(int command)
{
    if (command == CmdTrainer) {
        SetPanelSetting(TrainerSetting, TrainerOn() ? "" : "1");
        ShowNews(TrainerOn() ? "Trainer on: each draw is judged against the best hold."
                               : "Trainer off.");
        SavePanelSoon();
        return true;
    }
    if ((command < CmdHoldCard1 || command > CmdBetFiveKey) && command != CmdDealAgain)
        return false;
    PanelToolView tool;
    if (!SelectedPanelTool(&tool) || !tool.window)
        return true;
    if (command == CmdDealAgain) {
        DealAgain(tool);
    } else if (command == CmdBetOneKey || command == CmdBetFiveKey) {
        if (HWND button = EnabledButton(tool, command == CmdBetOneKey ? PlusOneId : BetFiveId))
            Press(button);
    } else {
        ToggleHold(tool, command - CmdHoldCard1);
    }
    return true;
}

void FollowGame(const PanelToolView &tool, const VideoPokerGame &now, const PlayedHand *drawn)
{
    if (drawn)
        lastWager[tool.number] = drawn->wager;
    if (!shownVerdict.empty() && StatusLineText() == shownVerdict)
        ShowVerdict("", false);   // play went on: the last verdict is stale
    if (SelectedToolNumber() == tool.number && IsOutOfCredits(now))
        ShowVerdict(tool.title + NoCreditsLeft, false);
}

void ShowJudgement(int toolNumber, const JudgedHand &judged)
{
    PanelToolView tool;
    VideoPokerGame now;
    if (!TrainerOn() || !judged.analysed || !FindPanelTool(toolNumber, &tool))
        return;
    std::string verdict = tool.title + ": " + VerdictText(judged);
    if (SelectedToolNumber() == tool.number && ReadPokerGame(tool, &now) && IsOutOfCredits(now))
        verdict += " " + tool.title + NoCreditsLeft;
    ShowVerdict(verdict, judged.isMistake);
}

void SelectionChanged(const PanelToolView &tool, const VideoPokerGame &game)
{
    if (IsOutOfCredits(game))
        ShowVerdict(tool.title + NoCreditsLeft, false);
}

void DealingSwitched(const std::string &news)
{
    warned = Warned();      // the next Enter is judged afresh under the dealing now in force
    shownVerdict.clear();
    ShowNewsNow(news, false);
}
