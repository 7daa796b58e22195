// release_check: plays the released host as a user would, from the folder the zip was unpacked into.
//   release_check FOLDER SHOT.png
// Starts FOLDER\quorvane.exe with no arguments, plays one hand with the tool's own buttons and a card
// click, closes it, starts it again and checks that the same tool shows the same credits and cards;
// then writes a PNG of the window. Prints one line per step; exits 0 only if every step held.
#include <windows.h>
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "apps/quorvane/files.h"
#include "apps/quorvane/panel_file.h"
#include "apps/quorvane/store.h"
#include "apps/quorvane/window_png.h"
#include "engine/game.h"
#include "tests/common/host_probe.h"

namespace {

std::string folder;
int failures = 0;

void Check(bool ok, const char *what, const std::string &detail = "")
{
    printf("%s %s%s%s\n", ok ? "ok  " : "FAIL", what, detail.empty() ? "" : ": ", detail.c_str());
    fflush(stdout);
    if (!ok)
        ++failures;
}

// The children of a class, top row first and left to right.
std::vector<HWND> InReadingOrder(HWND parent, const char *className)
{
    std::vector<HWND> found;
    for (HWND child = FindWindowExA(parent, nullptr, className, nullptr); child;
         child = FindWindowExA(parent, child, className, nullptr))
        found.push_back(child);
    std::sort(found.begin(), found.end(), [](HWND a, HWND b) {
        RECT ra, rb;
        GetWindowRect(a, &ra);
        GetWindowRect(b, &rb);
        return ra.top != rb.top ? ra.top < rb.top : ra.left < rb.left;
    });
    return found;
}

// The host as the user started it: double-clicked, so no arguments and its own folder as the current one.
struct Player {
    HostRun run;
    HWND tool = nullptr;
    std::vector<HWND> cards, displays;   // displays: the last hand's line, then wager and credits

    bool Start()
    {
        run.program = folder + "\\quorvane.exe";
        run.workingFolder = folder;
        const DWORD begin = GetTickCount();
        if (!run.Start("", LongWait))
            return false;
        const std::vector<HWND> tools = run.Tools();
        printf("     started and painted in %lu ms, %zu tool(s)\n", GetTickCount() - begin, tools.size());
        if (tools.size() != 1)
            return false;
        tool = tools[0];
        cards = InReadingOrder(tool, "VideoPokerCard");
        displays = InReadingOrder(tool, "VideoPokerDisplay");
        return cards.size() == 5 && displays.size() == 3 && Button(262) && Button(263) && Button(264);
    }
    HWND Button(int id) const { return GetDlgItem(tool, id); }
    bool Painted() const
    {
        for (HWND window : cards)
            if (GetUpdateRect(window, nullptr, FALSE))
                return false;
        return !GetUpdateRect(displays[1], nullptr, FALSE) && !GetUpdateRect(displays[2], nullptr, FALSE);
    }

    // What the saved game decides on screen: the five cards, the wager and the credits. The last
    // hand's line is not part of the game: a restored tool shows its title there.
    std::vector<std::vector<uint8_t>> Shown() const
    {
        std::vector<std::vector<uint8_t>> shown;
        for (HWND card : cards)
            shown.push_back(WindowPng(card));
        shown.push_back(WindowPng(displays[1]));
        shown.push_back(WindowPng(displays[2]));
        return shown;
    }

    // A press and release in the middle of the window, as the mouse gives them.
    static void Click(HWND window)
    {
        RECT r;
        GetClientRect(window, &r);
        const LPARAM middle = MAKELPARAM(r.right / 2, r.bottom / 2);
        PostMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, middle);
        PostMessageA(window, WM_LBUTTONUP, 0, middle);
    }

    bool Close(DWORD *exitCode)
    {
        PostMessageA(run.main, WM_CLOSE, 0, 0);
        return run.WaitExit(LongWait, exitCode);
    }
};

// The store beside the program, read as a snapshot and through SQLite's own check.
SavedPanel SavedFile(bool *clean)
{
    Store store;
    std::string why;
    SavedPanel panel;
    PanelFileReport report;
    *clean = store.Open(folder + "\\Quorvane.qpanel", false, true, &why) == StoreState::Opened &&
             store.ReadPanel(&panel, &report) && report.Clean();
    return panel;
}

