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

#include "apps/quorvane/panel_file.h"
#include "apps/quorvane/png_writer.h"
#include "engine/game.h"

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

template <typename Condition> bool WaitFor(Condition condition, DWORD timeoutMs)
{
    for (DWORD start = GetTickCount(); !condition(); Sleep(20))
        if (GetTickCount() - start > timeoutMs)
            return false;
    return true;
}

std::string Text(HWND window)
{
    char text[256] = {};
    DWORD_PTR result = 0;
    SendMessageTimeoutA(window, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text), SMTO_NORMAL, 10000, &result);
    return text;
}

std::vector<HWND> Children(HWND parent, const char *className)
{
    std::vector<HWND> found;
    for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        char name[64] = {};
        GetClassNameA(child, name, sizeof name);
        if (strcmp(name, className) == 0)
            found.push_back(child);
    }
    return found;
}

// What a window shows on screen, as 32-bit pixels.
std::vector<uint32_t> Pixels(HWND window, int *width, int *height)
{
    RECT r = {};
    GetWindowRect(window, &r);
    *width = r.right - r.left;
    *height = r.bottom - r.top;
    std::vector<uint32_t> pixels(static_cast<size_t>(*width) * *height);
    BITMAPINFO info = {};
    info.bmiHeader = {sizeof info.bmiHeader, *width, -*height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    HDC screen = GetDC(nullptr), memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, *width, *height);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, *width, *height, screen, r.left, r.top, SRCCOPY);
    SelectObject(memory, old);
    GetDIBits(memory, bitmap, 0, *height, pixels.data(), &info, DIB_RGB_COLORS);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return pixels;
}

std::vector<uint32_t> Pixels(HWND window)
{
    int width, height;
    return Pixels(window, &width, &height);
}

// The host as the user started it: double-clicked, so no arguments and its own folder as the current one.
struct Host {
    PROCESS_INFORMATION process = {};
    HWND main = nullptr, tool = nullptr;
    std::vector<HWND> cards, buttons, displays;

    static BOOL CALLBACK FindReadyMain(HWND window, LPARAM self)
    {
        Host *host = reinterpret_cast<Host *>(self);
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        if (owner != host->process.dwProcessId || !GetPropA(window, "QuorvaneReady"))
            return TRUE;
        host->main = window;
        return FALSE;
    }

    bool Start()
    {
        std::string exe = folder + "\\quorvane.exe";
        std::string line = "\"" + exe + "\"";
        STARTUPINFOA startup = {};
        startup.cb = sizeof startup;
        DWORD begin = GetTickCount();
        if (!CreateProcessA(exe.c_str(), &line[0], nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(), &startup,
                            &process))
            return false;
        bool up = WaitFor([&] {
            main = nullptr;
            EnumWindows(FindReadyMain, reinterpret_cast<LPARAM>(this));
            return main || WaitForSingleObject(process.hProcess, 0) == WAIT_OBJECT_0;
        }, 60000);
        DWORD_PTR answer = 0;
        if (!up || !main || !SendMessageTimeoutA(main, WM_NULL, 0, 0, SMTO_NORMAL, 30000, &answer))
            return false;
        HWND panel = FindWindowExA(main, nullptr, "QuorvanePanel", nullptr);
        std::vector<HWND> tools = panel ? Children(panel, "VideoPokerTool") : std::vector<HWND>();
        printf("     started and painted in %lu ms, %zu tool(s)\n", GetTickCount() - begin, tools.size());
        if (tools.size() != 1)
            return false;
        tool = tools[0];
        cards = InReadingOrder(Children(tool, "VideoPokerCard"));
        buttons = {GetDlgItem(tool, 262), GetDlgItem(tool, 263), GetDlgItem(tool, 264)};
        // The last hand's line on top, then the wager on the left and the credits on the right.
        displays = InReadingOrder(Children(tool, "VideoPokerDisplay"));
        return cards.size() == 5 && displays.size() == 3 && buttons[0] && buttons[1] && buttons[2];
    }

    static std::vector<HWND> InReadingOrder(std::vector<HWND> windows)
    {
        std::sort(windows.begin(), windows.end(), [](HWND a, HWND b) {
            RECT ra, rb;
            GetWindowRect(a, &ra);
            GetWindowRect(b, &rb);
            return ra.top != rb.top ? ra.top < rb.top : ra.left < rb.left;
        });
        return windows;
    }

    // What the saved game decides on screen: the five cards, the wager and the credits. The last
    // hand's line is not part of the game: a restored tool shows its title there.
    std::vector<std::vector<uint32_t>> Shown() const
    {
        std::vector<std::vector<uint32_t>> shown;
        for (HWND card : cards)
            shown.push_back(Pixels(card));
        shown.push_back(Pixels(displays[1]));
        shown.push_back(Pixels(displays[2]));
        return shown;
    }

