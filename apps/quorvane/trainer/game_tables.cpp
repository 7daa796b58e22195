// game_tables.cpp: the Video Poker tools' games and the tables holds are valued by (see game_tables.h).
#include "apps/quorvane/trainer/game_tables.h"
#include "apps/quorvane/trainer/advice.h"
#include "analysis/analysis.h"
#include "analysis/weighted_analysis.h"
#include "host/video_poker.h"

namespace {

const char DealingSetting[] = "dealing";   // "even" while holds are valued by an even deck

AnalysisTables *analysisTables = nullptr;         // built at the first question: about 3.5 MB
bool tablesFailed = false;
WeightedTables *machineTables[MaxWager + 1] = {};   // by coins: built at the first question for them
bool machineTablesFailed = false;

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

const AnalysisTables *AdviceTables()
{
    if (!analysisTables && !tablesFailed) {
        analysisTables = CreateAnalysisTables(2);
        tablesFailed = analysisTables == nullptr;
    }
    return analysisTables;
}

const WeightedTables *AdviceDealing(int coins)
{
    if (!PanelSetting(DealingSetting).empty() || coins < 1 || coins > MaxWager || machineTablesFailed)
        return nullptr;
    if (!machineTables[coins]) {
        uint32_t weight[DeckSize];
        MachineCardWeights(weight);
        machineTables[coins] = CreateWeightedTables(weight, coins, 2);
        machineTablesFailed = machineTables[coins] == nullptr;
    }
    return machineTables[coins];
}

void SwitchDealing()
{
    SetPanelSetting(DealingSetting, PanelSetting(DealingSetting).empty() ? "even" : "");
}
