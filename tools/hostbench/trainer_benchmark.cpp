// trainer_benchmark: how soon the trainer's windows answer the first time after a start, on a panel whose
// trainer remembers a long play (2,000 hands, 500 mistakes): the milliseconds from each window's key to
// the window shown, from the start to its full text, and from the start until the analysis worker has
// built everything (its last piece, this machine's chart, shown). Under both dealings. It starts
// quorvane.exe (beside itself) as a child process; run it under Wine or on Windows.
#include "apps/quorvane/command_ids.h"
#include "apps/quorvane/panel_store.h"
#include "apps/quorvane/trainer/memory_store.h"
#include "apps/quorvane/trainer/trainer_ids.h"
#include "analysis/cards.h"
#include "engine/game.h"
#include "tools/hostdriver/host_run.h"

#include <windows.h>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

double MsSince(LARGE_INTEGER from)
{
    LARGE_INTEGER now, frequency;
    QueryPerformanceCounter(&now);
    QueryPerformanceFrequency(&frequency);
    return 1000.0 * static_cast<double>(now.QuadPart - from.QuadPart) / static_cast<double>(frequency.QuadPart);
}

LARGE_INTEGER Now()
{
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return now;
}

// Random hands, as a long play would have left them: every tool's lifetime, the hands and the mistakes.
TrainerMemory LongPlay()
{
    TrainerMemory memory;
    uint32_t seed = 12345;
    auto next = [&seed](uint32_t below) { return ((seed = seed * 1103515245 + 12345) >> 8 & 0xFFFFFF) % below; };
    for (size_t hand = 0; hand < MaxHandPoints; ++hand) {
        JudgedHand judged;
        judged.hand.wager = 1 + static_cast<int32_t>(next(MaxWager));
        judged.hand.paid = next(4) == 0 ? judged.hand.wager * static_cast<int32_t>(1 + next(4)) : 0;
        for (int i = 0; i < HandSize; ++i) {
            Card card;
            do
                card = static_cast<Card>(next(DeckSize));
            while (std::find(judged.hand.cards, judged.hand.cards + i, card) != judged.hand.cards + i);
            judged.hand.cards[i] = card;
        }
        judged.hand.heldMask = static_cast<uint8_t>(next(32));
        judged.analysed = true;
        judged.isMistake = hand % 4 == 0;      // 500 of the 2,000
        judged.bestMask = static_cast<uint8_t>(judged.isMistake ? (judged.hand.heldMask ^ 1) : judged.hand.heldMask);
        judged.bestWorth = 0.1 * judged.hand.wager * (1 + next(50));
        judged.yourWorth = judged.bestWorth - (judged.isMistake ? 0.01 * (1 + next(80)) : 0);
        judged.evenDeck = next(3) == 0;
        Remember(memory, 1 + static_cast<int>(hand % 4), judged);
    }
    return memory;
}

// Four Video Poker tools, the top one (selected at start) waiting for the draw on five coins.
bool WritePanelWithLongPlay(const std::string &path, bool evenDeck, const TrainerMemory &memory)
{
    for (const char *part : {"", "-wal", "-shm"})
        DeleteFileA((path + part).c_str());
    SavedPanel panel;
    panel.settings["trainer"] = "1";
    if (evenDeck)
        panel.settings["dealing"] = "even";
    for (int i = 0; i < 4; ++i) {
        VideoPokerGame game;
        InitFreshGame(game);
        if (i == 3) {
            const char *const dealt[HandSize] = {"AS", "KS", "QS", "JS", "2D"};   // four to a royal and a two
            for (int c = 0; c < HandSize; ++c)
                game.dealt[game.card[c] = static_cast<Card>(ParseCard(dealt[c]))] = 1;
            game.wager = 5;
            game.handComplete = 0;
            game.credits -= 5;
        }
        const uint8_t *bytes = reinterpret_cast<const uint8_t *>(&game);
        panel.tools.push_back(SavedTool{"VideoPoker.dll", "Video Poker", 20 + 380 * (i % 2), 40 + 230 * (i / 2), 360,
                                        209, std::vector<uint8_t>(bytes, bytes + sizeof game), i + 1});
    }
    panel.nextNumber = 5;
    Store store;
    std::string why;
    return store.Open(path, true, false, &why) == StoreState::Created && MakeTrainerTables(store, &why) &&
           store.Begin() && store.WritePanel(panel) && WriteWholeMemory(store, memory) && store.Commit();
}

// The text a window of the host shows.
std::string TextOf(const HostRun &run, const char *className)
{
    return WindowText(GetDlgItem(FindProcessWindow(run.ProcessId(), className), 100));
}

struct Window {
    const char *name;
    int command;
    const char *className;
    const char *full;         // in its text once the figures it waits for are there
};

const Window Windows[] = {
    {"hint", CmdHint, QUORVANE_HINT_CLASS, "Best: hold"},
    {"statistics", CmdStatistics, QUORVANE_STATISTICS_CLASS, "% with 5 coins bet"},
    {"mistakes", CmdMistakes, QUORVANE_MISTAKES_CLASS, "\" instead of "},
    {"chart", CmdChart, QUORVANE_CHART_CLASS, "Lines that differ"},
};

} // namespace

int main(int argc, char **argv)
{
    const int runs = argc > 1 ? std::max(1, atoi(argv[1])) : 3;
    const std::string path = ProgramBeside("trainer-benchmark.qpanel");
    const TrainerMemory memory = LongPlay();
    printf("A panel of 4 Video Poker tools whose trainer remembers %zu hands and %zu mistakes; %d starts each.\n"
           "Milliseconds: from the key to the window shown; from the start (the process launched) to the host's\n"
           "loop running, to the window's full text, and to everything the worker builds at start.\n\n",
           memory.hands.size(), memory.mistakes.size(), runs);
    printf("%-13s %-11s %8s %8s %10s %12s\n", "dealing", "window", "ready", "shown", "full text", "all built");
    for (bool evenDeck : {false, true}) {
        for (const Window &window : Windows) {
            for (int run = 0; run < runs; ++run) {
                if (!WritePanelWithLongPlay(path, evenDeck, memory)) {
                    fprintf(stderr, "could not write %s\n", path.c_str());
                    return 1;
                }
                HostRun host;
                const LARGE_INTEGER launched = Now();
                if (!host.Start("--unattended --no-save --config \"" + path + "\"")) {
                    fprintf(stderr, "the host did not start\n");
                    return 1;
                }
                const double ready = MsSince(launched);
                const LARGE_INTEGER key = Now();
                host.Command(window.command);   // sent: back once the window is made and shows its text
                const double shown = MsSince(key);
                double full = -1, all = -1;
                WaitFor([&] {
                    if (full < 0 && TextOf(host, window.className).find(window.full) != std::string::npos)
                        full = MsSince(launched);
                    return full >= 0;
                }, LongWait);
                // The chart comes last: its window, opened now, has its full text once the worker is done.
                if (window.command != CmdChart)
                    host.Command(CmdChart);
                WaitFor([&] {
                    if (TextOf(host, QUORVANE_CHART_CLASS).find("Lines that differ") != std::string::npos)
                        all = MsSince(launched);
                    return all >= 0;
                }, LongWait);
                printf("%-13s %-11s %8.0f %8.1f %10.0f %12.0f\n", evenDeck ? "even deck" : "this machine",
                       window.name, ready, shown, full, all);
                fflush(stdout);
                host.Command(CmdExit);
                DWORD code = 0;
                host.WaitExit(LongWait, &code);
            }
        }
    }
    for (const char *part : {"", "-wal", "-shm"})
        DeleteFileA((path + part).c_str());
    return 0;
}
