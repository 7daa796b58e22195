// vp-pictures: the README's pictures of VideoPoker.dll (beside the program), written into DIRECTORY:
//   artwork_contact_sheet.png  all 31 card pictures at a large tool's card size and, enlarged pixel by
//                              pixel, at the smallest tool's
//   tool-WxH-fresh/held/won.png  a tool of 120 x 70 and of 300 x 175 as a player sees it: a fresh game,
//                              two queens held, and after a full house is drawn
//   statistics-window.png      the host (quorvane.exe beside the program) on DIRECTORY's
//                              quorvane-demo.cfg, its statistics window after a few hands played
//   mistakes-window.png        and its mistakes window after them
//   vp-pictures DIRECTORY
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "apps/quorvane/canvas.h"
#include "apps/quorvane/files.h"
#include "apps/quorvane/trainer/trainer_ids.h"
#include "apps/quorvane/quorvane.h"
#include "apps/quorvane/window_png.h"
#include "engine/game.h"
#include "host/host_messages.h"
#include "panel/tool.h"
#include "resources/module_instance.h"
#include "resources/resource_ids.h"
#include "tools/hostdriver/host_run.h"

HINSTANCE moduleInstance;
HINSTANCE hostInstance;

namespace {

constexpr COLORREF kFelt = RGB(0x2E, 0x7D, 0x32);
constexpr uint32_t kFeltPixel = 0x2E7D32;   // the same green as a canvas pixel

// The rank, suit and marker places of a card R x B pixels large, as the card window lays them out.
SIZE SlotOf(int id, int R, int B)
{
    int ew = R / 6, fb = B - 5, aw = R - 4 - ew, hh = fb / 2;
    if (id == IDA_HOLD_MARKER)
        return {aw, fb / 5};
    return {aw, id >= IDA_SUIT_FIRST ? hh - 3 : hh - fb / 20};
}

// Ranks black then red in two rows of 13, suits and the marker in the third.
POINT CellOf(int index) { return index < 26 ? POINT{index % 13, index / 13} : POINT{index - 26, 2}; }


bool WriteContactSheet(const std::string &path)
{
    const int cellLarge = 104, cellSmall = 20, zoom = 4;   // cards of a 600 x 350 and a 120 x 70 tool
    const int width = 13 * cellLarge + 16, smallTop = 8 + 3 * cellLarge;
    Canvas sheet(width, smallTop + 3 * cellSmall * zoom + 8, kFeltPixel), tiny(13 * cellSmall, 3 * cellSmall, kFeltPixel);
    bool played = true;
    for (int i = 0; i < IDA_COUNT; ++i) {
        int id = IDA_BLACK_RANK_FIRST + i;
        POINT cell = CellOf(i);
        SIZE large = SlotOf(id, 116, 192), small = SlotOf(id, 24, 38);
        played &= PlayArtworkInto(sheet.dc, id, 8 + cell.x * cellLarge, 8 + cell.y * cellLarge, large.cx, large.cy);
        played &= PlayArtworkInto(tiny.dc, id, cell.x * cellSmall + 2, cell.y * cellSmall + 2, small.cx, small.cy);
    }
    for (int y = 0; y < tiny.height * zoom; ++y)
        for (int x = 0; x < tiny.width * zoom; ++x)
            sheet.bits[(smallTop + y) * width + 8 + x] = tiny.At(x / zoom, y / zoom);
    const std::vector<uint8_t> png = sheet.Png();
    return played && !png.empty() && WriteFileAtomically(path, std::string(png.begin(), png.end()));
}

// ---- Tools, hosted as a panel host would host them ----

LRESULT CALLBACK PanelProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == PTM_PAINTBACKGROUND) {
        const PanelPaintRequest *request = reinterpret_cast<const PanelPaintRequest *>(lParam);
        HBRUSH felt = CreateSolidBrush(kFelt);
        FillRect(request->dc, &request->rect, felt);
        DeleteObject(felt);
        return 0;
    }
    if (message == WM_ERASEBKGND) {
        RECT client;
        GetClientRect(window, &client);
        HBRUSH felt = CreateSolidBrush(kFelt);
        FillRect(reinterpret_cast<HDC>(wParam), &client, felt);
        DeleteObject(felt);
        return 1;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

void Pump()
{
    MSG msg;
    for (int count = 0; count < 20000 && PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE); ++count) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

VideoPokerGame WaitingHand(const Card cards[HandSize], const uint8_t held[HandSize])
{
    VideoPokerGame game;
    std::memset(&game, 0, sizeof game);
    for (int i = 0; i < HandSize; ++i) {
        game.card[i] = cards[i];
        game.held[i] = held[i];
        game.dealt[cards[i]] = 1;
    }
    game.wager = 5;
    game.credits = 95;
    return game;
}

bool WriteToolPictures(const std::string &directory)
{
    auto enumerate = reinterpret_cast<EnumeratePanelTypesProc>(
        reinterpret_cast<void *>(GetProcAddress(moduleInstance, "EnumeratePanelTypes")));
    auto init = reinterpret_cast<InitPanelTypeProc>(
        reinterpret_cast<void *>(GetProcAddress(moduleInstance, "InitVideoPokerToolType")));
    auto create = reinterpret_cast<PanelToolCreateProc>(
        reinterpret_cast<void *>(GetProcAddress(moduleInstance, "VideoPokerToolCreate")));
    char names[3][64];
    PanelTypeInfo *info = nullptr;
    HINSTANCE self = GetModuleHandleA(nullptr);
    if (!enumerate || !init || !create || !enumerate(names[0], names[1], names[2], self, 0) || !init(&info, 0))
        return false;
    WNDCLASSA wc = {};
    wc.lpfnWndProc = PanelProc;
    wc.hInstance = self;
    wc.lpszClassName = "VpPicturesPanel";
    RegisterClassA(&wc);
    HWND panel = CreateWindowExA(WS_EX_TOPMOST, wc.lpszClassName, "", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0,
                                 400, 260, nullptr, nullptr, self, nullptr);
    if (!panel)
        return false;
    // Queens of hearts and spades held; then kings full of fives, all held, to be drawn.
    const Card pair[HandSize] = {36, 5, 49, 14, 34}, fullHouse[HandSize] = {11, 24, 37, 42, 3};
    const uint8_t queensHeld[HandSize] = {1, 0, 1, 0, 0}, allHeld[HandSize] = {1, 1, 1, 1, 1};
    const VideoPokerGame held = WaitingHand(pair, queensHeld), toDraw = WaitingHand(fullHouse, allHeld);
    bool written = true;
    for (SIZE size : {SIZE{120, 70}, SIZE{300, 175}}) {
        const std::string name = directory + "\\tool-" + std::to_string(size.cx) + "x" + std::to_string(size.cy);
        const struct { const char *moment; const VideoPokerGame *block; bool draw; } moments[] = {
            {"fresh", nullptr, false}, {"held", &held, false}, {"won", &toDraw, true}};
        for (const auto &m : moments) {
            RECT place = {10, 10, 10 + size.cx, 10 + size.cy};
            HWND tool = create(panel, &place, m.block, m.block ? sizeof *m.block : 0, 0);
            if (!tool)
                return false;
            SendMessageA(tool, PTM_LAYOUT, 0, 0);
            if (m.draw)
                SendMessageA(GetDlgItem(tool, IDC_DEAL_DRAW), BM_CLICK, 0, 0);
            RedrawWindow(panel, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
            Pump();
            written &= WriteWindowPng(tool, name + "-" + m.moment + ".png");
            DestroyWindow(tool);
            Pump();
        }
    }
    DestroyWindow(panel);
    return written;
}

// ---- The host's statistics, after a few hands played through a tool's own buttons ----

void Press(HWND tool, int button)
{
    DWORD_PTR result = 0;
    SendMessageTimeoutA(GetDlgItem(tool, button), BM_CLICK, 0, 0, SMTO_NORMAL, 10000, &result);
    Sleep(150);
}

bool WriteStatisticsPicture(const std::string &directory)
{
    HostRun run;
    if (!run.Start("--config \"" + directory + "\\quorvane-demo.cfg\" --no-save --unattended"))
        return false;
    const std::vector<HWND> tools = run.Tools();
    bool written = false;
    if (!tools.empty()) {
        HWND tool = tools.back();                     // the selected tool stands on top
        DWORD_PTR result = 0;
        run.Command(CmdStatistics);
        Sleep(1000);                                  // the host watches the tool's game from its next tick
        Press(tool, IDC_DEAL_DRAW);                   // the saved hand, its pair held
        for (int hand = 0; hand < 4; ++hand) {
            Press(tool, IDC_BET_FIVE);                // bets and deals
            HWND card = nullptr;                      // holds one card, as a hurried player might
            for (int i = 0; i <= hand; ++i)
                card = FindWindowExA(tool, card, "VideoPokerCard", nullptr);
            SendMessageTimeoutA(card, WM_LBUTTONUP, 0, 0, SMTO_NORMAL, 10000, &result);
            Press(tool, IDC_DEAL_DRAW);
        }
        // The window follows play once the hands are valued, and its returns once worked out.
        HWND statistics = FindProcessWindow(run.ProcessId(), QUORVANE_STATISTICS_CLASS);
        WaitFor([&] {
            const std::string text = WindowText(GetDlgItem(statistics, 100));
            return text.find("Hands played: 5") != std::string::npos && text.find("% with 5 coins") != std::string::npos;
        }, LongWait);
        if (statistics) {
            SetWindowPos(statistics, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
            Sleep(500);
            written = WriteWindowPng(statistics, directory + "\\statistics-window.png");
        }
        run.Command(CmdMistakes);                     // the holds those hands gave up, by kind
        HWND mistakes = FindProcessWindow(run.ProcessId(), QUORVANE_MISTAKES_CLASS);
        WaitFor([&] { return WindowText(GetDlgItem(mistakes, 100)).find(" instead of ") != std::string::npos; }, LongWait);
        if (written && mistakes) {
            SetWindowPos(mistakes, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
            Sleep(500);
            written = WriteWindowPng(mistakes, directory + "\\mistakes-window.png");
        }
    }
    PostMessageA(run.main, WM_CLOSE, 0, 0);
    DWORD code = 0;
    if (!run.WaitExit(10000, &code))
        run.Kill();
    return written;
}

}  // namespace

int main(int argc, char **argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: vp-pictures DIRECTORY\n");
        return 2;
    }
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string beside(path);
    beside = beside.substr(0, beside.find_last_of("\\/") + 1) + "VideoPoker.dll";
    moduleInstance = LoadLibraryA(beside.c_str());
    if (!moduleInstance) {
        std::fprintf(stderr, "vp-pictures: cannot load %s\n", beside.c_str());
        return 1;
    }
    const std::string directory = argv[1];
    if (!WriteContactSheet(directory + "\\artwork_contact_sheet.png")) {
        std::fprintf(stderr, "vp-pictures: the contact sheet could not be made\n");
        return 1;
    }
    if (!WriteToolPictures(directory)) {
        std::fprintf(stderr, "vp-pictures: the tool pictures could not be made\n");
        return 1;
    }
    if (!WriteStatisticsPicture(directory)) {
        std::fprintf(stderr, "vp-pictures: the host's statistics could not be pictured\n");
        return 1;
    }
    return 0;
}
