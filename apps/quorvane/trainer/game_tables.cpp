// game_tables.cpp: the Video Poker tools' games and the tables holds are valued by (see game_tables.h).
#include "apps/quorvane/trainer/game_tables.h"
#include "apps/quorvane/trainer/advice.h"
#include "apps/quorvane/trainer/hints.h"
#include "apps/quorvane/trainer/analysis_worker.h"
#include "host/video_poker.h"

#include <cstdlib>

namespace {

const char DealingSetting[] = "dealing";   // "even" while holds are valued by an even deck

// Never destroyed: the host exits without waiting for the step under way.
AnalysisWorker *worker = nullptr;
unsigned plannedBets = 1u << MaxWager;

AnalysisPlan Plan()
{
    AnalysisPlan plan;
    plan.machine = MachineDealing();
    plan.betSizes = plannedBets;
    return plan;
}

} // namespace

bool IsPokerTool(const PanelToolView &tool)
{
    return tool.window && tool.typeName == VIDEO_POKER_TYPE_NAME;
}

bool ReadPokerGame(const PanelToolView &tool, VideoPokerGame *game)
{
    if (!IsPokerTool(tool))
        return false;
    std::vector<uint8_t> block = ToolBlock(tool);
    return ReadGameBlock(block.data(), block.size(), game);
}

bool MachineDealing()
{
    return PanelSetting(DealingSetting).empty();
}

void SwitchDealing()
{
    SetPanelSetting(DealingSetting, MachineDealing() ? "even" : "");
    if (worker)
        worker->SetPlan(Plan());
}

AnalysisWorker &Analysis()
{
    if (!worker) {
        HWND notify = AnalysisNotices();
        worker = new AnalysisWorker(Plan(), [notify] { PostMessageA(notify, AnalysisNews, 0, 0); },
                                    getenv("QUORVANE_HOLD_ANALYSIS") != nullptr);
    }
    return *worker;
}

void PlanAnalysis(unsigned betSizes)
{
    if (betSizes != plannedBets && worker) {
        plannedBets = betSizes;
        worker->SetPlan(Plan());
    }
}

bool ValuesFor(int coins, const AnalysisTables **tables, const WeightedTables **machine)
{
    *tables = Analysis().Tables();
    *machine = nullptr;
    if (!*tables)
        return false;
    if (!MachineDealing() || coins < 1 || coins > MaxWager || Analysis().Failed(true))
        return true;
    *machine = Analysis().Machine(coins);
    return *machine != nullptr;
}

std::string WorkingOutText()
{
    const bool machine = MachineDealing();
    if (Analysis().Failed(machine))
        return "There is not enough memory for the analysis.\n";
    return FormatText("The values for %s are being worked out (%d%%): they will show here.\n",
                      machine ? "this machine's dealing" : "an even deck", Analysis().PercentDone(machine));
}
