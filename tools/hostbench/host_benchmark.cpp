// host_benchmark: how many mixed actions a second the reference host keeps up with on a full panel, how
// soon it answers a ping posted behind them, and how soon it exits after Close. It starts quorvane.exe
// (beside itself, or another build's with --vs) as a child process and posts what a person's mouse and
// keys would: clicks on buttons and cards, keys, add/remove, move, resize, hint, statistics, properties
// and save. Prints its figures; run it under Wine or on Windows.
#include "apps/quorvane/trainer/trainer_ids.h"
#include "apps/quorvane/quorvane.h"
#include "tools/hostdriver/host_run.h"

#include <windows.h>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

namespace {

struct Options {
    int tools = 64;
    int rate = 200;          // paced actions a second
    int seconds = 10;        // how long the paced run lasts
    int flood = 3000;        // actions posted at once in the throughput run
    int idle = 0;            // seconds of quiet between the paced run and its Close
    int runs = 1;            // each build's, taken in turn
    std::string vs;          // a folder with another build's quorvane.exe, run alternately with this one
    bool play = false;       // --mix play: only play (bets, deals, draws, holds) with the trainer on
    int trips = 0;           // --trips 1: each paced ping's time and round trip, to find where the worst were
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

bool StartHost(const Options &options, const std::string &program, const std::string &config, HostRun &run)
{
    RemovePanel(config);
    run.program = program;
    // Tools at 120 x 70, the size the figures before the 360 x 209 default were taken at, so they compare.
    if (!run.Start("--unattended --config \"" + config + "\" --tool-size 120x70 --tools " + std::to_string(options.tools),
                   60000))
        return false;
    if (options.play)
        run.Command(CmdTrainer);
    return true;
}

// Pings posted to the host's main window behind everything posted before them; the host posts each
// back to our message-only window, so a round trip is the time the host needs to catch up.
struct Pings {
    HWND window = CreateWindowExA(0, "STATIC", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    std::vector<LARGE_INTEGER> sent, answered;     // an answer's time is zero until it comes

    ~Pings() { DestroyWindow(window); }

    size_t Post(const HostRun &run)
    {
        sent.push_back(Now());
        answered.push_back(LARGE_INTEGER{});
        PostMessageA(run.main, QUORVANE_PING, reinterpret_cast<WPARAM>(window), static_cast<LPARAM>(sent.size() - 1));
        return sent.size() - 1;
    }
    void Collect()
    {
        MSG msg;
        while (PeekMessageA(&msg, window, QUORVANE_PING, QUORVANE_PING, PM_REMOVE))
            if (static_cast<size_t>(msg.lParam) < answered.size())
                answered[static_cast<size_t>(msg.lParam)] = Now();
    }
    bool Answered(size_t ping) const { return answered[ping].QuadPart != 0; }
    // Waits until the ping is answered; false if the host has not in timeout seconds.
    bool Wait(size_t ping, double timeout)
    {
        const LARGE_INTEGER start = Now();
        for (Collect(); !Answered(ping); Collect()) {
            if (Seconds(start, Now()) > timeout)
                return false;
            Sleep(1);
        }
        return true;
    }
    // The round trip at quantile q of those answered, in milliseconds; -1 for none.
    double Quantile(double q) const
    {
        std::vector<double> trips;
        for (size_t i = 0; i < sent.size(); ++i)
            if (Answered(i))
                trips.push_back(1000 * Seconds(sent[i], answered[i]));
        if (trips.empty())
            return -1;
        std::sort(trips.begin(), trips.end());
        return trips[static_cast<size_t>(q * static_cast<double>(trips.size() - 1))];
    }
};

// Posts Close and waits for the process to end, answering pings meanwhile; the seconds it took, or -1.
double CloseAndTime(HostRun &run, Pings &pings)
{
    LARGE_INTEGER start = Now();
    PostMessageA(run.main, WM_CLOSE, 0, 0);
    DWORD code = 0;
    while (!run.WaitExit(1, &code)) {
        pings.Collect();
        if (Seconds(start, Now()) > 120)
            return -1;
    }
    pings.Collect();
    return Seconds(start, Now());
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

// One action of the mix, chosen by its share of a hundred. Play alone: the tools' buttons (+1, Bet 5,
// Deal/Draw: hands drawn at every bet from one to five coins) and their cards.
void PostAction(const Options &options, const HostRun &run, const Targets &targets, unsigned roll)
{
    unsigned pick = roll % 100, which = roll / 100;
    if (options.play)
        pick = pick < 60 ? 0 : 40;
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

// What one run of one build measured; -1 where the host did not answer.
struct Figures {
    double untouchedClose = -1, pacedWorked = -1, pingMedian = -1, pingWorst = -1, pacedClose = -1;
    double floodWorked = -1, floodClose = -1;
};

Figures RunOnce(const Options &options, const std::string &program, const std::string &config)
{
    Figures f;
    HostRun idle;
    Pings unused;
    if (!StartHost(options, program, config, idle))
        return f;
    f.untouchedClose = CloseAndTime(idle, unused);

    // Paced: a steady stream, as from a busy person or a driving program, pinged every 100 ms, then
    // (after --idle seconds of quiet) Close.
    HostRun paced;
    Pings pings;
    if (!StartHost(options, program, config, paced))
        return f;
    unsigned seed = 12345;
    const int total = options.rate * options.seconds;
    const LARGE_INTEGER start = Now();
    Targets targets = FindTargets(paced);
    for (int posted = 0; posted < total;) {
        const double at = Seconds(start, Now());
        if (posted % 50 == 0)
            targets = FindTargets(paced);     // tools come and go
        for (const int due = static_cast<int>(at * options.rate); posted < due && posted < total; ++posted)
            PostAction(options, paced, targets, NextRoll(seed));
        if (at * 10 >= static_cast<double>(pings.sent.size()))
            pings.Post(paced);
        pings.Collect();
        Sleep(2);
    }
    const size_t last = pings.Post(paced);    // answered once every action is worked through
    if (options.idle > 0 && pings.Wait(last, 120)) {
        Sleep(static_cast<DWORD>(options.idle) * 1000);
        pings.Wait(pings.Post(paced), 120);
    }
    f.pacedClose = CloseAndTime(paced, pings);
    if (pings.Answered(last))
        f.pacedWorked = total / Seconds(start, pings.answered[last]);
    for (size_t i = 0; options.trips && i < pings.sent.size(); ++i)
        fprintf(stderr, "%s ping at %6.2f s: %6.0f ms\n", program.c_str(), Seconds(start, pings.sent[i]),
                pings.Answered(i) ? 1000 * Seconds(pings.sent[i], pings.answered[i]) : -1.0);
    f.pingMedian = pings.Quantile(0.5);
    f.pingWorst = pings.Quantile(1);

    // Throughput: everything posted at once, a ping behind it, then Close.
    HostRun flood;
    Pings behind;
    if (!StartHost(options, program, config, flood))
        return f;
    targets = FindTargets(flood);
    const LARGE_INTEGER floodStart = Now();
    for (int posted = 0; posted < options.flood; ++posted)
        PostAction(options, flood, targets, NextRoll(seed));
    const size_t done = behind.Post(flood);
    f.floodClose = CloseAndTime(flood, behind);
    if (behind.Answered(done))
        f.floodWorked = options.flood / Seconds(floodStart, behind.answered[done]);
    return f;
}

void PrintFigure(double value, const char *format)
{
    if (value < 0)
        printf("%9s", "-");
    else
        printf(format, value);
}

int Usage()
{
    fputs("usage: host_benchmark [--tools N] [--rate ACTIONS_PER_SECOND] [--seconds S] [--flood ACTIONS]\n"
          "                      [--idle S] [--runs N] [--vs FOLDER_OF_ANOTHER_BUILD] [--mix all|play]\n"
          "                      [--trips 1]\n", stderr);
    return 2;
}

} // namespace

int main(int argc, char **argv)
{
    Options options;
    if (argc % 2 == 0)
        return Usage();
    const std::pair<const char *, int *> numbers[] = {{"--tools", &options.tools}, {"--rate", &options.rate},
        {"--seconds", &options.seconds}, {"--flood", &options.flood}, {"--idle", &options.idle},
        {"--runs", &options.runs}, {"--trips", &options.trips}};
    for (int i = 1; i + 1 < argc; i += 2) {
        std::string name = argv[i], text = argv[i + 1];
        int value = atoi(text.c_str());
        if (name == "--vs") {
            options.vs = text;
            continue;
        }
        if (name == "--mix" && (text == "play" || text == "all")) {
            options.play = text == "play";
            continue;
        }
        auto number = std::find_if(std::begin(numbers), std::end(numbers),
                                   [&](const std::pair<const char *, int *> &n) { return name == n.first; });
        if (number == std::end(numbers) || value < (name == "--idle" || name == "--trips" ? 0 : 1))
            return Usage();
        *number->second = value;
    }
    char temp[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, temp);
    const std::string config = std::string(temp) + "host-benchmark.qpanel";
    std::vector<std::string> builds = {ProgramBeside("quorvane.exe")};
    if (!options.vs.empty())
        builds.push_back(options.vs + "\\quorvane.exe");
    printf("host benchmark: %d tools, %s: %d a second for %d s, then %d s idle and Close; %d posted at once\n"
           "then Close. Seconds from Close to exit; actions a second worked through; ping round trips.\n\n",
           options.tools,
           options.play ? "the trainer on, play alone (bets of 1 to 5 coins, deals, draws, holds)"
                        : "mixed actions (buttons, cards, keys, add/remove, move, resize, hint,\nstatistics, properties, save)",
           options.rate, options.seconds, options.idle, options.flood);
    printf("run build   untouched  paced: actions/s  ping median  ping worst   Close  flood: actions/s   Close\n");
    for (int run = 1; run <= options.runs; ++run)
        for (size_t b = 0; b < builds.size(); ++b) {
            Figures f = RunOnce(options, builds[b], config);
            printf("%3d %-7s", run, b == 0 ? "this" : "vs");
            PrintFigure(f.untouchedClose, "%9.2f s");
            PrintFigure(f.pacedWorked, "%16.0f  ");
            PrintFigure(f.pingMedian, "%8.0f ms");
            PrintFigure(f.pingWorst, "%9.0f ms");
            PrintFigure(f.pacedClose, "%6.2f s");
            PrintFigure(f.floodWorked, "%15.0f  ");
            PrintFigure(f.floodClose, "%8.2f s");
            printf("\n");
            fflush(stdout);
        }
    if (!options.vs.empty())
        printf("vs: %s\n", builds[1].c_str());
    RemovePanel(config);
    return 0;
}
