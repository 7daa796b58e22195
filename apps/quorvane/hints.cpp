// hints.cpp: the hint and statistics windows, kept up to date from the tools' saved blocks.
#include "apps/quorvane/hints.h"
#include "apps/quorvane/advice.h"
#include "apps/quorvane/host.h"

#include <cstring>
#include <map>

namespace {

constexpr int TextId = 100;

struct Advice {
    AnalysisTables *tables = nullptr;        // built at the first question: about 3.5 MB
    bool tablesFailed = false;
    bool haveOptimal = false;
    double optimalFiveCoins = 0, optimalFewerCoins = 0;
    std::map<int, GameWatch> watches;        // by tool number
    int watchedSelection = 0;
    HWND hintWindow = nullptr;
    HWND statisticsWindow = nullptr;
    HFONT font = nullptr;
};

Advice advice;

bool IsPokerTool(const PanelTool &tool)
{
    return tool.window && lstrcmpiA(tool.moduleFile.c_str(), "VideoPoker.dll") == 0;
}

bool ReadGame(const PanelTool &tool, VideoPokerGame *game)
{
    void *block = nullptr;
    LRESULT size = SendMessageA(tool.window, PTM_GETSTATE, 0, reinterpret_cast<LPARAM>(&block));
    return size > 0 && ReadGameBlock(block, static_cast<size_t>(size), game);
}

const AnalysisTables *Tables()
{
    if (!advice.tables && !advice.tablesFailed) {
        advice.tables = CreateAnalysisTables(2);
        advice.tablesFailed = advice.tables == nullptr;
    }
    return advice.tables;
}

std::string WithLineBreaks(const std::string &text)   // what an edit control shows as lines
{
    std::string out;
    for (char c : text) {
        if (c == '\n')
            out += '\r';
        out += c;
    }
    return out;
}

std::string HintTextFor(PanelTool *tool)
{
    if (!tool || !IsPokerTool(*tool))
        return "Select a Video Poker tool: the hint is for the hand it shows.\n";
    VideoPokerGame game;
    if (!ReadGame(*tool, &game))
        return ToolTitle(*tool) + ": its game could not be read.\n";
    const AnalysisTables *tables = Tables();
    if (!tables)
        return "There is not enough memory for the analysis.\n";
    return ToolTitle(*tool) + "\n\n" + HintText(*tables, game);
}

std::string StatisticsTextFor(PanelTool *tool)
{
    if (!tool || !IsPokerTool(*tool))
        return "Select a Video Poker tool to see how its play has gone.\n";
    const AnalysisTables *tables = Tables();
    if (!tables)
        return "There is not enough memory for the analysis.\n";
    if (!advice.haveOptimal) {
        GameAnalysis five, one;
        if (!AnalyzeGame(*tables, 5, 2, five) || !AnalyzeGame(*tables, 1, 2, one))
            return "There is not enough memory for the analysis.\n";
        advice.optimalFiveCoins = five.returnRate;
        advice.optimalFewerCoins = one.returnRate;
        advice.haveOptimal = true;
    }
    const GameWatch &watch = advice.watches[tool->number];
    return StatisticsText(ToolTitle(*tool), watch, SummarizePlay(*tables, watch), advice.optimalFiveCoins,
                          advice.optimalFewerCoins);
}

void ShowText(HWND window, const std::string &text)
{
    HWND edit = GetDlgItem(window, TextId);
    std::string shown = WithLineBreaks(text);
    int length = GetWindowTextLengthA(edit);
    std::string current(static_cast<size_t>(length) + 1, '\0');
    GetWindowTextA(edit, &current[0], length + 1);
    current.resize(static_cast<size_t>(length));
    if (current != shown)      // unchanged text keeps its scroll position
        SetWindowTextA(edit, shown.c_str());
}

void RefreshWindows()
{
    if (advice.hintWindow)
        ShowText(advice.hintWindow, HintTextFor(SelectedTool()));
    if (advice.statisticsWindow)
        ShowText(advice.statisticsWindow, StatisticsTextFor(SelectedTool()));
}

LRESULT CALLBACK AdviceWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CREATE: {
        HWND edit = CreateWindowExA(WS_EX_CLIENTEDGE, "EDIT", "",
                                    WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_HSCROLL | ES_MULTILINE | ES_READONLY |
                                        ES_AUTOVSCROLL | ES_AUTOHSCROLL,
                                    0, 0, 0, 0, window, reinterpret_cast<HMENU>(TextId), host.instance, nullptr);
        if (!edit)
            return -1;
        SendMessageA(edit, WM_SETFONT, reinterpret_cast<WPARAM>(advice.font), FALSE);
        return 0;
    }
    case WM_SIZE:
        MoveWindow(GetDlgItem(window, TextId), 0, 0, LOWORD(lParam), HIWORD(lParam), TRUE);
        return 0;
    case WM_CLOSE:
        DestroyWindow(window);
        return 0;
    case WM_DESTROY:
        if (window == advice.hintWindow)
            advice.hintWindow = nullptr;
        if (window == advice.statisticsWindow)
            advice.statisticsWindow = nullptr;
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

// Opens (or brings back) one of the two windows beside the main window, leaving the focus on the panel
// so the keys still play the tools.
HWND OpenAdviceWindow(HWND *slot, const char *className, const char *title, int offset)
{
    if (*slot) {
        SetWindowPos(*slot, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
        return *slot;
    }
    WNDCLASSA wc = {};
    if (!GetClassInfoA(host.instance, className, &wc)) {
        wc.lpfnWndProc = AdviceWndProc;
        wc.hInstance = host.instance;
        wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
        wc.hbrBackground = GetSysColorBrush(COLOR_WINDOW);
        wc.lpszClassName = className;
        if (!RegisterClassA(&wc))
            return nullptr;
    }
    if (!advice.font)
        advice.font = CreateFontA(-13, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                                  CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, FIXED_PITCH | FF_MODERN, "Courier New");
    // Beside the main window's right edge, as far as the screen allows.
    const int width = 720, height = 460;
    RECT mainRect = {}, work = {0, 0, 1024, 768};
    GetWindowRect(host.mainWindow, &mainRect);
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    int x = mainRect.right - 40 + offset, y = mainRect.top + 40 + offset;
    if (x + width > work.right)
        x = work.right - width;
    if (y + height > work.bottom)
        y = work.bottom - height;
    *slot = CreateWindowExA(WS_EX_TOOLWINDOW, className, title, WS_OVERLAPPEDWINDOW, x < work.left ? work.left : x,
                            y < work.top ? work.top : y, width, height, host.mainWindow, nullptr, host.instance,
                            nullptr);
    if (*slot)
        ShowWindow(*slot, SW_SHOWNOACTIVATE);
    return *slot;
}

} // namespace

void WatchToolGames()
{
    bool changed = host.selected != advice.watchedSelection;
    advice.watchedSelection = host.selected;
    for (auto it = advice.watches.begin(); it != advice.watches.end();) {
        if (ToolByNumber(it->first))
            ++it;
        else
            it = advice.watches.erase(it);   // a later tool may take the number: it starts afresh
    }
    for (const PanelTool &tool : host.tools) {
        VideoPokerGame game;
        if (!IsPokerTool(tool) || !ReadGame(tool, &game))
            continue;
        GameWatch &watch = advice.watches[tool.number];
        if (watch.seen && memcmp(&watch.last, &game, sizeof game) == 0)
            continue;
        ObserveGame(watch, game);
        changed = true;
    }
    if (changed)
        RefreshWindows();
}

bool HandleAdviceCommand(int command)
{
    switch (command) {
    case CmdHint:
        if (OpenAdviceWindow(&advice.hintWindow, QUORVANE_HINT_CLASS, "Hint", 0))
            ShowText(advice.hintWindow, HintTextFor(SelectedTool()));
        return true;
    case CmdStatistics:
        if (OpenAdviceWindow(&advice.statisticsWindow, QUORVANE_STATISTICS_CLASS, "Statistics", 30))
            ShowText(advice.statisticsWindow, StatisticsTextFor(SelectedTool()));
        return true;
    }
    return false;
}

void AppendAdviceMenuItems(HMENU toolMenu)
{
    AppendMenuA(toolMenu, MF_SEPARATOR, 0, nullptr);
    AppendMenuA(toolMenu, MF_STRING, CmdHint, "&Hint for this hand\tCtrl+H");
    AppendMenuA(toolMenu, MF_STRING, CmdStatistics, "S&tatistics\tCtrl+T");
}