    // A press and release in the middle of the window, as the mouse gives them.
    static void Click(HWND window)
    {
        RECT r;
        GetClientRect(window, &r);
        LPARAM middle = MAKELPARAM(r.right / 2, r.bottom / 2);
        PostMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, middle);
        PostMessageA(window, WM_LBUTTONUP, 0, middle);
    }

    bool Close(DWORD *exitCode)
    {
        PostMessageA(main, WM_CLOSE, 0, 0);
        bool ended = WaitForSingleObject(process.hProcess, 30000) == WAIT_OBJECT_0;
        GetExitCodeProcess(process.hProcess, exitCode);
        if (!ended)
            TerminateProcess(process.hProcess, 99);
        CloseHandle(process.hProcess);
        CloseHandle(process.hThread);
        return ended;
    }
};

SavedPanel SavedFile(bool *clean)
{
    std::string text;
    if (FILE *file = fopen((folder + "\\Quorvane.cfg").c_str(), "rb")) {
        char buffer[4096];
        for (size_t n; (n = fread(buffer, 1, sizeof buffer, file)) > 0;)
            text.append(buffer, n);
        fclose(file);
    }
    PanelFileReport report;
    SavedPanel panel = ParsePanelFile(text.data(), text.size(), &report);
    *clean = !text.empty() && report.Clean() && report.endFound;
    return panel;
}

bool WritePng(HWND window, const char *path)
{
    int width, height;
    std::vector<uint32_t> pixels = Pixels(window, &width, &height);
    std::vector<uint8_t> rgb;
    for (uint32_t p : pixels)
        rgb.insert(rgb.end(), {uint8_t(p >> 16), uint8_t(p >> 8), uint8_t(p)});
    std::vector<uint8_t> png = EncodePng(width, height, rgb.data());
    FILE *file = fopen(path, "wb");
    bool ok = file && fwrite(png.data(), 1, png.size(), file) == png.size();
    return file && fclose(file) == 0 && ok;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc != 3) {
        fprintf(stderr, "usage: release_check FOLDER SHOT.png\n");
        return 2;
    }
    folder = argv[1];
    Check(GetFileAttributesA((folder + "\\Quorvane.cfg").c_str()) == INVALID_FILE_ATTRIBUTES,
          "the folder starts without a panel file");

    Host first;
    Check(first.Start(), "first start: one tool with its cards and buttons");
    if (failures)
        return 1;
    std::vector<std::vector<uint32_t>> fresh = first.Shown();
    Host::Click(first.buttons[1]);    // Bet 5: bets and deals
    Check(WaitFor([&] { return Text(first.buttons[2]) == "Draw"; }, 20000), "Bet 5 deals a hand");
    // The caption changes before the windows have repainted: look until the screen shows the deal.
    // Any one card may come again where it was (the fresh ten of spades is dealt first now and then),
    // but not all five.
    std::vector<std::vector<uint32_t>> dealt;
    Check(WaitFor([&] {
              dealt = first.Shown();
              const bool newCards = !std::equal(dealt.begin(), dealt.begin() + 5, fresh.begin());
              return newCards && dealt[5] != fresh[5] && dealt[6] != fresh[6];
          }, 10000),
          "the cards, wager and credits change");
    Host::Click(first.cards[0]);
    Check(WaitFor([&] { return Pixels(first.cards[0]) != dealt[0]; }, 20000), "a click holds the first card");
    Host::Click(first.buttons[2]);
    Check(WaitFor([&] { return Text(first.buttons[2]) == "Deal"; }, 20000), "Draw ends the hand");
    Sleep(300);
    std::vector<std::vector<uint32_t>> shown = first.Shown();
    DWORD code = 99;
    bool closed = first.Close(&code);
    Check(closed && code == 0, "closing saves and ends the host", "exit " + std::to_string(code));

    bool clean = false;
    SavedPanel saved = SavedFile(&clean);
    bool one = clean && saved.tools.size() == 1 && saved.tools[0].state.size() == sizeof(VideoPokerGame);
    Check(one, "Quorvane.cfg beside the program holds one tool's 72-byte game");
    if (!one)
        return 1;
    VideoPokerGame game, start;
    memcpy(&game, saved.tools[0].state.data(), sizeof game);
    InitFreshGame(start);
    int32_t won = PayoutFor(EvaluateCards(game.card), MaxWager);
    Check(game.handComplete && game.wager == 0 && game.credits == start.credits - MaxWager + won,
          "the saved game is the hand played: five coins bet, the draw paid",
          std::to_string(game.credits) + " credits, " + std::to_string(won) + " won");

    Host second;
    Check(second.Start(), "second start: the tool is back");
    if (second.tool) {
        std::vector<std::vector<uint32_t>> again = second.Shown();
        bool cards = true, displays = true;
        for (int i = 0; i < 5; ++i)
            cards = cards && again[i] == shown[i];
        for (int i = 5; i < 7; ++i)
            displays = displays && again[i] == shown[i];
        Check(cards, "the same five cards, pixel for pixel");
        Check(displays, "the same wager and credits, pixel for pixel");
        Check(WritePng(second.main, argv[2]), "screenshot written", argv[2]);
        closed = second.Close(&code);
        Check(closed && code == 0, "the second run closes", "exit " + std::to_string(code));
        SavedPanel kept = SavedFile(&clean);
        Check(clean && kept.tools.size() == 1 && kept.tools[0].state == saved.tools[0].state,
              "the second run saves the game it was given");
    }
    printf("release: %s\n", failures ? "FAIL" : "PASS");
    return failures ? 1 : 0;
}
