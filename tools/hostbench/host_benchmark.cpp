// host_benchmark: how many mixed actions a second the reference host keeps up with on a full panel, and
// how soon it exits after Close. It starts quorvane.exe (beside itself) as a child process and posts
// what a person's mouse and keys would: clicks on buttons and cards, keys, add/remove, move, resize,
// hint, statistics, properties and save. Prints its figures; run it under Wine or on Windows.
#include "apps/quorvane/trainer/trainer_ids.h"
#include "apps/quorvane/quorvane.h"
#include "tools/hostdriver/host_run.h"

#include <windows.h>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

struct Options {
    int tools = 64;
    int rate = 200;          // paced actions a second
    int seconds = 10;        // how long the paced run lasts
    int flood = 3000;        // actions posted at once in the throughput run
};

double Seconds(LARGE_INTEGER from, LARGE_INTEGER to)
{
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(to.QuadPart - from.QuadPart) / static_cast<double>(frequency.QuadPart);
}

LARGE_INTEGER Now()
{
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return now;
}

void RemovePanel(const std::string &config)
{
    for (const char *part : {"", "-wal", "-shm"})
        DeleteFileA((config + part).c_str());
}

bool StartHost(const Options &options, const std::string &config, HostRun &run)
{
    RemovePanel(config);
    // Tools at 120 x 70, the size the figures before the 360 x 209 default were taken at, so they compare.
    return run.Start("--unattended --config \"" + config + "\" --tool-size 120x70 --tools " + std::to_string(options.tools),
                     60000);
}

// Posts Close and waits for the process to end; the seconds it took, or -1.
double CloseAndTime(HostRun &run)
{
    LARGE_INTEGER start = Now();
    PostMessageA(run.main, WM_CLOSE, 0, 0);
    DWORD code = 0;
    bool exited = run.WaitExit(120000, &code);
    double seconds = Seconds(start, Now());
    return exited ? seconds : -1;
}

struct Targets {
    std::vector<HWND> buttons, cards;
};

BOOL CALLBACK NoteToolChild(HWND window, LPARAM lParam)
{
    Targets *targets = reinterpret_cast<Targets *>(lParam);
    char name[64] = {};
    GetClassNameA(window, name, sizeof name);
    if (lstrcmpiA(name, "Button") == 0)
        targets->buttons.push_back(window);
    else if (lstrcmpA(name, "VideoPokerCard") == 0)
        targets->cards.push_back(window);
    return TRUE;
}

Targets FindTargets(const HostRun &run)
{
    Targets targets;
    EnumChildWindows(run.panel, NoteToolChild, reinterpret_cast<LPARAM>(&targets));
    return targets;
}

void PostKey(HWND window, WPARAM key)
{
    PostMessageA(window, WM_KEYDOWN, key, 1);
    PostMessageA(window, WM_KEYUP, key, 1u | 0xC0000000u);
}

void PostCommand(const HostRun &run, int command)
{
    PostMessageA(run.main, WM_COMMAND, static_cast<WPARAM>(command), 0);
}

// One action of the mix, chosen by its share of a hundred.
void PostAction(const HostRun &run, const Targets &targets, unsigned roll)
{
    unsigned pick = roll % 100, which = roll / 100;
    if (pick < 30 && !targets.buttons.empty()) {
        PostMessageA(targets.buttons[which % targets.buttons.size()], BM_CLICK, 0, 0);
    } else if (pick < 50 && !targets.cards.empty()) {
        HWND card = targets.cards[which % targets.cards.size()];
        PostMessageA(card, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(4, 4));
        PostMessageA(card, WM_LBUTTONUP, 0, MAKELPARAM(4, 4));
    } else if (pick < 60) {
        static const WPARAM keys[] = {VK_F6, VK_TAB, VK_RETURN};
        PostKey(run.panel, keys[which % 3]);
    } else if (pick < 65) {
        PostKey(run.panel, VK_INSERT);
    } else if (pick < 70) {
        PostKey(run.panel, VK_DELETE);
    } else if (pick < 78) {
        PostCommand(run, CmdMoveLeft + static_cast<int>(which % 4));
    } else if (pick < 85) {
        PostCommand(run, which % 2 ? CmdLarger : CmdSmaller);
    } else if (pick < 90) {
        PostCommand(run, CmdHint);
    } else if (pick < 95) {
        PostCommand(run, CmdStatistics);
    } else if (pick < 98) {
        PostCommand(run, CmdProperties);
    } else {
        PostCommand(run, CmdSaveNow);
    }
}

unsigned NextRoll(unsigned &seed)
{
    seed = seed * 1664525u + 1013904223u;
    return seed >> 8;
}

int Usage()
{
    fputs("usage: host_benchmark [--tools N] [--rate ACTIONS_PER_SECOND] [--seconds S] [--flood ACTIONS]\n", stderr);
    return 2;
}

} // namespace

int main(int argc, char **argv)
{
    Options options;
    for (int i = 1; i + 1 < argc; i += 2) {
        std::string name = argv[i];
        int value = atoi(argv[i + 1]);
        if (value <= 0)
            return Usage();
        if (name == "--tools")
            options.tools = value;
        else if (name == "--rate")
            options.rate = value;
        else if (name == "--seconds")
            options.seconds = value;
        else if (name == "--flood")
            options.flood = value;
        else
            return Usage();
    }
    if (argc % 2 == 0)
        return Usage();
    char temp[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, temp);
    const std::string config = std::string(temp) + "host-benchmark.qpanel";
    printf("host benchmark: %d tools, mixed actions (buttons, cards, keys, add/remove, move, resize, hint,\n"
           "statistics, properties, save)\n", options.tools);

    HostRun idle;
    if (!StartHost(options, config, idle)) {
        fputs("host_benchmark: quorvane.exe did not start\n", stderr);
        return 1;
    }
    printf("  Close to exit, untouched panel:            %6.2f s\n", CloseAndTime(idle));

    // Paced: a steady stream, as from a busy person or a driving program, then Close.
    HostRun paced;
    if (!StartHost(options, config, paced))
        return 1;
    unsigned seed = 12345;
    const int total = options.rate * options.seconds;
    const LARGE_INTEGER start = Now();
    Targets targets = FindTargets(paced);
    for (int posted = 0; posted < total;) {
        const int due = static_cast<int>(Seconds(start, Now()) * options.rate);
        if (posted % 50 == 0)
            targets = FindTargets(paced);     // tools come and go
        for (; posted < due && posted < total; ++posted)
            PostAction(paced, targets, NextRoll(seed));
        Sleep(2);
    }
    printf("  %d actions/s for %d s, then Close to exit:  %6.2f s\n", options.rate, options.seconds,
           CloseAndTime(paced));

    // Throughput: everything posted at once; the time until the host has worked through it and exited.
    HostRun flood;
    if (!StartHost(options, config, flood))
        return 1;
    targets = FindTargets(flood);
    const LARGE_INTEGER floodStart = Now();
    for (int posted = 0; posted < options.flood; ++posted)
        PostAction(flood, targets, NextRoll(seed));
    const double closeSeconds = CloseAndTime(flood);
    const double handled = Seconds(floodStart, Now());
    printf("  %d actions posted at once, then Close:     %6.2f s to exit, %.0f actions/s\n", options.flood,
           handled, closeSeconds > 0 ? options.flood / handled : 0.0);
    RemovePanel(config);
    return 0;
}