// The manifest Windows reads from the program (resource 1, RT_MANIFEST), or empty.
std::string ProgramManifest(const std::string &program)
{
    std::string text;
    HMODULE image = LoadLibraryExA(program.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    HRSRC found = image ? FindResourceA(image, MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(24)) : nullptr;
    HGLOBAL loaded = found ? LoadResource(image, found) : nullptr;
    if (const char *bytes = loaded ? static_cast<const char *>(LockResource(loaded)) : nullptr)
        text.assign(bytes, SizeofResource(image, found));
    if (image)
        FreeLibrary(image);
    return text;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc != 3) {
        fprintf(stderr, "usage: release_check FOLDER SHOT.png\n");
        return 2;
    }
    folder = argv[1];
    Check(!FileExists(folder + "\\Quorvane.qpanel"), "the folder starts without a panel");
    const std::string manifest = ProgramManifest(folder + "\\quorvane.exe");
    int versions = 0;
    for (size_t at = 0; (at = manifest.find("<supportedOS Id=", at)) != std::string::npos; ++at)
        ++versions;
    Check(manifest.find("requestedExecutionLevel level=\"asInvoker\"") != std::string::npos && versions == 5 &&
              manifest.find("WindowsSettings\">true</dpiAware>") != std::string::npos &&
              manifest.find("Common-Controls") == std::string::npos,
          "quorvane.exe's manifest: run as the user, Vista to 11 named, aware of the DPI, the classic controls",
          std::to_string(manifest.size()) + " bytes, " + std::to_string(versions) + " versions");

    Player first;
    Check(first.Start(), "first start: one tool with its cards and buttons");
    if (failures)
        return 1;
    const auto fresh = first.Shown();
    Player::Click(first.Button(263));    // Bet 5: bets and deals
    Check(WaitFor([&] { return WindowText(first.Button(264)) == "Draw"; }, LongWait), "Bet 5 deals a hand");
    // The caption changes before the windows have repainted: look until the screen shows the deal.
    // Any one card may come again where it was (the fresh ten of spades is dealt first now and then),
    // but not all five.
    std::vector<std::vector<uint8_t>> dealt;
    Check(WaitFor([&] {
              dealt = first.Shown();
              const bool newCards = !std::equal(dealt.begin(), dealt.begin() + 5, fresh.begin());
              return newCards && dealt[5] != fresh[5] && dealt[6] != fresh[6];
          }, LongWait),
          "the cards, wager and credits change");
    Player::Click(first.cards[0]);
    Check(WaitFor([&] { return WindowPng(first.cards[0]) != dealt[0]; }, LongWait), "a click holds the first card");
    Player::Click(first.Button(264));
    Check(WaitFor([&] { return WindowText(first.Button(264)) == "Deal"; }, LongWait), "Draw ends the hand");
    // Here too the screen lags the caption, the more the busier the machine, and the windows repaint in no
    // set order: look until the wager is back to none, nothing is left to paint and two looks agree.
    std::vector<std::vector<uint8_t>> shown;
    Check(WaitFor([&] {
              const std::vector<std::vector<uint8_t>> before = shown;
              return (shown = first.Shown())[5] != dealt[5] && first.Painted() && shown == before;
          }, LongWait),
          "the screen shows the draw: no coins on the table");
    DWORD code = 99;
    bool closed = first.Close(&code);
    Check(closed && code == 0, "closing saves and ends the host", "exit " + std::to_string(code));

    bool clean = false;
    SavedPanel saved = SavedFile(&clean);
    bool one = clean && saved.tools.size() == 1 && saved.tools[0].state.size() == sizeof(VideoPokerGame);
    Check(one, "Quorvane.qpanel beside the program holds one tool's 72-byte game");
    if (!one)
        return 1;
    VideoPokerGame game, start;
    memcpy(&game, saved.tools[0].state.data(), sizeof game);
    InitFreshGame(start);
    int32_t won = PayoutFor(EvaluateCards(game.card), MaxWager);
    Check(game.handComplete && game.wager == 0 && game.credits == start.credits - MaxWager + won,
          "the saved game is the hand played: five coins bet, the draw paid",
          std::to_string(game.credits) + " credits, " + std::to_string(won) + " won");

    Player second;
    Check(second.Start(), "second start: the tool is back");
    if (second.tool) {
        // The start waits for the loop, not for the last paint: look until the screen shows the game.
        std::vector<std::vector<uint8_t>> again;
        WaitFor([&] { return (again = second.Shown()) == shown; }, LongWait);
        Check(std::equal(again.begin(), again.begin() + 5, shown.begin()), "the same five cards, pixel for pixel");
        Check(std::equal(again.begin() + 5, again.end(), shown.begin() + 5),
              "the same wager and credits, pixel for pixel");
        Check(WriteWindowPng(second.run.main, argv[2]), "screenshot written", argv[2]);
        closed = second.Close(&code);
        Check(closed && code == 0, "the second run closes", "exit " + std::to_string(code));
        SavedPanel kept = SavedFile(&clean);
        Check(clean && kept.tools.size() == 1 && kept.tools[0].state == saved.tools[0].state,
              "the second run saves the game it was given");
    }
    printf("release: %s\n", failures ? "FAIL" : "PASS");
    return failures ? 1 : 0;
}
