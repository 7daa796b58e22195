// hints.cpp: the hint, statistics and chart windows, kept up to date from the tools' saved blocks.
#include "apps/quorvane/trainer/hints.h"
#include "apps/quorvane/trainer/advice.h"
#include "apps/quorvane/trainer/game_tables.h"
#include "apps/quorvane/trainer/trainer.h"
#include "apps/quorvane/trainer/memory.h"
#include "apps/quorvane/trainer/credit_graph.h"
#include "apps/quorvane/trainer/text_view.h"
#include "apps/quorvane/trainer/chart_texts.h"
#include "apps/quorvane/trainer/analysis_worker.h"
#include "apps/quorvane/companion.h"
#include "host/video_poker.h"
#include "analysis/strategy_chart.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstring>
#include <map>

namespace {

constexpr int TextId = 100;
constexpr int GraphId = 101;             // the statistics window's graph of credits, under its text
const int GraphHeight = Scaled(250);
constexpr UINT RefreshDelayMs = 100;   // the windows follow play at most this often: reading speed, not input speed
constexpr UINT_PTR RefreshTimer = 1;

HWND Notices();

struct Advice {
    std::map<int, GameWatch> watches;        // by tool number
    // By tool number: this run's hands, each valued as it was judged, as the lifetime keeps them.
    struct RunSummary {
        PlaySummary summary;
        bool evenDeck = false, machine = false;   // the dealings its hands were judged by
    };
    std::map<int, RunSummary> runs;
    bool refreshDue = false;
    int hintToolNumber = 0;                  // the hand the hint text was worked out for
    VideoPokerGame hintGame = {};
    std::string hintText;
    int watchedSelection = 0;
    HWND hintWindow = nullptr;
    HWND statisticsWindow = nullptr;
    HWND chartWindow = nullptr;
    HWND mistakesWindow = nullptr;
    std::map<std::string, std::string> mistakeKinds;   // by cards and holds: worked out once a run
    std::string mistakesText;                // as made last, for this generation of the memory
    int mistakesMemory = -1;
    bool mistakesChart = false;
    std::string chartText;                   // as the chart window shows it
    unsigned betSizes = 1u << MaxWager;      // bit c: a tool on the panel has bet c coins this run
    int64_t lastLeftWaiting = 0;             // hands up to this id were drawn by an earlier run
    int figuresDone = 0;                     // the worker's progress the windows show
    HWND notices = nullptr;                  // the refresh timer and the analysis worker's news arrive here
    std::vector<HWND> shown;                 // the open windows, the one shown last at the end
};

Advice advice;

// The selected tool, or null: a view good until the next call.
const PanelToolView *SelectedTool()
{
    static PanelToolView view;
    return SelectedPanelTool(&view) ? &view : nullptr;
}

std::string HintTextFor(const PanelToolView *tool)
{
    if (!tool || !IsPokerTool(*tool))
        return "Select a Video Poker tool: the hint is for the hand it shows.\n";
    VideoPokerGame game;
    if (!ReadPokerGame(*tool, &game))
        return tool->title + ": its game could not be read.\n";
    if (tool->number == advice.hintToolNumber && memcmp(&game, &advice.hintGame, sizeof game) == 0)
        return advice.hintText;
    if (game.handComplete != 0)
        return tool->title + "\n\n" + NoHandToHint;
    const AnalysisTables *tables = nullptr;
    const WeightedTables *machine = nullptr;
    if (!ValuesFor(game.wager, &tables, &machine))
        return tool->title + "\n\n" + WorkingOutText();
    advice.hintToolNumber = tool->number;
    advice.hintGame = game;
    advice.hintText = tool->title + "\n\n" + HintText(*tables, game, machine);
    return advice.hintText;
}

std::string StatisticsTextFor(const PanelToolView *tool)
{
    if (!tool || !IsPokerTool(*tool))
        return "Select a Video Poker tool to see how its play has gone.\n";
    // The figures a player's return is held against: until the worker has them, the window says so.
    const bool machine = MachineDealing();
    double optimalFive = -1, optimalFewer = -1;
    if (Analysis().Failed(machine))
        return "There is not enough memory for the analysis.\n";
    Analysis().OptimalReturns(machine, &optimalFive, &optimalFewer);
    const GameWatch &watch = advice.watches[tool->number];
    const Advice::RunSummary &run = advice.runs[tool->number];
    const TrainerMemory &memory = Memory();
    auto lifetime = memory.tools.find(tool->number);
    const char *valuedBy = run.machine && run.evenDeck ? "this machine and even deck"
                           : run.machine                 ? "this machine"
                           : run.evenDeck                ? "even deck"
                                                         : machine ? "this machine" : "even deck";
    const int waiting = HandsWaiting();
    return StatisticsText(tool->title, watch, run.summary, optimalFive, optimalFewer,
                          machine ? "this machine" : "even deck", valuedBy) +
           (waiting > 0 ? FormatText("Hands drawn and still being valued (they count once valued): %d.\n", waiting)
                        : std::string()) +
           "\nLifetime (each hand valued as it was judged), kept in " + MemoryFileName() + ":\n" +
           LifetimeText(tool->title, lifetime != memory.tools.end() ? lifetime->second : PlaySummary()) +
           LifetimeText("The panel", memory.panel);
}

void ShowText(HWND window, const std::string &text)
{
    SetViewText(GetDlgItem(window, TextId), text);
}

// The chart's columns read across: the window grows to its longest line, as far as the screen allows.
void ShowChart()
{
    const std::string text = ChartWindowText();
    if (text == advice.chartText)
        return;
    advice.chartText = text;
    ShowText(advice.chartWindow, text);
    RECT frame = {}, work = {0, 0, 1024, 768}, client = {};
    GetWindowRect(advice.chartWindow, &frame);
    GetClientRect(advice.chartWindow, &client);
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    const int needed = TextViewWidth(GetDlgItem(advice.chartWindow, TextId), text) - client.right;
    if (needed <= 0)
        return;
    const int width = std::min<int>(frame.right - frame.left + needed, work.right - work.left);
    const int x = std::max<int>(work.left, std::min<int>(frame.left, work.right - width));
    SetWindowPos(advice.chartWindow, nullptr, x, frame.top, width, frame.bottom - frame.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

// The text fills the window; the statistics window keeps its graph under it.
void LayOutAdviceWindow(HWND window)
{
    RECT client;
    GetClientRect(window, &client);
    HWND graph = GetDlgItem(window, GraphId);
    const int textHeight = graph ? std::max(0, static_cast<int>(client.bottom) - GraphHeight) : client.bottom;
    MoveWindow(GetDlgItem(window, TextId), 0, 0, client.right, textHeight, TRUE);
    if (graph)
        MoveWindow(graph, 0, textHeight, client.right, client.bottom - textHeight, TRUE);
}

LRESULT CALLBACK AdviceWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CREATE: {
        return CreateTextView(window, TextId) ? 0 : -1;
    }
    case WM_SIZE:
        LayOutAdviceWindow(window);
        return 0;
    case WM_KEYDOWN:   // Escape puts the window away; Ctrl+H the hint, as it does from the panel
        if (wParam == VK_ESCAPE || (wParam == 'H' && GetKeyState(VK_CONTROL) < 0 && window == advice.hintWindow))
            DestroyWindow(window);
        return 0;
    case WM_CLOSE:
        DestroyWindow(window);
        return 0;
    case WM_DESTROY:
        advice.shown.erase(std::remove(advice.shown.begin(), advice.shown.end(), window), advice.shown.end());
        if (window == advice.hintWindow)
            advice.hintWindow = nullptr;
        if (window == advice.statisticsWindow)
            advice.statisticsWindow = nullptr;
        if (window == advice.chartWindow)
            advice.chartWindow = nullptr, advice.chartText.clear();
        if (window == advice.mistakesWindow)
            advice.mistakesWindow = nullptr;
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

// Opens (or brings back) one of the trainer's windows beside the main window, leaving the focus on the
// panel so the keys still play the tools.
HWND OpenAdviceWindow(HWND *slot, const char *className, const char *title, int offset, int height = 460)
{
    if (*slot) {
        SetWindowPos(*slot, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
        advice.shown.erase(std::remove(advice.shown.begin(), advice.shown.end(), *slot), advice.shown.end());
        advice.shown.push_back(*slot);
        return *slot;
    }
    if (!RegisterCompanionClass(className, AdviceWndProc, GetSysColorBrush(COLOR_WINDOW)) || !RegisterTextView())
        return nullptr;
    // Beside the main window's right edge, as far as the screen allows; where it must cover the main
    // window, it stops above the status line, so that the verdicts there stay in sight.
    const int width = Scaled(720);
    height = Scaled(height);
    offset = Scaled(offset);
    RECT mainRect = {}, work = {0, 0, 1024, 768};
    GetWindowRect(HostMainWindow(), &mainRect);
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    int x = mainRect.right - Scaled(40) + offset, y = mainRect.top + Scaled(40) + offset;
    if (x + width > work.right)
        x = work.right - width;
    if (y + height > work.bottom)
        y = work.bottom - height;
    const RECT status = StatusLineOnScreen();
    if (status.bottom > status.top && x < status.right && y + height > status.top)
        height = std::max(Scaled(200), static_cast<int>(status.top) - Scaled(4) - std::max<int>(y, work.top));
    *slot = CreateWindowExA(WS_EX_TOOLWINDOW, className, title, WS_OVERLAPPEDWINDOW, x < work.left ? work.left : x,
                            y < work.top ? work.top : y, width, height, HostMainWindow(), nullptr, HostInstance(),
                            nullptr);
    if (*slot) {
        ShowWindow(*slot, SW_SHOWNOACTIVATE);
        advice.shown.push_back(*slot);
    }
    return *slot;
}

// The mistakes remembered, each kind named by the even chart's lines for the hold taken and the best:
// made again only when the memory or the chart changed (changed: whether it was).
const std::string &MistakesWindowText(bool *changed = nullptr)
{
    const TrainerMemory &memory = Memory();
    // Seconds of work the first time, on the worker: meanwhile the kinds wait for it.
    const StrategyChart *chart = memory.mistakes.empty() ? nullptr : EvenChart();
    const bool same = advice.mistakesMemory == MemoryGeneration() && advice.mistakesChart == (chart != nullptr);
    if (changed)
        *changed = !same;
    if (same)
        return advice.mistakesText;
    advice.mistakesMemory = MemoryGeneration();
    advice.mistakesChart = chart != nullptr;
    std::vector<std::string> kinds;
    for (const RememberedMistake &m : memory.mistakes) {
        std::string key(reinterpret_cast<const char *>(m.cards), HandSize);
        key += static_cast<char>(m.heldMask);
        key += static_cast<char>(m.bestMask);
        auto known = advice.mistakeKinds.find(key);
        if (known == advice.mistakeKinds.end() && chart)
            known = advice.mistakeKinds.emplace(key, MistakeKind(*chart, m.cards, m.heldMask, m.bestMask)).first;
        kinds.push_back(known != advice.mistakeKinds.end() ? known->second : "Held worse than the best");
    }
    advice.mistakesText = "Kept in " + MemoryFileName() + ". A kind names the hold taken and the best hold by\n"
           "their lines in the strategy chart (Help > Strategy chart), or by the cards held.\n" +
           (chart || memory.mistakes.empty() ? "\n" : "The chart is being worked out: the kinds follow in a moment.\n\n") +
           MistakesText(memory.mistakes, kinds);
    return advice.mistakesText;
}

void RefreshAdviceWindows()
{
    advice.refreshDue = false;
    KillTimer(advice.notices, RefreshTimer);
    if (advice.hintWindow)
        ShowText(advice.hintWindow, HintTextFor(SelectedTool()));
    if (advice.statisticsWindow) {
        ShowText(advice.statisticsWindow, StatisticsTextFor(SelectedTool()));
        InvalidateRect(GetDlgItem(advice.statisticsWindow, GraphId), nullptr, TRUE);
    }
    if (advice.mistakesWindow) {
        bool changed = false;
        const std::string &text = MistakesWindowText(&changed);
        if (changed)
            ShowText(advice.mistakesWindow, text);
    }
    if (advice.chartWindow)
        ShowChart();
}

void RefreshSoon()
{
    if ((advice.hintWindow || advice.statisticsWindow || advice.mistakesWindow || advice.chartWindow) &&
        !advice.refreshDue) {
        advice.refreshDue = true;
        SetTimer(Notices(), RefreshTimer, RefreshDelayMs, nullptr);
    }
}

// A hand drawn waits in the memory until the worker has valued it under the dealing in force now.
void RememberDrawnHand(int toolNumber, const PlayedHand &hand)
{
    advice.betSizes |= 1u << hand.wager;
    Analysis().Value(NoteHandDrawn(toolNumber, hand, !MachineDealing()));
}

// The hands valued since, in the order they were drawn: remembered, counted in this run's figures, judged.
void TakeValuedHands()
{
    const std::vector<ValuedHand> taken = Analysis().TakeValued();
    for (const ValuedHand &valued : taken) {
        const int toolNumber = valued.drawn.toolNumber;
        const bool thisRun = valued.drawn.id > advice.lastLeftWaiting;
        PanelToolView tool;
        const bool onPanel = thisRun ? advice.watches.count(toolNumber) != 0 : FindPanelTool(toolNumber, &tool);
        RememberHand(valued.drawn, valued.judged, onPanel);
        if (!thisRun || !onPanel)
            continue;
        Advice::RunSummary &run = advice.runs[toolNumber];
        AddToSummary(run.summary, valued.judged);
        (valued.judged.evenDeck ? run.evenDeck : run.machine) = true;
        ShowJudgement(toolNumber, valued.judged);
    }
    if (!taken.empty())
        SavePanelSoon();
}

LRESULT CALLBACK NoticeWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_TIMER && wParam == RefreshTimer) {
        RefreshAdviceWindows();
        return 0;
    }
    if (message == AnalysisNews) {
        TakeValuedHands();
        // A piece of the analysis arrived (a handful a start): the windows show it now; hands valued
        // during play come often, and wait for the timer like any other change.
        const int done = Analysis().PercentDone(true) + Analysis().PercentDone(false);
        if (done != advice.figuresDone) {
            advice.figuresDone = done;
            RefreshAdviceWindows();
        } else {
            RefreshSoon();
        }
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

// A window of the trainer's own that no one sees, for its timer and its worker's news.
HWND Notices()
{
    if (!advice.notices && RegisterCompanionClass("QuorvaneTrainerNotices", NoticeWndProc))
        advice.notices = CreateWindowExA(0, "QuorvaneTrainerNotices", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                         HostInstance(), nullptr);
    return advice.notices;
}

} // namespace

HWND AnalysisNotices()
{
    return Notices();
}

void WatchToolGames()
{
    Memory();   // read at the start, so damage to its file is told then
    Analysis();  // the worker set going
    for (const HandToValue &left : TakeHandsLeftWaiting()) {
        advice.lastLeftWaiting = std::max(advice.lastLeftWaiting, left.id);
        Analysis().Value(left);
    }
    const int selectedBefore = advice.watchedSelection;
    const int selectedNow = SelectedToolNumber();
    bool changed = selectedNow != advice.watchedSelection;
    advice.watchedSelection = selectedNow;
    PanelToolView found;
    for (auto it = advice.watches.begin(); it != advice.watches.end();) {
        if (FindPanelTool(it->first, &found)) {
            ++it;
        } else {
            advice.runs.erase(it->first);
            ForgetToolPlay(it->first);
            it = advice.watches.erase(it);   // a later tool may take the number: it starts afresh
        }
    }
    for (const PanelToolView &tool : PanelTools()) {
        VideoPokerGame game;
        if (!ReadPokerGame(tool, &game))
            continue;
        if (game.wager > 0)
            advice.betSizes |= 1u << game.wager;
        GameWatch &watch = advice.watches[tool.number];
        if (watch.seen && memcmp(&watch.last, &game, sizeof game) == 0)
            continue;
        const size_t drawn = watch.hands.size();
        ObserveGame(watch, game);
        if (watch.hands.size() > drawn)
            RememberDrawnHand(tool.number, watch.hands.back());
        FollowGame(tool, game, watch.hands.size() > drawn ? &watch.hands.back() : nullptr);
        changed = true;
    }
    VideoPokerGame game;
    const PanelToolView *selected = SelectedTool();
    if (selectedNow != selectedBefore && selected && ReadPokerGame(*selected, &game))
        SelectionChanged(*selected, game);
    PlanAnalysis(advice.betSizes);
    // Working out a hint takes milliseconds: under a stream of input the windows catch up once the
    // stream lets them (a timer comes only when the queue is empty), not after every message.
    if (changed)
        RefreshSoon();
}

bool HandleAdviceCommand(int command)
{
    switch (command) {
    case CmdHint:   // Ctrl+H again puts the hint away
        if (advice.hintWindow)
            DestroyWindow(advice.hintWindow);
        else if (OpenAdviceWindow(&advice.hintWindow, QUORVANE_HINT_CLASS, "Hint", 0))
            ShowText(advice.hintWindow, HintTextFor(SelectedTool()));
        return true;
    case CmdStatistics:   // Ctrl+T again puts statistics away
        if (advice.statisticsWindow) {
            DestroyWindow(advice.statisticsWindow);
            return true;
        }
        if (!OpenAdviceWindow(&advice.statisticsWindow, QUORVANE_STATISTICS_CLASS, "Statistics", 30, 640))
            return true;
        if (!GetDlgItem(advice.statisticsWindow, GraphId) && RegisterCreditGraphClass()) {
            CreateWindowExA(0, QUORVANE_CREDIT_GRAPH_CLASS, "", WS_CHILD | WS_VISIBLE, 0, 0, 0, 0,
                            advice.statisticsWindow, reinterpret_cast<HMENU>(GraphId), HostInstance(), nullptr);
            LayOutAdviceWindow(advice.statisticsWindow);
        }
        ShowText(advice.statisticsWindow, StatisticsTextFor(SelectedTool()));
        return true;
    case CmdMistakes:   // Ctrl+L again puts the mistakes away
        if (advice.mistakesWindow)
            DestroyWindow(advice.mistakesWindow);
        else if (OpenAdviceWindow(&advice.mistakesWindow, QUORVANE_MISTAKES_CLASS, "Mistakes remembered", 90))
            ShowText(advice.mistakesWindow, MistakesWindowText());
        return true;
    case CmdDealing:
        SwitchDealing();
        advice.hintToolNumber = 0;  // the hint worked out again; hands drawn keep the verdicts they had
        RefreshAdviceWindows();
        if (advice.chartWindow)
            ShowChart();
        DealingSwitched(MachineDealing() ? "Holds valued by this machine's own dealing: the 2C and AS come half as often."
                                          : "Holds valued by an even deck, as casino machines deal.");
        return true;
    case CmdAnalysisGo:
        Analysis().HoldBack(false);
        return true;
    case CmdChart:
        if (OpenAdviceWindow(&advice.chartWindow, QUORVANE_CHART_CLASS, "Strategy chart", 60))
            ShowChart();
        return true;
    }
    return false;
}

bool AdviceStillWorking()
{
    return !Analysis().Idle();
}

HWND AdviceWindowOf(int command)
{
    return command == CmdHint ? advice.hintWindow
           : command == CmdStatistics ? advice.statisticsWindow
           : command == CmdChart ? advice.chartWindow
           : command == CmdMistakes ? advice.mistakesWindow
                                  : nullptr;
}

bool PutAwayNewestWindow()
{
    if (advice.shown.empty())
        return false;
    DestroyWindow(advice.shown.back());     // its WM_DESTROY takes it off the list
    return true;
}
